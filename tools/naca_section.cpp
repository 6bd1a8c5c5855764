#include "tools/naca_section.h"

#include <cmath>
#include <utility>

namespace quilane {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) { return c - '0'; }

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

SectionResult Naca4Section(std::string_view digits, int point_count,
                           TrailingEdge trailing_edge) {
  const auto refuse = [](std::string message) {
    return SectionResult{false, std::move(message), {}};
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
  return {true, "", PlaceSectionPoints(std::move(name), point_count, shape)};
}

}  // namespace quilane
