#include "files/section.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "base/capacity.h"
#include "files/number_text.h"

namespace quilane {
namespace {

// Scaled by 1/2 before the subtraction so that two finite y of opposite sign
// do not overflow on their own; the result is infinite only when the gap
// itself is beyond a double.
double GapInChords(double x1, double y1, double xn, double yn, double chord) {
  const double half_dy = (0.5 * y1 - 0.5 * yn) / chord;
  const double half_dx = 0.5 * x1 - 0.5 * xn;
  return 2.0 * std::hypot(half_dx, half_dy);
}

}  // namespace

Expected<Section> MakeSection(std::string title, Contour contour, const ContourOrigin& origin) {
  const auto refuse = [&origin](const std::string& what) {
    return FileRefusal(RefusalCode::kUnusableContour, origin.file, origin.line,
                       origin.subject + " " + what);
  };
  std::vector<double>& x = contour.x;
  const std::vector<double>& y = contour.y;
  if (x.size() != y.size() || x.size() < 2 || x.size() > kPointCapacity) {
    return refuse("holds " + FormatWhole(static_cast<long long>(x.size())) +
                  (x.size() == 1 ? " point (" : " points (") +
                  origin.lines + "); a contour needs 2 to " + FormatWhole(kPointCapacity) +
                  " points.");
  }

  // Nose and chord from neighbour steps, on x as given.
  int ile = 0;
  bool x_decreases = false;
  bool x_differs = false;
  double xmin = x[0];
  double xmax = x[0];
  for (std::size_t i = 1; i < x.size(); ++i) {
    if (x[i] < x[i - 1]) {
      ile = static_cast<int>(i) + 1;
      xmin = x[i];
      x_decreases = true;
    }
    if (x[i] > x[i - 1]) xmax = x[i];
    if (x[i] != x[0]) x_differs = true;
  }
  const double chord = xmax - xmin;
  if (!x_differs) {
    return refuse("has the same x in every record (" + origin.lines +
                  "), so its chord is 0; choose a file that holds a contour.");
  }
  if (!x_decreases) {
    return refuse("has x values that never decrease (" + origin.lines +
                  "), so the contour has no nose; list the points from the trailing "
                  "edge along one surface to the nose and back along the other.");
  }
  if (!std::isfinite(chord)) {
    return refuse("has x values too far apart to measure a chord (" + origin.lines +
                  "); scale the coordinates down.");
  }
  // A point far beyond the chord, or a chord too short to divide by, would
  // normalise to an infinite x.
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (!std::isfinite((x[i] - xmin) / chord)) {
      Refusal refusal =
          refuse("has point " + FormatWhole(static_cast<long long>(i) + 1) + " (" + origin.lines +
                 ") too far from the nose for a chord of " + FormatMessageNumber(chord) +
                 "; correct that point or scale the coordinates.");
      refusal.index = static_cast<int>(i) + 1;
      return refusal;
    }
  }
  const double first_x = (x.front() - xmin) / chord;
  const double last_x = (x.back() - xmin) / chord;
  if (!std::isfinite(GapInChords(first_x, y.front(), last_x, y.back(), chord))) {
    return refuse("has its first and last points (" + origin.lines +
                  ") too far apart to measure the trailing-edge gap against a chord of " +
                  FormatMessageNumber(chord) + "; correct those points or scale the coordinates.");
  }

  for (double& value : x) value = (value - xmin) / chord;
  return Section{std::move(title), std::move(contour), ile, xmin, chord};
}

double TrailingEdgeGap(const Section& section) {
  const Contour& c = section.contour;
  return GapInChords(c.x.front(), c.y.front(), c.x.back(), c.y.back(), section.chord);
}

LoopOrder PutLoopInProgramOrder(Contour& contour) {
  std::vector<double>& x = contour.x;
  std::vector<double>& y = contour.y;
  LoopOrder order;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (kept > 0 && x[kept - 1] == x[i] && y[kept - 1] == y[i]) {
      ++order.dropped;
      continue;
    }
    x[kept] = x[i];
    y[kept] = y[i];
    ++kept;
  }
  x.resize(kept);
  y.resize(kept);
  for (std::size_t i = 0; i < kept; ++i) {
    const std::size_t next = (i + 1) % kept;
    order.twice_area += x[i] * y[next] - x[next] * y[i];
  }
  order.reversed = order.twice_area >= 0.0;
  if (order.reversed) {
    std::reverse(x.begin(), x.end());
    std::reverse(y.begin(), y.end());
  }
  return order;
}

}  // namespace quilane
