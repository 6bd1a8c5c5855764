#include "window/picture_airfoil.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>

namespace quilane {

PictureAirfoil::PictureAirfoil(QColor background, QWidget* parent)
    : QWidget(parent), PaintedSurface(0.0), background_(background) {
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
  EndPainting();  // the painter works on the image about to be replaced
  QImage grown(size, QImage::Format_RGB32);
  grown.fill(background_);
  QPainter painter(&grown);
  painter.drawImage(0, 0, buffer_);
  painter.end();
  buffer_ = std::move(grown);
}

QSizeF PictureAirfoil::SurfaceSize() const {
  FitBuffer();
  return buffer_.size();
}

void PictureAirfoil::EndPainting() const {
  if (painter_.isActive()) painter_.end();
}

void PictureAirfoil::ShowChange() {
  if (InBatch()) {
    change_pending_ = true;
    return;
  }
  update();
}

void PictureAirfoil::Clear() {
  FitBuffer();
  EndPainting();  // the image is filled with no painter open on it
  buffer_.fill(background_);
  ShowChange();
}

void PictureAirfoil::Paint(const std::function<void(QPainter&)>& paint) {
  FitBuffer();
  if (!painter_.isActive()) {
    painter_.begin(&buffer_);
    // Antialiased, with pixel i centred on coordinate i as without
    // antialiasing: a one-pixel line on whole coordinates fills one row or
    // column of pixels instead of two at half strength.
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.translate(0.5, 0.5);
  }
  paint(painter_);
  if (!InBatch()) EndPainting();
  ShowChange();
}

void PictureAirfoil::BatchEnded() {
  EndPainting();
  if (change_pending_) {
    change_pending_ = false;
    update();
  }
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

void PictureAirfoil::wheelEvent(QWheelEvent* event) {
  // Only the vertical wheel zooms; a sideways tilt is left to the parent.
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  // A reversal drops what was left of the other direction.
  if ((delta > 0) != (wheel_remainder_ > 0)) wheel_remainder_ = 0;
  wheel_remainder_ += delta;
  const int notches = wheel_remainder_ / kWheelNotch;
  wheel_remainder_ -= notches * kWheelNotch;
  event->accept();
  if (notches != 0) emit WheelTurned(notches, event->position());
}

void PictureAirfoil::leaveEvent(QEvent* event) {
  wheel_remainder_ = 0;
  QWidget::leaveEvent(event);
}

void PictureAirfoil::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  dragging_ = true;
  drag_last_ = event->position();
  setCursor(Qt::ClosedHandCursor);
  event->accept();
}

void PictureAirfoil::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  const QPointF at = event->position();
  const QPointF step = at - drag_last_;
  drag_last_ = at;
  event->accept();
  if (!step.isNull()) emit Dragged(step);
}

void PictureAirfoil::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  dragging_ = false;
  unsetCursor();
  event->accept();
}

}  // namespace quilane
