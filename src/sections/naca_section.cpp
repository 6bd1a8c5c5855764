#include "sections/naca_section.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "base/float_chars.h"

namespace quilane {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) { return c - '0'; }

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// The published mean-line constants, by the position digit P = 1..5.
constexpr std::array<Naca5MeanLineConstants, 5> kStandardLines = {{
    {0.0580, 361.400, 0.0},
    {0.1260, 51.640, 0.0},
    {0.2025, 15.957, 0.0},
    {0.2900, 6.643, 0.0},
    {0.3910, 3.230, 0.0},
}};
constexpr std::array<Naca5MeanLineConstants, 5> kReflexedLines = {{
    {0.0, 0.0, 0.0},  // no reflexed line 211
    {0.1300, 51.990, 0.000764},
    {0.2170, 15.793, 0.00677},
    {0.3180, 6.520, 0.0303},
    {0.4410, 4.770, 0.1355},
}};

std::string WholeText(int value) {
  char text[16];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// value with `digits` significant digits.
std::string NumberText(double value, int digits) {
  char text[32];
  return std::string(
      text, ToChars(text, text + sizeof text, value, std::chars_format::general, digits).ptr);
}

// a and b with the fewest significant digits (3 at least) that tell them apart.
std::pair<std::string, std::string> DistinctTexts(double a, double b) {
  int digits = 3;
  while (digits < 17 && a != b && NumberText(a, digits) == NumberText(b, digits)) ++digits;
  return {NumberText(a, digits), NumberText(b, digits)};
}

// Where the contour of a generated section is no proper section, as the
// end of a sentence ("its lower surface turns back towards the trailing edge
// between points 19 and 20 (x rises from 0.889 to 0.89)"), or "". Proper: x
// falls strictly from point 1 to the point of smallest x (the nose, never an
// end point) and rises strictly from it to the last point; only the two points
// at the smallest x may share it. A thickness laid perpendicular to a mean
// line turns back where it exceeds the mean line's radius of curvature, or
// near the trailing edge when it is large and the mean line steep there, and
// the surface then loops over itself.
std::string ContourFault(const AirfoilSection& section) {
  const auto& x = section.x;
  const int count = static_cast<int>(x.size());
  QUILANE_PRECONDITION(count >= 3 && section.y.size() == x.size());
  int nose = 1;  // an end point is never the nose: x falls after point 1
  for (int i = 2; i < count - 1; ++i) {
    if (x[i] < x[nose]) nose = i;
  }
  for (int i = 0; i + 1 < count; ++i) {
    const bool falls = i < nose;
    const bool rises = x[i + 1] > x[i] || (i == nose && x[i + 1] == x[i]);
    if (falls ? x[i + 1] < x[i] : rises) continue;
    const auto [from, to] = DistinctTexts(x[i], x[i + 1]);
    const std::string change = x[i] == x[i + 1]
                                   ? "stays at " + from
                                   : (falls ? "rises from " : "falls from ") + from + " to " + to;
    return std::string(i < (count - 1) / 2 ? "its lower surface" : "its upper surface") +
           (falls ? " turns back towards the trailing edge" : " turns back towards the nose") +
           " between points " + WholeText(i + 1) + " and " + WholeText(i + 2) + " (x " + change +
           ")";
  }
  return "";
}

// The section "NACA <digits>" of shape, refused when its contour is no
// proper section at point_count points (the blunt edge can decide it).
Expected<AirfoilSection> GenerateSection(std::string_view digits, int point_count,
                                         TrailingEdge trailing_edge, const SectionShape& shape) {
  const bool blunt = trailing_edge == TrailingEdge::kBlunt;
  const std::string designation = "NACA " + std::string(digits);
  AirfoilSection section =
      PlaceSectionPoints(designation + (blunt ? " blunt trailing edge" : ""), point_count, shape);
  const std::string fault = ContourFault(section);
  if (fault.empty()) return section;
  return Refusal(RefusalCode::kUnknownSection,
                 designation + (blunt ? " with a blunt trailing edge" : "") +
                     " gives no proper section with " + WholeText(point_count) +
                     " points: " + fault +
                     ", as its thickness and camber are too large for the formula; choose a "
                     "thinner section or less camber.");
}

}  // namespace

