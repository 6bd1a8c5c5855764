#include "window/committed_scroll_bar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QSignalBlocker>

namespace quilane {

CommittedScrollBar::CommittedScrollBar(Qt::Orientation orientation, int minimum, int maximum,
                                       int value, QWidget* parent)
    : QScrollBar(orientation, parent) {
  setRange(minimum, maximum);
  setSingleStep(kArrowStep);
  setPageStep(kTroughStep);
  setValue(value);
  // With tracking off a dragged thumb moves sliderPosition only; value, and
  // with it valueChanged, follows on release. setValue() emits valueChanged
  // directly (never queued) and only for a value that differs.
  setTracking(false);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractSlider::valueChanged, this, &CommittedScrollBar::Committed,
          Qt::DirectConnection);
}

void CommittedScrollBar::ShowValue(int value) {
  const QSignalBlocker quiet(this);
  setValue(value);
}

void CommittedScrollBar::keyPressEvent(QKeyEvent* event) {
  SliderAction action = SliderNoAction;
  switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
      action = SliderSingleStepAdd;
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      action = SliderSingleStepSub;
      break;
    case Qt::Key_PageDown:
      action = SliderPageStepAdd;
      break;
    case Qt::Key_PageUp:
      action = SliderPageStepSub;
      break;
    case Qt::Key_Home:
      action = SliderToMinimum;
      break;
    case Qt::Key_End:
      action = SliderToMaximum;
      break;
    default:
      QScrollBar::keyPressEvent(event);
      return;
  }
  triggerAction(action);
  event->accept();
}

void CommittedScrollBar::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  if (!hasFocus()) return;
  // Most styles draw no focus on a scroll bar; a frame in the highlight
  // colour shows where the arrow keys go.
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusFrameWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

}  // namespace quilane
