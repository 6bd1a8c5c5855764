#include "engine/place_on_spline.h"

#include <algorithm>
#include <cstddef>

#include "base/precondition.h"

namespace quilane {

void PlaceOnSpline(const ContourSpline& curve, std::span<const int> between, std::span<double> x,
                   std::span<double> y) {
  const std::size_t count = x.size();
  const std::size_t points = curve.knot_of_point.size();
  QUILANE_PRECONDITION(count >= 2 && y.size() == count && between.size() == count);
  QUILANE_PRECONDITION(!curve.pieces.empty());
  x[0] = curve.knot_x.front();
  y[0] = curve.knot_y.front();
  for (std::size_t i = 1; i + 1 < count; ++i) {
    const int k = between[i];
    QUILANE_PRECONDITION(k >= 1 && static_cast<std::size_t>(k) < points);
    // Input points k - 1 .. k + 2 (1-based) are knot_of_point[k - 2 .. k + 1].
    const std::size_t from_point = static_cast<std::size_t>(std::max(k - 2, 0));
    const std::size_t to_point = std::min(static_cast<std::size_t>(k + 1), points - 1);
    const std::size_t first_piece = curve.knot_of_point[from_point];
    const std::size_t end_piece =
        std::max(curve.knot_of_point[to_point], first_piece + 1);  // one past the last
    const double px = x[i];
    const double py = y[i];
    double best = -1.0;
    for (std::size_t p = first_piece; p < end_piece && p < curve.pieces.size(); ++p) {
      const PiecePoint found = NearestOnPiece(curve.pieces[p], px, py);
      if (best < 0.0 || found.squared_distance < best) {
        best = found.squared_distance;
        x[i] = curve.pieces[p].X(found.t);
        y[i] = curve.pieces[p].Y(found.t);
      }
    }
  }
  x[count - 1] = curve.knot_x.back();
  y[count - 1] = curve.knot_y.back();
}

}  // namespace quilane
