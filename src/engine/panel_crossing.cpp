#include "engine/panel_crossing.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "base/precondition.h"

namespace quilane {
namespace {

// Sign of the turn from (a, b) to (a, c): +1 left, -1 right, 0 on the line.
int Turn(double ax, double ay, double bx, double by, double cx, double cy) {
  const double cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  return (cross > 0) - (cross < 0);
}

}  // namespace

std::optional<PanelCrossing> FirstPanelCrossing(std::span<const double> x,
                                                std::span<const double> y) {
  QUILANE_PRECONDITION(x.size() == y.size());
  if (x.size() < 4) return std::nullopt;
  const std::size_t panels = x.size() - 1;
  std::vector<std::size_t> order(panels);
  std::iota(order.begin(), order.end(), 0);
  const auto low = [&](std::size_t k) { return std::min(x[k], x[k + 1]); };
  const auto high = [&](std::size_t k) { return std::max(x[k], x[k + 1]); };
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return low(a) < low(b) || (low(a) == low(b) && a < b);
  });

  std::optional<PanelCrossing> found;
  for (std::size_t i = 0; i < panels; ++i) {
    const std::size_t a = order[i];
    for (std::size_t j = i + 1; j < panels && low(order[j]) <= high(a); ++j) {
      const std::size_t b = order[j];
      const std::size_t p = std::min(a, b), q = std::max(a, b);
      if (q == p + 1) continue;  // neighbours share a point
      if (std::max(y[p], y[p + 1]) < std::min(y[q], y[q + 1]) ||
          std::max(y[q], y[q + 1]) < std::min(y[p], y[p + 1])) {
        continue;
      }
      const int q0 = Turn(x[p], y[p], x[p + 1], y[p + 1], x[q], y[q]);
      const int q1 = Turn(x[p], y[p], x[p + 1], y[p + 1], x[q + 1], y[q + 1]);
      const int p0 = Turn(x[q], y[q], x[q + 1], y[q + 1], x[p], y[p]);
      const int p1 = Turn(x[q], y[q], x[q + 1], y[q + 1], x[p + 1], y[p + 1]);
      if (q0 * q1 >= 0 || p0 * p1 >= 0) continue;
      const int first = static_cast<int>(p) + 1, second = static_cast<int>(q) + 1;
      if (found && (found->first < first || (found->first == first && found->second < second))) {
        continue;
      }
      // Where along panel p the other one cuts it.
      const double dx = x[p + 1] - x[p], dy = y[p + 1] - y[p];
      const double ex = x[q + 1] - x[q], ey = y[q + 1] - y[q];
      const double t = ((x[q] - x[p]) * ey - (y[q] - y[p]) * ex) / (dx * ey - dy * ex);
      found = PanelCrossing{first, second, x[p] + t * dx, y[p] + t * dy};
    }
  }
  return found;
}

}  // namespace quilane
