// The plot's view values as the three scroll bars set them.
#ifndef QUILANE_WINDOW_VIEW_BARS_H_
#define QUILANE_WINDOW_VIEW_BARS_H_

#include <algorithm>
#include <cmath>

namespace quilane {

// Ranges of the bars HScroll_Olcek, HScroll_X0 and VScroll_Y0.
inline constexpr int kZoomBarMin = -5;
inline constexpr int kZoomBarMax = 100;
inline constexpr int kZoomBarStart = 1;
inline constexpr int kX0BarMin = -50;
inline constexpr int kX0BarMax = 50;
inline constexpr int kY0BarMin = -2000;
inline constexpr int kY0BarMax = 2000;

// Zoom factor of the zoom bar at v: s = 1 + v / 5; the one value that gives 0
// (v = -5) gives 1 + (v + 1) / 5 = 0.2 instead. From 0.2 to 21 in steps of 0.2.
inline double ZoomFactor(int v) {
  double s = 1 + v / 5.0;
  if (s == 0) s = 1 + (v + 1) / 5.0;
  return s;
}

// Horizontal offset in chord units: v / 10, from -5 to 5.
inline double OffsetX(int v) { return v / 10.0; }

// Vertical offset in chord units: -(v) / 1000, +2 with the thumb at the top and
// -2 at the bottom. The bar's value is negated as a whole number, so v = 0
// gives +0.
inline double OffsetY(int v) { return -v / 1000.0; }

// Mouse gestures over the plot set the view directly, in continuous values;
// the bars then show the nearest value they can. The bars' own arrows and
// troughs keep their steps and the formulas above.

// The view of the plot: zoom factor and offsets in chord units.
struct PlotView {
  double scale = 1.0;
  double x0 = 0.0;
  double y0 = 0.0;
};

// Size of the drawing surface in pixels and the plot units it spans.
struct SurfaceSpan {
  double width_pixels = 1.0;
  double height_pixels = 1.0;
  double plot_width = 1.2;
  double plot_height = 0.6;
};

// Data point under the pixel (px, py) of the surface (x right, y down from
// the top-left corner), inverting plot x = (x - x0 - 0.5) * scale and
// plot y = (y - y0) * scale, with plot x from -width/2 at the left edge and
// plot y from +height/2 at the top.
inline double DataXAt(const PlotView& view, const SurfaceSpan& span, double px) {
  const double plot_x = -span.plot_width / 2 + px * span.plot_width / span.width_pixels;
  return plot_x / view.scale + view.x0 + 0.5;
}
inline double DataYAt(const PlotView& view, const SurfaceSpan& span, double py) {
  const double plot_y = span.plot_height / 2 - py * span.plot_height / span.height_pixels;
  return plot_y / view.scale + view.y0;
}

// Offsets kept within the bars' ranges: x0 from -5 to 5, y0 from -2 to 2.
inline PlotView WithinBars(PlotView view) {
  view.x0 = std::clamp(view.x0, OffsetX(kX0BarMin), OffsetX(kX0BarMax));
  view.y0 = std::clamp(view.y0, OffsetY(kY0BarMax), OffsetY(kY0BarMin));
  return view;
}

// The view after a drag of (dx, dy) pixels (right, down): the data point
// under the pointer moves with it, x0 falls by dx * plot_width /
// (width_pixels * scale) and y0 rises by dy * plot_height / (height_pixels *
// scale); then kept within the bars' ranges.
inline PlotView DraggedView(const PlotView& view, const SurfaceSpan& span, double dx, double dy) {
  PlotView moved = view;
  moved.x0 = view.x0 - dx * span.plot_width / (span.width_pixels * view.scale);
  moved.y0 = view.y0 + dy * span.plot_height / (span.height_pixels * view.scale);
  return WithinBars(moved);
}

// The view at zoom factor `scale` with the data point under the pixel
// (px, py) kept where it is (as far as the bars' ranges allow).
inline PlotView ZoomedAbout(const PlotView& view, const SurfaceSpan& span, double scale,
                            double px, double py) {
  const double x = DataXAt(view, span, px);
  const double y = DataYAt(view, span, py);
  PlotView zoomed{scale, 0.0, 0.0};
  zoomed.x0 = x - DataXAt(zoomed, span, px);
  zoomed.y0 = y - DataYAt(zoomed, span, py);
  return WithinBars(zoomed);
}

// The bar value nearest to an offset: the inverse of OffsetX and OffsetY,
// rounded, within the bar's range.
inline int NearestX0Bar(double x0) {
  return static_cast<int>(std::clamp(std::lround(x0 * 10), long{kX0BarMin}, long{kX0BarMax}));
}
inline int NearestY0Bar(double y0) {
  return static_cast<int>(std::clamp(std::lround(-y0 * 1000), long{kY0BarMin}, long{kY0BarMax}));
}

}  // namespace quilane

#endif  // QUILANE_WINDOW_VIEW_BARS_H_