AirfoilSection PlaceSectionPoints(std::string name, int point_count,
                                  const SectionShape& shape) {
  AirfoilSection section;
  section.name = std::move(name);
  section.x.reserve(point_count);
  section.y.reserve(point_count);
  const int steps = point_count - 1;
  for (int i = 1; i <= point_count; ++i) {
    const int s = 2 * (i - 1) - steps;
    const double side = s < 0 ? -1.0 : (s > 0 ? 1.0 : 0.0);
    const int distance = s < 0 ? -s : s;
    const double station = (1.0 - std::cos(kPi * distance / steps)) / 2.0;
    const double thickness = shape.half_thickness(station);
    const MeanLinePoint mean = shape.mean_line(station);
    const double theta = std::atan(mean.slope);
    section.x.push_back(station - side * thickness * std::sin(theta));
    section.y.push_back(mean.y + side * thickness * std::cos(theta));
  }
  return section;
}

double Naca4HalfThickness(double t, double x, TrailingEdge trailing_edge) {
  const bool sharp = trailing_edge == TrailingEdge::kSharp;
  // The closed-edge coefficients sum to zero; evaluated they leave -3e-17.
  if (sharp && x >= 1.0) return 0.0;
  const double a4 = sharp ? 0.1036 : 0.1015;
  return 5.0 * t *
         (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x +
          0.2843 * x * x * x - a4 * x * x * x * x);
}

MeanLinePoint Naca4MeanLine(double m, double p, double x) {
  if (m == 0.0) return {};
  if (x < p) {
    return {m * x * (2.0 * p - x) / (p * p), 2.0 * m * (p - x) / (p * p)};
  }
  const double aft = (1.0 - p) * (1.0 - p);
  return {m * (1.0 - x) * (1.0 + x - 2.0 * p) / aft, 2.0 * m * (p - x) / aft};
}

Expected<AirfoilSection> Naca4Section(std::string_view digits, int point_count,
                                      TrailingEdge trailing_edge) {
  const auto refuse = [](std::string message) {
    return Refusal(RefusalCode::kUnknownSection, std::move(message) + ".");
  };
  if (digits.size() != 4 || !IsDigit(digits[0]) || !IsDigit(digits[1]) ||
      !IsDigit(digits[2]) || !IsDigit(digits[3])) {
    return refuse("A 4-digit section needs exactly four digits, not \"" +
                  std::string(digits) + "\"");
  }
  const int camber = DigitValue(digits[0]);
  const int position = DigitValue(digits[1]);
  const int thickness = 10 * DigitValue(digits[2]) + DigitValue(digits[3]);
  if (thickness == 0) {
    return refuse("NACA " + std::string(digits) + " has no thickness");
  }
  if (camber > 0 && position == 0) {
    return refuse("NACA " + std::string(digits) +
                  " has camber but no camber position");
  }
  if (point_count < 3) {
    return refuse("A section needs at least 3 points");
  }

  const double m = camber / 100.0;
  const double p = position / 10.0;
  const double t = thickness / 100.0;
  SectionShape shape;
  shape.half_thickness = [t, trailing_edge](double x) {
    return Naca4HalfThickness(t, x, trailing_edge);
  };
  shape.mean_line = [m, p](double x) { return Naca4MeanLine(m, p, x); };
  return GenerateSection(digits, point_count, trailing_edge, shape);
}

bool Naca5Constants(int position_digit, bool reflexed, Naca5MeanLineConstants& constants) {
  if (position_digit < 1 || position_digit > 5) return false;
  const Naca5MeanLineConstants& line =
      (reflexed ? kReflexedLines : kStandardLines)[static_cast<std::size_t>(position_digit - 1)];
  if (line.k1 == 0.0) return false;
  constants = line;
  return true;
}

