#include "window/painted_surface.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace quilane {
namespace {

// Segments and circles are kept to the surface plus this margin in pixels, so
// that a one-pixel line on the very edge is still drawn whole.
constexpr double kClipMargin = 2.0;

QPen SolidPen(PlotColour colour, double width) {
  QPen pen(QColor(colour.red, colour.green, colour.blue));
  pen.setWidthF(width);  // 0: cosmetic, one device pixel
  return pen;
}

// Cuts the segment (x0, y0)-(x1, y1) to the box; false when nothing of it
// lies inside. Liang-Barsky parametric clipping.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double xmin, double xmax,
                 double ymin, double ymax) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - xmin, xmax - x0, y0 - ymin, ymax - y0};
  double t0 = 0.0;
  double t1 = 1.0;
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double r = q[k] / p[k];
    if (p[k] < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  const double sx = x0;
  const double sy = y0;
  x0 = sx + t0 * dx;
  y0 = sy + t0 * dy;
  x1 = sx + t1 * dx;
  y1 = sy + t1 * dy;
  return true;
}

bool IsFinite(const QPointF& point) { return std::isfinite(point.x()) && std::isfinite(point.y()); }

}  // namespace

void PaintedSurface::Cls() { Clear(); }

void PaintedSurface::BeginBatch() { ++batch_depth_; }

void PaintedSurface::EndBatch() {
  if (batch_depth_ == 0) return;  // an EndBatch without its BeginBatch
  if (--batch_depth_ == 0) BatchEnded();
}

void PaintedSurface::Scale(float x1, float y1, float x2, float y2) {
  scale_left_ = x1;
  scale_top_ = y1;
  scale_width_ = static_cast<double>(x2) - static_cast<double>(x1);
  scale_height_ = static_cast<double>(y2) - static_cast<double>(y1);
}

QPointF PaintedSurface::ToPixels(double x, double y) const {
  if (scale_width_ == 0.0 || scale_height_ == 0.0) return QPointF(x, y);
  const QSizeF size = SurfaceSize();
  return QPointF((x - scale_left_) * size.width() / scale_width_,
                 (y - scale_top_) * size.height() / scale_height_);
}

void PaintedSurface::Line(float x1, float y1, float x2, float y2, PlotColour colour) {
  const QPointF from = ToPixels(x1, y1);
  const QPointF to = ToPixels(x2, y2);
  if (!IsFinite(from) || !IsFinite(to)) return;
  const QSizeF size = SurfaceSize();
  double ax = from.x();
  double ay = from.y();
  double bx = to.x();
  double by = to.y();
  if (!ClipSegment(ax, ay, bx, by, -kClipMargin, size.width() + kClipMargin, -kClipMargin,
                   size.height() + kClipMargin)) {
    return;
  }
  Paint([&](QPainter& painter) {
    painter.setPen(SolidPen(colour, pen_width_));
    painter.drawLine(QPointF(ax, ay), QPointF(bx, by));
  });
}

void PaintedSurface::Circle(float x, float y, float radius, PlotColour colour) {
  const QSizeF size = SurfaceSize();
  const QPointF centre = ToPixels(x, y);
  const double per_unit = scale_width_ == 0.0 ? 1.0 : size.width() / std::abs(scale_width_);
  const double r = std::abs(static_cast<double>(radius)) * per_unit;
  if (!IsFinite(centre) || !std::isfinite(r)) return;
  const double left = -kClipMargin;
  const double top = -kClipMargin;
  const double right = size.width() + kClipMargin;
  const double bottom = size.height() + kClipMargin;
  // Outline entirely beside the surface.
  if (centre.x() + r < left || centre.x() - r > right || centre.y() + r < top ||
      centre.y() - r > bottom) {
    return;
  }
  // Surface entirely inside the circle: the outline passes outside it.
  const double far_x = std::max(std::abs(centre.x() - left), std::abs(centre.x() - right));
  const double far_y = std::max(std::abs(centre.y() - top), std::abs(centre.y() - bottom));
  if (std::hypot(far_x, far_y) < r) return;
  Paint([&](QPainter& painter) {
    painter.setPen(SolidPen(colour, pen_width_));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, r, r);
  });
}

PainterSurface::PainterSurface(QPainter& painter, QSizeF size, QColor background,
                               double pen_width)
    : PaintedSurface(pen_width),
      painter_(painter),
      size_(std::max(1.0, size.width()), std::max(1.0, size.height())),
      background_(background) {}

void PainterSurface::Clear() { painter_.fillRect(QRectF(QPointF(0, 0), size_), background_); }

void PainterSurface::Paint(const std::function<void(QPainter&)>& paint) { paint(painter_); }

}  // namespace quilane
