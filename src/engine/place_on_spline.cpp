#include "engine/place_on_spline.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "base/precondition.h"

namespace quilane {

void PlaceOnSpline(const ContourSpline& curve, std::span<const int> between, std::span<double> x,
                   std::span<double> y) {
  const std::size_t count = x.size();
  const int points = static_cast<int>(curve.knot_of_point.size());
  QUILANE_PRECONDITION(count >= 2 && y.size() == count && between.size() == count);
  QUILANE_PRECONDITION(!curve.pieces.empty());
  const std::vector<double>& knot = curve.knot_s;
  const auto knot_of = [&](int point) {  // 1-based input point, clamped
    return curve.knot_of_point[static_cast<std::size_t>(std::clamp(point, 1, points)) - 1];
  };
  x[0] = curve.knot_x.front();
  y[0] = curve.knot_y.front();
  double placed = 0.0;  // arc parameter of the point placed before
  for (std::size_t i = 1; i + 1 < count; ++i) {
    const int k = between[i];
    QUILANE_PRECONDITION(k >= 1 && k < points);
    const double high = knot[knot_of(k + 2)];
    const double low = std::min(std::max(placed, knot[knot_of(k - 1)]), high);
    const double px = x[i], py = y[i];
    const double before = placed;
    double best = -1.0;
    for (std::size_t p = knot_of(k - 1); p < curve.pieces.size() && knot[p] < high; ++p) {
      const double length = knot[p + 1] - knot[p];
      if (knot[p + 1] < low || !(length > 0)) continue;
      const double from = std::clamp((low - knot[p]) / length, 0.0, 1.0);
      const double to = std::clamp((high - knot[p]) / length, from, 1.0);
      const PiecePoint found = NearestOnPiece(curve.pieces[p], px, py, from, to);
      if (best < 0.0 || found.squared_distance < best) {
        best = found.squared_distance;
        x[i] = curve.pieces[p].X(found.t);
        y[i] = curve.pieces[p].Y(found.t);
        placed = knot[p] + found.t * length;
      }
    }
    if (i > 1 && !(placed > before)) {
      // Its foot lies behind the point before: the route put it farther off
      // the contour than the spacing, and it stays where the route put it.
      x[i] = px;
      y[i] = py;
      placed = before;
    }
  }
  x[count - 1] = curve.knot_x.back();
  y[count - 1] = curve.knot_y.back();
}

}  // namespace quilane
