#include "engine/place_on_spline.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "base/precondition.h"

namespace quilane {

void PlaceOnSpline(const ContourSpline& curve, std::span<const double> position,
                   std::span<double> x, std::span<double> y) {
  const std::size_t count = x.size();
  const std::size_t points = curve.knot_of_point.size();
  QUILANE_PRECONDITION(count >= 2 && y.size() == count && position.size() == count);
  QUILANE_PRECONDITION(!curve.pieces.empty());
  // Arc parameter of every knot: the polygon's length, as the curve has it.
  std::vector<double> knot(curve.knot_x.size(), 0.0);
  for (std::size_t k = 1; k < knot.size(); ++k) {
    knot[k] = knot[k - 1] + std::hypot(curve.knot_x[k] - curve.knot_x[k - 1],
                                       curve.knot_y[k] - curve.knot_y[k - 1]);
  }
  const auto knot_of = [&](double point) {  // 1-based input point, clamped
    const double clamped = std::clamp(point, 1.0, static_cast<double>(points));
    return curve.knot_of_point[static_cast<std::size_t>(clamped) - 1];
  };
  x[0] = curve.knot_x.front();
  y[0] = curve.knot_y.front();
  double placed = 0.0;  // arc parameter of the point placed before
  for (std::size_t i = 1; i + 1 < count; ++i) {
    QUILANE_PRECONDITION(position[i] >= 1 && position[i] <= static_cast<double>(points));
    const double whole = std::floor(position[i]);
    const double high = knot[knot_of(whole + 2)];
    const double low = std::min(std::max(placed, knot[knot_of(whole - 1)]), high);
    const double px = x[i], py = y[i];
    const double before = placed;
    double best = -1.0;
    for (std::size_t p = knot_of(whole - 1); p < curve.pieces.size() && knot[p] < high; ++p) {
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
