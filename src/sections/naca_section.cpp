#include "sections/naca_section.h"

#include <array>
#include <cmath>
#include <utility>

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

  std::string name = "NACA " + std::string(digits);
  if (trailing_edge == TrailingEdge::kBlunt) name += " blunt trailing edge";
  return PlaceSectionPoints(std::move(name), point_count, shape);
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
  std::string full_name = name;
  if (trailing_edge == TrailingEdge::kBlunt) full_name += " blunt trailing edge";
  return PlaceSectionPoints(std::move(full_name), point_count, shape);
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
