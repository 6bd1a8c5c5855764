// The drawing operations of the plot carried out with a QPainter: the user
// coordinate system, the clipping of segments and circles to the surface and
// their painting. The window's own surface and the pictures exported from it
// both draw through this one piece of code, so an exported picture shows what
// the window shows.
#ifndef QUILANE_WINDOW_PAINTED_SURFACE_H_
#define QUILANE_WINDOW_PAINTED_SURFACE_H_

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <functional>

#include "window/drawing_surface.h"

class QPainter;

namespace quilane {

class PaintedSurface : public DrawingSurface {
 public:
  // `pen_width` in pixels of the surface; 0 draws one pixel of the device
  // whatever the painter's transformation. Pens are solid and the painter's
  // antialiasing is left as it is.
  explicit PaintedSurface(double pen_width) : pen_width_(pen_width) {}

  void Cls() override;
  void Scale(float x1, float y1, float x2, float y2) override;
  // Segments are clipped to the surface plus a margin of two pixels
  // (Liang-Barsky, in double precision) before they reach the painter, so
  // far-off points cost nothing and never overflow the rasteriser.
  void Line(float x1, float y1, float x2, float y2, PlotColour colour) override;
  // Radius in pixels = radius x width in pixels / user width. A circle whose
  // outline cannot touch the surface (it lies beside it, or the surface lies
  // inside it) is skipped.
  void Circle(float x, float y, float radius, PlotColour colour) override;
  // Counts the nesting; when the outermost batch ends, BatchEnded runs.
  void BeginBatch() override;
  void EndBatch() override;

  // Pixel position (x right, y down, from the top-left corner) of the user
  // point (x, y): x_px = (x - x1) * width / (x2 - x1), likewise for y. Before
  // the first Scale, user coordinates are pixels.
  QPointF ToPixels(double x, double y) const;

 protected:
  // Size of the surface in its pixels, each side at least 1.
  virtual QSizeF SurfaceSize() const = 0;
  // Fills the whole surface with its background.
  virtual void Clear() = 0;
  // Runs `paint` with a painter whose coordinates are the surface's pixels.
  // Within a batch the surface may hand the same painter to every call.
  virtual void Paint(const std::function<void(QPainter&)>& paint) = 0;
  // Whether a batch is open (BeginBatch without its EndBatch yet).
  bool InBatch() const { return batch_depth_ > 0; }
  // The outermost batch has ended: release what was kept open and show the
  // picture. Does nothing by default.
  virtual void BatchEnded() {}

 private:
  double pen_width_;
  int batch_depth_ = 0;
  // User coordinates of the top-left corner and the extent of the surface.
  double scale_left_ = 0.0;
  double scale_top_ = 0.0;
  double scale_width_ = 0.0;  // 0: pixels (no Scale yet)
  double scale_height_ = 0.0;
};

// A painted surface over a painter the caller has begun on any paint device
// (an image, an SVG generator): the surface's pixels are the painter's
// coordinates from (0, 0) to `size`. Cls fills that rectangle with
// `background`. The painter must outlive the surface.
class PainterSurface : public PaintedSurface {
 public:
  PainterSurface(QPainter& painter, QSizeF size, QColor background, double pen_width);

 protected:
  QSizeF SurfaceSize() const override { return size_; }
  void Clear() override;
  void Paint(const std::function<void(QPainter&)>& paint) override;

 private:
  QPainter& painter_;
  QSizeF size_;
  QColor background_;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_PAINTED_SURFACE_H_
