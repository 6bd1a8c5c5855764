// The line of the window's status bar. It never widens the window: a line
// longer than the bar ends in "…" at a whole character, and the whole line is
// the tooltip.
#ifndef QUILANE_WINDOW_STATUS_LINE_H_
#define QUILANE_WINDOW_STATUS_LINE_H_

#include <QLabel>
#include <QString>

namespace quilane {

class StatusLine : public QLabel {
  Q_OBJECT

 public:
  explicit StatusLine(QWidget* parent = nullptr);

  void SetLine(const QString& line);
  // The whole line, as set.
  QString Line() const { return line_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString line_;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_STATUS_LINE_H_
