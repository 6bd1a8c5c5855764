// Show_Airfoil: the one drawing routine. Draws the two axes, the new points
// (blue), the input contour (red) and the camber line (magenta) under the
// view's zoom and offsets, and writes the two title labels.
#ifndef QUILANE_WINDOW_AIRFOIL_PLOT_H_
#define QUILANE_WINDOW_AIRFOIL_PLOT_H_

#include <string>

#include "window/drawing_surface.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// The labels the plot writes: Label3 takes the airfoil's title, Label4 the
// plot title.
class PlotTitles {
 public:
  virtual ~PlotTitles() = default;
  virtual void SetTitles(const std::string& airfoil_title, const std::string& plot_title) = 0;
};

inline constexpr PlotColour kHorizontalAxisColour{150, 150, 150};
inline constexpr PlotColour kVerticalAxisColour{200, 200, 200};
inline constexpr PlotColour kNewPointColour{0, 0, 255};
inline constexpr PlotColour kInputPointColour{255, 0, 0};
inline constexpr PlotColour kCamberColour{255, 0, 255};
inline constexpr float kNewPointRadius = 0.003f;    // plot units, horizontal scale
inline constexpr float kInputPointRadius = 0.005f;  // plot units, horizontal scale
// Extent of the surface in plot units, as ShowAirfoil's Scale sets it:
// x from -0.6 to 0.6 across its width, y from 0.3 down to -0.3.
inline constexpr double kPlotWidth = 1.2;
inline constexpr double kPlotHeight = 0.6;

// Plot coordinates of the data point (x, y) under the view of `ws`:
//   plot x = (x - PlotX0 - 0.5) * PlotScale,  plot y = (y - PlotY0) * PlotScale,
// in double precision, evaluated in that order.
double PlotX(const AirfoilWorkspace& ws, double x);
double PlotY(const AirfoilWorkspace& ws, double y);

// Show_Airfoil(N, X, Y, NI, XI, YI). Transforms the input points 1..N, the new
// points 1..NI and the camber points 1..whole part of NCamber (all handed to
// the surface as float); then Cls; titles (AirfoilTitle, PlotTitle); Scale
// (-0.6, 0.3)-(0.6, -0.3); horizontal axis (-0.6, 0)-(0.6, 0); vertical axis
// (0, -0.3)-(0, 0.3); for each new point i < NI the segment to i + 1 then its
// marker, then the marker of point NI; the same for the input points; the
// camber segments i - 1 to i for i = 2..NCamber; all of it between one
// BeginBatch and EndBatch of the surface. Reads NCamber, XCamber,
// YCamber, the view and the titles from `ws` and changes nothing in it.
// A count outside 0..kPointCapacity draws nothing of its set; a count of 0
// draws nothing either.
void ShowAirfoil(const AirfoilWorkspace& ws, DrawingSurface& surface, PlotTitles& titles, int N,
                 const PointArray& X, const PointArray& Y, int NI, const PointArray& XI,
                 const PointArray& YI);

}  // namespace quilane

#endif  // QUILANE_WINDOW_AIRFOIL_PLOT_H_
