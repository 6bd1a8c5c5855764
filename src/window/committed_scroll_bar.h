// A scroll bar whose change handling runs only when a value is committed: an
// arrow click (1 step), a trough click (5 steps), a key press, the release of
// a dragged thumb, or a value set by the program. Dragging alone commits
// nothing, so a plot tied to the bar is not redrawn until the thumb is let go.
#ifndef QUILANE_WINDOW_COMMITTED_SCROLL_BAR_H_
#define QUILANE_WINDOW_COMMITTED_SCROLL_BAR_H_

#include <QScrollBar>

namespace quilane {

class CommittedScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  // Arrow step 1, trough step 5, tracking off, reachable by the Tab key.
  // `value` is set before any handler can be connected, so it commits nothing.
  CommittedScrollBar(Qt::Orientation orientation, int minimum, int maximum, int value,
                     QWidget* parent = nullptr);

  // Moves the thumb to `value` without committing it: no change handling
  // runs. For a view set elsewhere that the bar only shows.
  void ShowValue(int value);

  static constexpr int kArrowStep = 1;
  static constexpr int kTroughStep = 5;
  static constexpr int kFocusFrameWidth = 2;  // pixels

 protected:
  // Keys move the thumb the way they point: Right and Down add an arrow step,
  // Left and Up take one; Page Down adds a trough step, Page Up takes one;
  // Home and End go to the ends.
  void keyPressEvent(QKeyEvent* event) override;
  // With the focus, the bar is framed in the highlight colour.
  void paintEvent(QPaintEvent* event) override;

 signals:
  // Emitted once for each committed value that differs from the previous one,
  // synchronously: a setValue() from the program returns only after every
  // handler connected here has run. Setting the current value emits nothing.
  void Committed(int value);
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_COMMITTED_SCROLL_BAR_H_
