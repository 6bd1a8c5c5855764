#include "window/picture_airfoil.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace quilane {
namespace {

// Segments and circles are kept to the surface plus this margin in pixels, so
// that a one-pixel line on the very edge is still drawn whole.
constexpr double kClipMargin = 2.0;

QColor ToQColor(PlotColour colour) { return QColor(colour.red, colour.green, colour.blue); }

QPen OnePixelPen(PlotColour colour) {
  QPen pen(ToQColor(colour));
  pen.setWidth(0);  // cosmetic: one pixel whatever the transformation
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

PictureAirfoil::PictureAirfoil(QColor background, QWidget* parent)
    : QWidget(parent), background_(background) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  buffer_ = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
  buffer_.fill(background_);
}

const QImage& PictureAirfoil::Picture() const {
  FitBuffer();
  return buffer_;
}

void PictureAirfoil::FitBuffer() const {
  const QSize size(std::max(1, width()), std::max(1, height()));
  if (size == buffer_.size()) return;
  QImage grown(size, QImage::Format_RGB32);
  grown.fill(background_);
  QPainter painter(&grown);
  painter.drawImage(0, 0, buffer_);
  painter.end();
  buffer_ = std::move(grown);
}

void PictureAirfoil::Cls() {
  FitBuffer();
  buffer_.fill(background_);
  update();
}

void PictureAirfoil::Scale(float x1, float y1, float x2, float y2) {
  scale_left_ = x1;
  scale_top_ = y1;
  scale_width_ = static_cast<double>(x2) - static_cast<double>(x1);
  scale_height_ = static_cast<double>(y2) - static_cast<double>(y1);
}

QPointF PictureAirfoil::ToPixels(double x, double y) const {
  if (scale_width_ == 0.0 || scale_height_ == 0.0) return QPointF(x, y);
  return QPointF((x - scale_left_) * std::max(1, width()) / scale_width_,
                 (y - scale_top_) * std::max(1, height()) / scale_height_);
}

void PictureAirfoil::Line(float x1, float y1, float x2, float y2, PlotColour colour) {
  FitBuffer();
  const QPointF from = ToPixels(x1, y1);
  const QPointF to = ToPixels(x2, y2);
  if (!IsFinite(from) || !IsFinite(to)) return;
  double ax = from.x();
  double ay = from.y();
  double bx = to.x();
  double by = to.y();
  if (!ClipSegment(ax, ay, bx, by, -kClipMargin, buffer_.width() + kClipMargin, -kClipMargin,
                   buffer_.height() + kClipMargin)) {
    return;
  }
  QPainter painter(&buffer_);
  painter.setPen(OnePixelPen(colour));
  painter.drawLine(QPointF(ax, ay), QPointF(bx, by));
  update();
}

void PictureAirfoil::Circle(float x, float y, float radius, PlotColour colour) {
  FitBuffer();
  const QPointF centre = ToPixels(x, y);
  const double per_unit =
      scale_width_ == 0.0 ? 1.0 : std::max(1, width()) / std::abs(scale_width_);
  const double r = std::abs(static_cast<double>(radius)) * per_unit;
  if (!IsFinite(centre) || !std::isfinite(r)) return;
  const double left = -kClipMargin;
  const double top = -kClipMargin;
  const double right = buffer_.width() + kClipMargin;
  const double bottom = buffer_.height() + kClipMargin;
  // Outline entirely beside the surface.
  if (centre.x() + r < left || centre.x() - r > right || centre.y() + r < top ||
      centre.y() - r > bottom) {
    return;
  }
  // Surface entirely inside the circle: the outline passes outside it.
  const double far_x = std::max(std::abs(centre.x() - left), std::abs(centre.x() - right));
  const double far_y = std::max(std::abs(centre.y() - top), std::abs(centre.y() - bottom));
  if (std::hypot(far_x, far_y) < r) return;
  QPainter painter(&buffer_);
  painter.setPen(OnePixelPen(colour));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, r, r);
  update();
}

void PictureAirfoil::paintEvent(QPaintEvent* event) {
  FitBuffer();
  QPainter painter(this);
  painter.drawImage(event->rect(), buffer_, event->rect());
  if (hasFocus()) {
    // A dotted frame over the picture, never drawn into it.
    QPen dotted(palette().color(QPalette::WindowText));
    dotted.setStyle(Qt::DotLine);
    dotted.setWidth(0);
    painter.setPen(dotted);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

void PictureAirfoil::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void PictureAirfoil::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void PictureAirfoil::resizeEvent(QResizeEvent* event) {
  FitBuffer();
  QWidget::resizeEvent(event);
}

}  // namespace quilane
