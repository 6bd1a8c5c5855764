#include "window/first_paint_exit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>
#include <array>
#include <charconv>
#include <chrono>
#include <string>

namespace quilane {
namespace {

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// "name value\n", the value in plain digits.
std::string ReportLine(const char* name, long long value) {
  std::array<char, 24> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  return std::string(name) + " " + std::string(digits.data(), end) + "\n";
}

}  // namespace

bool QuitAfterFirstPaintRequested() {
  return qEnvironmentVariable(kQuitAfterFirstPaintVariable) == QLatin1String("1");
}

FirstPaintExit::FirstPaintExit(const QWidget* window, std::FILE* report)
    : window_(window), report_(report) {
  QCoreApplication::instance()->installEventFilter(this);
}

FirstPaintExit::~FirstPaintExit() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool FirstPaintExit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && first_paint_ns_ == 0) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget != nullptr && widget->window() == window_) {
      first_paint_ns_ = NowNs();
      // Queued: runs once the event loop is back, the frame being complete.
      QTimer::singleShot(0, this, &FirstPaintExit::Finish);
    }
  }
  return QObject::eventFilter(watched, event);
}

void FirstPaintExit::Finish() {
  painted_ns_ = NowNs();
  const std::string report =
      ReportLine("first_paint_ns", first_paint_ns_) + ReportLine("painted_ns", painted_ns_);
  std::fwrite(report.data(), 1, report.size(), report_);
  std::fflush(report_);
  QCoreApplication::quit();
}

}  // namespace quilane
