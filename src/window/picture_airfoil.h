// The drawing surface of the main window. Everything is drawn into a retained
// back buffer, so the picture survives being covered, resized or repainted
// and stays until the next Cls.
#ifndef QUILANE_WINDOW_PICTURE_AIRFOIL_H_
#define QUILANE_WINDOW_PICTURE_AIRFOIL_H_

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QWidget>

#include "window/drawing_surface.h"

namespace quilane {

class PictureAirfoil : public QWidget, public DrawingSurface {
  Q_OBJECT

 public:
  // `background` fills the surface at start and after every Cls. Until the
  // first Scale, user coordinates are pixels with the origin at the top left.
  explicit PictureAirfoil(QColor background, QWidget* parent = nullptr);

  void Cls() override;
  void Scale(float x1, float y1, float x2, float y2) override;
  // Segments are clipped to the surface (Liang-Barsky, in double precision)
  // before they reach the painter, so far-off points cost nothing and never
  // overflow the rasteriser. Pen: one pixel, solid, not antialiased.
  void Line(float x1, float y1, float x2, float y2, PlotColour colour) override;
  // Radius in pixels = radius x width in pixels / user width. A circle whose
  // outline cannot touch the surface is skipped.
  void Circle(float x, float y, float radius, PlotColour colour) override;

  // Pixel position (x right, y down, in pixels from the top-left corner of
  // the surface) of the user point (x, y): x_px = (x - x1) * width() / (x2 - x1),
  // likewise for y.
  QPointF ToPixels(double x, double y) const;

  // The back buffer: what the surface shows.
  const QImage& Picture() const;
  QColor Background() const { return background_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A focus frame shows when the surface has the keyboard focus.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Gives the back buffer the widget's size, keeping what is drawn; a hidden
  // widget gets its resize event only when shown.
  void FitBuffer() const;

  QColor background_;
  mutable QImage buffer_;
  // User coordinates of the top-left corner and the extent of the surface.
  double scale_left_ = 0.0;
  double scale_top_ = 0.0;
  double scale_width_ = 0.0;   // 0: pixels (no Scale yet)
  double scale_height_ = 0.0;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_PICTURE_AIRFOIL_H_
