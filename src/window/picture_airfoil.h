// The drawing surface of the main window. Everything is drawn into a retained
// back buffer, so the picture survives being covered, resized or repainted
// and stays until the next Cls. The surface also passes on the mouse
// gestures over it (wheel notches, drags with the left button), which the
// window turns into scroll-bar values.
#ifndef QUILANE_WINDOW_PICTURE_AIRFOIL_H_
#define QUILANE_WINDOW_PICTURE_AIRFOIL_H_

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <QWidget>

#include "window/painted_surface.h"

namespace quilane {

class PictureAirfoil : public QWidget, public PaintedSurface {
  Q_OBJECT

 public:
  // `background` fills the surface at start and after every Cls. Until the
  // first Scale, user coordinates are pixels with the origin at the top left.
  // Pen: one pixel, solid, antialiased.
  explicit PictureAirfoil(QColor background, QWidget* parent = nullptr);

  // Cls, Scale, Line, Circle and ToPixels as PaintedSurface states, on the
  // widget's size in pixels. Outside a batch every call paints with a
  // painter of its own and asks for a repaint; within a batch (Show_Airfoil
  // draws one) the calls share one painter on the back buffer, closed when
  // the batch ends, and the repaint is asked for once, then.

  // The back buffer: what the surface shows.
  const QImage& Picture() const;
  QColor Background() const { return background_; }

  // Wheel movement that makes one notch (a standard mouse wheel's click).
  static constexpr int kWheelNotch = 120;

 signals:
  // The wheel turned by `notches` whole notches over the surface, positive
  // when turned up (away from the person). Movements of less than a notch,
  // as touch pads give them, are added up until they make one, as long as
  // the pointer stays over the surface and the wheel keeps its direction.
  // `at` is the pointer's position in the surface's pixels.
  void WheelTurned(int notches, QPointF at);
  // During a drag, the pointer moved by `step` pixels since the last report
  // (x to the right, y downwards).
  void Dragged(QPointF step);

 protected:
  QSizeF SurfaceSize() const override;
  void Clear() override;
  void Paint(const std::function<void(QPainter&)>& paint) override;
  void BatchEnded() override;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A focus frame shows when the surface has the keyboard focus.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Gives the back buffer the widget's size, keeping what is drawn; a hidden
  // widget gets its resize event only when shown. Closes the batch's
  // painter first if the buffer must be replaced.
  void FitBuffer() const;
  // Closes the painter on the back buffer if it is open.
  void EndPainting() const;
  // Asks for a repaint now, or at the end of the batch.
  void ShowChange();

  QColor background_;
  mutable QImage buffer_;
  // The painter on buffer_ while a batch draws; declared after buffer_ so
  // that it is closed before the image goes.
  mutable QPainter painter_;
  bool change_pending_ = false;  // drawn within the batch, repaint not yet asked for
  int wheel_remainder_ = 0;  // wheel movement short of a whole notch
  bool dragging_ = false;
  QPointF drag_last_;  // pointer position at the last report of a drag
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_PICTURE_AIRFOIL_H_