MeanLinePoint Naca5MeanLine(const Naca5MeanLineConstants& constants, double lift_scale,
                            double x) {
  const double m = constants.m;
  const double k = lift_scale * constants.k1 / 6.0;
  const double r = constants.k2_over_k1;
  const double m3 = m * m * m;
  if (r == 0.0) {
    if (x < m) {
      return {k * x * (x * x - 3.0 * m * x + m * m * (3.0 - m)),
              k * (3.0 * x * x - 6.0 * m * x + m * m * (3.0 - m))};
    }
    return {k * m3 * (1.0 - x), -k * m3};
  }
  const double aft3 = (1.0 - m) * (1.0 - m) * (1.0 - m);
  const double d = x - m;
  if (x < m) {
    return {k * (d * d * d + m3 * (1.0 - x) - r * aft3 * x),
            k * (3.0 * d * d - m3 - r * aft3)};
  }
  return {k * (r * (d * d * d - aft3 * x) + m3 * (1.0 - x)),
          k * (3.0 * r * d * d - r * aft3 - m3)};
}

Expected<AirfoilSection> Naca5Section(std::string_view digits, int point_count,
                                      TrailingEdge trailing_edge) {
  const auto refuse = [](std::string message) {
    return Refusal(RefusalCode::kUnknownSection, std::move(message) + ".");
  };
  if (digits.size() != 5 || !AllDigits(digits)) {
    return refuse("A 5-digit section needs exactly five digits, not \"" +
                  std::string(digits) + "\"");
  }
  const std::string name = "NACA " + std::string(digits);
  const int lift = DigitValue(digits[0]);
  const int position = DigitValue(digits[1]);
  const int reflex = DigitValue(digits[2]);
  const int thickness = 10 * DigitValue(digits[3]) + DigitValue(digits[4]);
  if (lift == 0) {
    return refuse(name + " has no design lift (its first digit is 0)");
  }
  Naca5MeanLineConstants constants;
  if (reflex > 1 || !Naca5Constants(position, reflex == 1, constants)) {
    return refuse(name + " has no published mean line " + std::string(digits.substr(0, 3)) +
                  " (standard lines are 210 to 250, reflexed ones 221 to 251)");
  }
  if (thickness == 0) {
    return refuse(name + " has no thickness");
  }
  if (point_count < 3) {
    return refuse("A section needs at least 3 points");
  }

  const double t = thickness / 100.0;
  const double lift_scale = lift / 2.0;
  SectionShape shape;
  shape.half_thickness = [t, trailing_edge](double x) {
    return Naca4HalfThickness(t, x, trailing_edge);
  };
  shape.mean_line = [constants, lift_scale](double x) {
    return Naca5MeanLine(constants, lift_scale, x);
  };
  return GenerateSection(digits, point_count, trailing_edge, shape);
}

Expected<AirfoilSection> NacaSection(std::string_view designation, int point_count,
                                     TrailingEdge trailing_edge) {
  std::string_view digits = designation;
  while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t')) {
    digits.remove_prefix(1);
  }
  if (digits.size() >= 4 && (digits[0] == 'N' || digits[0] == 'n') &&
      (digits[1] == 'A' || digits[1] == 'a') && (digits[2] == 'C' || digits[2] == 'c') &&
      (digits[3] == 'A' || digits[3] == 'a')) {
    digits.remove_prefix(4);
    while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t' ||
                               digits.front() == '-' || digits.front() == '_')) {
      digits.remove_prefix(1);
    }
  }
  while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t')) {
    digits.remove_suffix(1);
  }
  if (AllDigits(digits) && digits.size() == 4) {
    return Naca4Section(digits, point_count, trailing_edge);
  }
  if (AllDigits(digits) && digits.size() == 5) {
    return Naca5Section(digits, point_count, trailing_edge);
  }
  return Refusal(RefusalCode::kUnknownSection,
                 "\"" + std::string(designation) +
                     "\" is not a NACA 4- or 5-digit designation (such as 2412 or 23012).");
}

}  // namespace quilane
