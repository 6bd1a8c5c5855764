// The plot's view values as the three scroll bars set them.
#ifndef QUILANE_WINDOW_VIEW_BARS_H_
#define QUILANE_WINDOW_VIEW_BARS_H_

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

// Mouse gestures over the plot move the bars, never the view directly, so
// the bars always show the view.

// Steps of HScroll_X0 for a drag of `pixels` to the right over a surface
// `surface_pixels` wide that spans `plot_width` plot units, at zoom factor
// `zoom`. The picture follows the pointer: plot x = (x - PlotX0 - 0.5) * zoom
// must grow by pixels * plot_width / surface_pixels, so PlotX0 falls by that
// over zoom, ten steps to the chord:
//   steps = -10 * pixels * plot_width / (surface_pixels * zoom).
inline double X0StepsForDrag(double pixels, double surface_pixels, double plot_width,
                             double zoom) {
  return -10 * pixels * plot_width / (surface_pixels * zoom);
}

// Steps of VScroll_Y0 for a drag of `pixels` downwards over a surface
// `surface_pixels` high that spans `plot_height` plot units. Plot y grows
// upwards, so PlotY0 rises by pixels * plot_height / surface_pixels over
// zoom; PlotY0 = -v / 1000, so
//   steps = -1000 * pixels * plot_height / (surface_pixels * zoom).
inline double Y0StepsForDrag(double pixels, double surface_pixels, double plot_height,
                             double zoom) {
  return -1000 * pixels * plot_height / (surface_pixels * zoom);
}

// Turns the steps of a drag's moves into whole bar steps, carrying the
// fraction to the next move: slow drags add up, and a drag back to where it
// began gives back the bar's first value. A bar held at the end of its range
// keeps no debt: dragging back moves it at once.
class DragSteps {
 public:
  // Adds `steps` and returns the whole steps to take now (toward zero).
  int Add(double steps) {
    carry_ += steps;
    const double whole = std::trunc(carry_);
    carry_ -= whole;
    return static_cast<int>(whole);
  }
  void Reset() { carry_ = 0.0; }

 private:
  double carry_ = 0.0;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_VIEW_BARS_H_
