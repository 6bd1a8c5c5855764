// The plot's view values as the three scroll bars set them.
#ifndef QUILANE_WINDOW_VIEW_BARS_H_
#define QUILANE_WINDOW_VIEW_BARS_H_

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

}  // namespace quilane

#endif  // QUILANE_WINDOW_VIEW_BARS_H_
