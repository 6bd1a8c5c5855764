// NACA sections from their published equations, as contours in the program's
// point order: point 1 at the trailing edge, the lower surface to the nose,
// the upper surface back to the trailing edge.
//
// A section is a thickness distribution laid perpendicular to a mean line.
// The placement of the points around the contour is shared
// (PlaceSectionPoints); each family supplies its thickness and mean line, so
// a 5-digit generator sits beside Naca4Section with its own mean line.
#ifndef QUILANE_TOOLS_NACA_SECTION_H_
#define QUILANE_TOOLS_NACA_SECTION_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quilane {

// Sharp: the thickness closes to zero at x = 1 (last coefficient -0.1036) and
// the first and last points both lie at the trailing edge. Blunt: the
// published open-edge coefficient -0.1015 leaves a finite trailing-edge
// thickness, and the first and last points are its lower and upper corners.
enum class TrailingEdge { kSharp, kBlunt };

// A generated contour. x and y hold the points in order (index 0 is point 1);
// chord 1 from the nose at (0, 0) to the trailing edge at x = 1.
struct AirfoilSection {
  std::string name;  // e.g. "NACA 2412", "NACA 0015 blunt trailing edge"
  std::vector<double> x;
  std::vector<double> y;
};

// Outcome of a generator: a refusal carries a message and an empty section.
struct SectionResult {
  bool ok = true;
  std::string message;  // empty when ok
  AirfoilSection section;
};

// Height of the mean line and its slope dy/dx at a chord station.
struct MeanLinePoint {
  double y = 0.0;
  double slope = 0.0;
};

// The two functions of chord station x (0 <= x <= 1) that make a section.
struct SectionShape {
  std::function<double(double)> half_thickness;        // y_t(x) >= 0
  std::function<MeanLinePoint(double)> mean_line;      // y_c(x), dy_c/dx
};

// Places point_count (>= 3) points around the contour of shape. Point i
// (1-based) has the integer s = 2(i - 1) - (point_count - 1): s < 0 on the
// lower surface, s > 0 on the upper, s = 0 the nose. Its chord station is
// x_s = (1 - cos(pi |s| / (point_count - 1))) / 2 (cosine spacing, 0 at the
// nose and exactly 1 at the ends), and with theta = atan(dy_c/dx) the point is
//   lower: (x_s + y_t sin(theta), y_c - y_t cos(theta)),
//   upper: (x_s - y_t sin(theta), y_c + y_t cos(theta)).
// An odd count has (point_count + 1) / 2 stations per surface sharing the
// nose point; an even count has point_count / 2 stations per surface and no
// point at the nose. Lower and upper points of one station share x_s.
AirfoilSection PlaceSectionPoints(std::string name, int point_count,
                                  const SectionShape& shape);

// Half thickness of a 4-digit section of thickness ratio t at station x:
//   y_t = 5 t (0.2969 sqrt(x) - 0.1260 x - 0.3516 x^2 + 0.2843 x^3 - a4 x^4),
// a4 = 0.1036 for a sharp trailing edge (exactly 0 at x = 1; the rounding of
// the coefficients' sum is not let through), 0.1015 for a blunt one
// (0.0021 * 5t at x = 1). Maximum 0.5 t near x = 0.3.
double Naca4HalfThickness(double t, double x, TrailingEdge trailing_edge);

// Mean line of maximum camber m at chord position p (0 < p < 1):
//   x <  p: y_c = m x (2p - x) / p^2,              dy_c/dx = 2m (p - x) / p^2
//   x >= p: y_c = m (1 - x)(1 + x - 2p) / (1 - p)^2, dy_c/dx = 2m (p - x) / (1 - p)^2
// (the published forms regrouped so that y_c is exactly 0 at both ends).
// Maximum m at x = p. m = 0 gives the straight chord line for any p.
MeanLinePoint Naca4MeanLine(double m, double p, double x);

// The 4-digit section of designation digits "MPTT" (maximum camber M % of the
// chord at P tenths, thickness TT %) with point_count points. The name is
// "NACA MPTT", followed by " blunt trailing edge" for a blunt one.
// Refused: digits that are not exactly four decimal digits, zero thickness,
// camber without a camber position (M > 0, P = 0), point_count < 3.
SectionResult Naca4Section(std::string_view digits, int point_count,
                           TrailingEdge trailing_edge);

}  // namespace quilane

#endif  // QUILANE_TOOLS_NACA_SECTION_H_
