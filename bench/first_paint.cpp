// quilane_first_paint: the window program's start-up as QuilaneConfMap's
// main does it (application, workspace, message service, Form_Quilane,
// show, event loop), ending the process once the window has been painted.
// Prints the wall-clock time (CLOCK_REALTIME, nanoseconds since the epoch)
// at which the window's first paint event arrived ("first_paint_ns") and at
// which the event loop came back after that paint, the frame being complete
// ("painted_ns"), so that a script that noted the time before starting the
// process gets the time from process start to the first painted window
// (bench/startup.py).
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <memory>

#include "window/form_quilane.h"
#include "window/message_service.h"
#include "workspace/airfoil_workspace.h"

namespace {

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Notes the first paint event of any widget of the window, then lets the
// event loop finish that frame and quits.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget* window) : window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && first_paint_ns_ == 0) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget != nullptr && widget->window() == window_) {
        first_paint_ns_ = NowNs();
        QTimer::singleShot(0, [this] {
          std::printf("first_paint_ns %lld\npainted_ns %lld\n", first_paint_ns_, NowNs());
          std::fflush(stdout);
          QApplication::quit();
        });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  long long first_paint_ns_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("QuilaneConfMap");
  QApplication::setApplicationDisplayName("QuilaneConfMap");
  QApplication::setApplicationVersion(QUILANE_VERSION);

  auto workspace = std::make_unique<quilane::AirfoilWorkspace>();
  quilane::BoxMessageService messages;
  quilane::FormQuilane form(*workspace, messages);
  messages.SetParent(&form);
  FirstPaint watcher(&form);
  app.installEventFilter(&watcher);
  form.show();
  return QApplication::exec();
}
