// QuilaneConfMap: the window program. The workspace lives here, for as long
// as the program runs, and is handed to the one window.
#include <QApplication>
#include <memory>

#include "window/form_quilane.h"
#include "window/message_service.h"
#include "workspace/airfoil_workspace.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("QuilaneConfMap");
  QApplication::setApplicationDisplayName("QuilaneConfMap");
  QApplication::setApplicationVersion(QUILANE_VERSION);

  // The workspace is large (arrays of 1001 points): keep it off the stack.
  auto workspace = std::make_unique<quilane::AirfoilWorkspace>();
  quilane::BoxMessageService messages;
  quilane::FormQuilane form(*workspace, messages);
  messages.SetParent(&form);
  form.show();
  return QApplication::exec();
}
