#include "window/airfoil_plot.h"

#include <array>
#include <cmath>

namespace quilane {
namespace {

// One set of points in plot coordinates, one-based like the workspace.
struct PlotPoints {
  int count = 0;
  std::array<float, kPointCapacity + 1> x{};
  std::array<float, kPointCapacity + 1> y{};
};

// Counts beyond the arrays are refused: the set is not drawn at all.
int DrawableCount(double count) {
  if (!(count >= 0.0) || count > kPointCapacity) return 0;
  return static_cast<int>(std::floor(count));
}

void Transform(const AirfoilWorkspace& ws, double count, const PointArray& x,
               const PointArray& y, PlotPoints& out) {
  out.count = DrawableCount(count);
  for (int i = 1; i <= out.count; ++i) {
    out.x[i] = static_cast<float>(PlotX(ws, x[i]));
    out.y[i] = static_cast<float>(PlotY(ws, y[i]));
  }
}

// Segment from each point to the next, each followed by the marker of its
// start point, then the marker of the last point.
void DrawMarkedPolyline(DrawingSurface& surface, const PlotPoints& points, float radius,
                        PlotColour colour) {
  if (points.count < 1) return;
  for (int i = 1; i <= points.count - 1; ++i) {
    surface.Line(points.x[i], points.y[i], points.x[i + 1], points.y[i + 1], colour);
    surface.Circle(points.x[i], points.y[i], radius, colour);
  }
  surface.Circle(points.x[points.count], points.y[points.count], radius, colour);
}

}  // namespace

double PlotX(const AirfoilWorkspace& ws, double x) {
  return (x - ws.PlotX0 - 0.5) * ws.PlotScale;
}

double PlotY(const AirfoilWorkspace& ws, double y) { return (y - ws.PlotY0) * ws.PlotScale; }

void ShowAirfoil(const AirfoilWorkspace& ws, DrawingSurface& surface, PlotTitles& titles, int N,
                 const PointArray& X, const PointArray& Y, int NI, const PointArray& XI,
                 const PointArray& YI) {
  PlotPoints input;
  PlotPoints fresh;
  PlotPoints camber;
  Transform(ws, N, X, Y, input);
  Transform(ws, NI, XI, YI, fresh);
  Transform(ws, ws.NCamber, ws.XCamber, ws.YCamber, camber);

  const SurfaceBatch batch(surface);  // one picture: one painter, shown once
  surface.Cls();
  titles.SetTitles(ws.AirfoilTitle, ws.PlotTitle);
  surface.Scale(-0.6f, 0.3f, 0.6f, -0.3f);
  surface.Line(-0.6f, 0.0f, 0.6f, 0.0f, kHorizontalAxisColour);
  surface.Line(0.0f, -0.3f, 0.0f, 0.3f, kVerticalAxisColour);

  DrawMarkedPolyline(surface, fresh, kNewPointRadius, kNewPointColour);
  DrawMarkedPolyline(surface, input, kInputPointRadius, kInputPointColour);

  for (int i = 2; i <= camber.count; ++i) {
    surface.Line(camber.x[i - 1], camber.y[i - 1], camber.x[i], camber.y[i], kCamberColour);
  }
}

}  // namespace quilane
