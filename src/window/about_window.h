// The information window opened by "About": the program's name, its version,
// a paragraph on what it does and how to use it, and a button that closes it.
// It does not block the main window.
#ifndef QUILANE_WINDOW_ABOUT_WINDOW_H_
#define QUILANE_WINDOW_ABOUT_WINDOW_H_

#include <QString>
#include <QWidget>

namespace quilane {

class AboutWindow : public QWidget {
  Q_OBJECT

 public:
  // A top-level window of its own, kept above `parent` and closed with it.
  explicit AboutWindow(QWidget* parent = nullptr);

  static QString ProgramName();
  static QString VersionText();  // "Version " followed by QUILANE_VERSION
  static QString Description();
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_ABOUT_WINDOW_H_
