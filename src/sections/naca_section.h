// NACA sections from their published equations, as contours in the program's
// point order: point 1 at the trailing edge, the lower surface to the nose,
// the upper surface back to the trailing edge.
//
// A section is a thickness distribution laid perpendicular to a mean line.
// The placement of the points around the contour is shared
// (PlaceSectionPoints); each family supplies its thickness and mean line, so
// a 5-digit generator sits beside Naca4Section with its own mean line.
#ifndef QUILANE_SECTIONS_NACA_SECTION_H_
#define QUILANE_SECTIONS_NACA_SECTION_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"

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
// Formula (the points off the mean line) from Abbott and von Doenhoff, Theory of
// Wing Sections (1959), ch. 6; the cosine spacing of x_s is not from it.
AirfoilSection PlaceSectionPoints(std::string name, int point_count,
                                  const SectionShape& shape);

// Half thickness of a 4-digit section of thickness ratio t at station x:
//   y_t = 5 t (0.2969 sqrt(x) - 0.1260 x - 0.3516 x^2 + 0.2843 x^3 - a4 x^4),
// a4 = 0.1036 for a sharp trailing edge (exactly 0 at x = 1; the rounding of
// the coefficients' sum is not let through), 0.1015 for a blunt one
// (0.0021 * 5t at x = 1). Maximum 0.5 t near x = 0.3.
// Formula from NACA Report No. 460 (Jacobs, Ward and Pinkerton, 1933) and Abbott and
// von Doenhoff, ch. 6, both with a4 = 0.1015; neither gives the sharp edge's 0.1036.
double Naca4HalfThickness(double t, double x, TrailingEdge trailing_edge);

// Mean line of maximum camber m at chord position p (0 < p < 1):
//   x <  p: y_c = m x (2p - x) / p^2,              dy_c/dx = 2m (p - x) / p^2
//   x >= p: y_c = m (1 - x)(1 + x - 2p) / (1 - p)^2, dy_c/dx = 2m (p - x) / (1 - p)^2
// (the published forms regrouped so that y_c is exactly 0 at both ends).
// Maximum m at x = p. m = 0 gives the straight chord line for any p.
// Formula from NACA Report No. 460 and Abbott and von Doenhoff, ch. 6.
MeanLinePoint Naca4MeanLine(double m, double p, double x);

// The 4-digit section of designation digits "MPTT" (maximum camber M % of the
// chord at P tenths, thickness TT %) with point_count points. The name is
// "NACA MPTT", followed by " blunt trailing edge" for a blunt one.
// Refused (kUnknownSection, a sentence naming the designation): digits that
// are not exactly four decimal digits, zero thickness,
// camber without a camber position (M > 0, P = 0), point_count < 3, and a
// contour whose surfaces fold back in x: "NACA 9999 gives no
// proper section with 201 points: <fault>, as its thickness and camber are
// too large for the formula; choose a thinner section or less camber.", with
// " with a blunt trailing edge" after the designation for a blunt one.
Expected<AirfoilSection> Naca4Section(std::string_view digits, int point_count,
                                      TrailingEdge trailing_edge);

// The published constants of a 5-digit mean line for the design lift
// coefficient 0.3: the mean line's break point m, the factor k1 and, for a
// reflexed line, the ratio k2/k1 (0 for a standard line).
struct Naca5MeanLineConstants {
  double m = 0.0;
  double k1 = 0.0;
  double k2_over_k1 = 0.0;
};

// Constants of the mean line with maximum camber at P/20 of the chord:
// standard (210..250) P = 1..5: m = 0.0580, 0.1260, 0.2025, 0.2900, 0.3910,
// k1 = 361.400, 51.640, 15.957, 6.643, 3.230; reflexed (221..251) P = 2..5:
// m = 0.1300, 0.2170, 0.3180, 0.4410, k1 = 51.990, 15.793, 6.520, 4.770,
// k2/k1 = 0.000764, 0.00677, 0.0303, 0.1355. False for any other P (and P = 1
// reflexed), which has no published line.
// The standard lines' constants are from NACA Report No. 537 (Jacobs and Pinkerton, 1935)
// and Abbott and von Doenhoff, ch. 6; no source is cited here for the reflexed lines'.
bool Naca5Constants(int position_digit, bool reflexed, Naca5MeanLineConstants& constants);

// Mean line of a 5-digit section, for the design lift coefficient 0.3, scaled
// by `lift_scale` (design lift / 0.3; the first digit L gives 0.15 L, so
// L / 2). With c = constants and r = k2/k1:
//   standard, x <  m: y_c = k1/6 x (x^2 - 3m x + m^2 (3 - m)),
//                     dy_c/dx = k1/6 (3x^2 - 6m x + m^2 (3 - m))
//   standard, x >= m: y_c = k1 m^3/6 (1 - x),  dy_c/dx = -k1 m^3/6
//   reflexed, x <  m: y_c = k1/6 ((x - m)^3 + m^3 (1 - x) - r (1 - m)^3 x),
//                     dy_c/dx = k1/6 (3 (x - m)^2 - m^3 - r (1 - m)^3)
//   reflexed, x >= m: y_c = k1/6 (r ((x - m)^3 - (1 - m)^3 x) + m^3 (1 - x)),
//                     dy_c/dx = k1/6 (3r (x - m)^2 - r (1 - m)^3 - m^3)
// (the published forms regrouped so that y_c is exactly 0 at both ends).
// Formula of the standard line from NACA Report No. 537 and Abbott and von Doenhoff,
// ch. 6; no source is cited here for the reflexed line's.
MeanLinePoint Naca5MeanLine(const Naca5MeanLineConstants& constants, double lift_scale,
                            double x);

// The 5-digit section of designation digits "LPQTT" (design lift coefficient
// 0.15 L, maximum camber near P/20 of the chord, Q = 0 standard or 1
// reflexed mean line, thickness TT %, the 4-digit thickness) with
// point_count points. The name is "NACA LPQTT", followed by " blunt trailing
// edge" for a blunt one. Refused: digits that are not exactly five decimal
// digits, L = 0 (no design lift), a P and Q with no published mean line
// (P = 0 or above 5, P = 1 reflexed, Q above 1), zero thickness,
// point_count < 3, and a contour that is no proper section, as for
// Naca4Section.
Expected<AirfoilSection> Naca5Section(std::string_view digits, int point_count,
                                      TrailingEdge trailing_edge);

// A section by its designation, 4 or 5 digits, with or without "NACA" in
// front in any case and blanks between ("2412", "NACA 23012", "naca23112").
// Refused, besides the refusals of the two generators: a designation that is
// neither.
Expected<AirfoilSection> NacaSection(std::string_view designation, int point_count,
                                     TrailingEdge trailing_edge);

}  // namespace quilane

#endif  // QUILANE_SECTIONS_NACA_SECTION_H_
