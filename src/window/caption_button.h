// A push button whose caption wraps onto further lines at word boundaries
// when it is wider than the button, as a tall button such as "Print new file
// name and click" needs. text() keeps the caption unchanged.
#ifndef QUILANE_WINDOW_CAPTION_BUTTON_H_
#define QUILANE_WINDOW_CAPTION_BUTTON_H_

#include <QPushButton>
#include <QString>

namespace quilane {

class CaptionButton : public QPushButton {
  Q_OBJECT

 public:
  CaptionButton(const QString& caption, QWidget* parent = nullptr);

  // Smallest size that shows the caption on one line (the style's bevel and
  // margins included).
  QSize sizeHint() const override;
  // Height the caption needs, wrapped to the button's present width, plus
  // the bevel and margins.
  int WrappedHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_CAPTION_BUTTON_H_
