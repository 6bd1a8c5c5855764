// Timing the start of the window program: with the environment variable
// QUILANE_QUIT_AFTER_FIRST_PAINT set to 1 the program ends itself as soon as
// its window has been painted for the first time, and says when that was, so
// that a script can time the real program from its start to its first frame.
#ifndef QUILANE_WINDOW_FIRST_PAINT_EXIT_H_
#define QUILANE_WINDOW_FIRST_PAINT_EXIT_H_

#include <QObject>
#include <cstdio>

class QEvent;
class QWidget;

namespace quilane {

// Name of the environment variable that asks for FirstPaintExit.
inline constexpr char kQuitAfterFirstPaintVariable[] = "QUILANE_QUIT_AFTER_FIRST_PAINT";

// True when QUILANE_QUIT_AFTER_FIRST_PAINT holds exactly "1".
bool QuitAfterFirstPaintRequested();

// Watches the application's events from construction on. When the first
// paint event of `window` or of any widget in it arrives, notes the wall
// clock; when the event loop next comes round (that frame complete), notes it
// again, writes "first_paint_ns T1\npainted_ns T2\n" to `report` (T1 and T2
// in nanoseconds since 1970-01-01 UTC, the system clock) and quits the
// application. Paints of other windows are not counted. Acts once. `window`
// and `report` must outlive the watcher; the application must exist.
class FirstPaintExit : public QObject {
 public:
  FirstPaintExit(const QWidget* window, std::FILE* report);
  ~FirstPaintExit() override;

  // The two times, 0 until they are taken.
  long long first_paint_ns() const { return first_paint_ns_; }
  long long painted_ns() const { return painted_ns_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Finish();

  const QWidget* window_;
  std::FILE* report_;
  long long first_paint_ns_ = 0;
  long long painted_ns_ = 0;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_FIRST_PAINT_EXIT_H_
