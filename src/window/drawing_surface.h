// What the airfoil plot needs of a drawing surface: clear, a user coordinate
// system, segments and circle outlines in a colour, and a way to say that a
// run of them makes one picture. Coordinates are handed over in single
// precision, as the plot computes them.
#ifndef QUILANE_WINDOW_DRAWING_SURFACE_H_
#define QUILANE_WINDOW_DRAWING_SURFACE_H_

namespace quilane {

// A colour as (red, green, blue), each 0..255.
struct PlotColour {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const PlotColour&) const = default;
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Erases everything drawn; the surface shows its background colour.
  virtual void Cls() = 0;
  // User coordinates from now on: (x1, y1) is the top-left corner of the
  // surface and (x2, y2) its bottom-right corner. Either axis may run
  // backwards (y2 < y1 makes y grow upwards). Needs x1 != x2 and y1 != y2.
  virtual void Scale(float x1, float y1, float x2, float y2) = 0;
  // A straight segment from (x1, y1) to (x2, y2); what lies outside the
  // surface is clipped.
  virtual void Line(float x1, float y1, float x2, float y2, PlotColour colour) = 0;
  // An unfilled circle about (x, y); the radius is measured on the horizontal
  // scale. What lies outside the surface is clipped.
  virtual void Circle(float x, float y, float radius, PlotColour colour) = 0;

  // The calls between BeginBatch and the matching EndBatch make one picture:
  // the surface may keep what it needs for drawing (a painter) open across
  // them and show the result once, at EndBatch, instead of after every call.
  // What is drawn is the same either way. Pairs may nest; only the outermost
  // EndBatch shows the result. By default both do nothing.
  virtual void BeginBatch() {}
  virtual void EndBatch() {}
};

// BeginBatch on construction, EndBatch on destruction: one picture drawn
// within a scope.
class SurfaceBatch {
 public:
  explicit SurfaceBatch(DrawingSurface& surface) : surface_(surface) { surface_.BeginBatch(); }
  ~SurfaceBatch() { surface_.EndBatch(); }
  SurfaceBatch(const SurfaceBatch&) = delete;
  SurfaceBatch& operator=(const SurfaceBatch&) = delete;

 private:
  DrawingSurface& surface_;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_DRAWING_SURFACE_H_
