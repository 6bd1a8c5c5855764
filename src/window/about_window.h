// The information window opened by "About": the program's name, its version,
// what it does and how to use it (menus, keys, mouse gestures, the
// command-line tools), and a button that closes it. It is as large as its
// text, opens centred on the main window, closes with Escape, and does not
// block the main window.
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

  // Shows the window centred on `main`'s frame (on the screen when null).
  void ShowOver(const QWidget* main);

  static QString ProgramName();
  static QString VersionText();  // "Version " followed by QUILANE_VERSION
  static QString Description();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_ABOUT_WINDOW_H_
