// QuilaneConfMap: the window program, one window holding the program's state
// for as long as it runs. With the environment
// variable QUILANE_QUIT_AFTER_FIRST_PAINT=1 the program ends after its first
// painted frame and prints when that was (for timing its start).
#include <QApplication>
#include <cstdio>
#include <memory>

#include "window/first_paint_exit.h"
#include "window/form_quilane.h"
#include "window/message_service.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The name only: with a display name set, Qt appends it to every window
  // title on X11, and the caption must read exactly as the window sets it.
  // Message boxes still take the name as their title.
  QApplication::setApplicationName("QuilaneConfMap");
  QApplication::setApplicationVersion(QUILANE_VERSION);
  // The desktop entry the window belongs to, for its icon in the task bar.
  QGuiApplication::setDesktopFileName("quilaneconfmap");

  quilane::BoxMessageService messages;
  quilane::FormQuilane form(messages);
  messages.SetParent(&form);
  std::unique_ptr<quilane::FirstPaintExit> first_paint_exit;
  if (quilane::QuitAfterFirstPaintRequested()) {
    first_paint_exit = std::make_unique<quilane::FirstPaintExit>(&form, stdout);
  }
  form.show();
  return QApplication::exec();
}
