#include "engine/quality_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "base/float_chars.h"
#include "base/precondition.h"
#include "engine/contour_spline.h"

namespace quilane {
namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
// A trailing edge open by more than this, in chord units, is blunt.
constexpr double kBluntTrailingEdgeGap = 0.001;
// Distances equal to this relative difference are equal for naming the point
// farthest off.
constexpr double kTieTolerance = 1e-9;
// Pieces per block of the two-level search.
constexpr std::size_t kBlockSize = 16;

// An axis-parallel box; the distance from a point to it bounds from below
// the distance to anything inside it.
struct Box {
  double x_low = std::numeric_limits<double>::infinity();
  double x_high = -std::numeric_limits<double>::infinity();
  double y_low = std::numeric_limits<double>::infinity();
  double y_high = -std::numeric_limits<double>::infinity();

  void Add(double x, double y) {
    x_low = std::min(x_low, x);
    x_high = std::max(x_high, x);
    y_low = std::min(y_low, y);
    y_high = std::max(y_high, y);
  }
  void Add(const Box& other) {
    Add(other.x_low, other.y_low);
    Add(other.x_high, other.y_high);
  }
  double SquaredDistance(double px, double py) const {
    // Two-argument std::max: the list form is not inlined by every compiler
    // (the web build's), and this runs for every box of every new point.
    const double dx = std::max(std::max(x_low - px, px - x_high), 0.0);
    const double dy = std::max(std::max(y_low - py, py - y_high), 0.0);
    return dx * dx + dy * dy;
  }
};

// The spline through the input points with boxes of the Bezier control
// points of every piece, and over blocks of kBlockSize pieces.
struct ContourCurve {
  ContourSpline spline;
  std::vector<Box> boxes;
  std::vector<Box> blocks;
};

ContourCurve BuildCurve(std::span<const double> input_x, std::span<const double> input_y) {
  ContourCurve curve{MakeContourSpline(input_x, input_y, SplineEnds::kNatural), {}, {}};
  curve.boxes.reserve(curve.spline.pieces.size());
  for (std::size_t k = 0; k < curve.spline.pieces.size(); ++k) {
    const SplinePiece& p = curve.spline.pieces[k];
    Box box;
    box.Add(p.ax, p.ay);
    box.Add(p.ax + p.bx / 3, p.ay + p.by / 3);
    box.Add(p.ax + (2 * p.bx + p.cx) / 3, p.ay + (2 * p.by + p.cy) / 3);
    box.Add(p.ax + p.bx + p.cx + p.dx, p.ay + p.by + p.cy + p.dy);
    if (k % kBlockSize == 0) curve.blocks.emplace_back();
    curve.blocks.back().Add(box);
    curve.boxes.push_back(box);
  }
  return curve;
}

// Distance from p to the curve; `hint` is the piece to try first and
// receives the nearest piece.
double DistanceToCurve(const ContourCurve& curve, double px, double py, std::size_t& hint) {
  const std::vector<SplinePiece>& pieces = curve.spline.pieces;
  if (pieces.empty()) return std::hypot(px - curve.spline.knot_x[0], py - curve.spline.knot_y[0]);
  hint = std::min(hint, pieces.size() - 1);
  double best = NearestOnPiece(pieces[hint], px, py).squared_distance;
  for (std::size_t b = 0; b < curve.blocks.size(); ++b) {
    if (curve.blocks[b].SquaredDistance(px, py) >= best) continue;
    const std::size_t end = std::min(pieces.size(), (b + 1) * kBlockSize);
    for (std::size_t k = b * kBlockSize; k < end; ++k) {
      if (k == hint || curve.boxes[k].SquaredDistance(px, py) >= best) continue;
      const double d = NearestOnPiece(pieces[k], px, py).squared_distance;
      if (d < best) {
        best = d;
        hint = k;
      }
    }
  }
  return std::sqrt(best);
}

// A contour whose steps span so many orders of magnitude that its spline
// cannot be formed in double precision (no measured section does that) is
// measured against its points instead: an upper bound of the distance.
double DistanceToNearestPoint(std::span<const double> x, std::span<const double> y, double px,
                              double py) {
  double nearest = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < x.size(); ++i) nearest = std::min(nearest, std::hypot(x[i] - px, y[i] - py));
  return nearest;
}

PanelFigures PanelFiguresOf(std::span<const double> x, std::span<const double> y) {
  PanelFigures figures;
  const std::size_t n = x.size();
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const double length = std::hypot(x[k + 1] - x[k], y[k + 1] - y[k]);
    if (figures.shortest_panel == 0 || length < figures.shortest) {
      figures.shortest = length;
      figures.shortest_panel = static_cast<int>(k) + 1;
    }
    if (figures.longest_panel == 0 || length > figures.longest) {
      figures.longest = length;
      figures.longest_panel = static_cast<int>(k) + 1;
    }
  }
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const double ax = x[i] - x[i - 1], ay = y[i] - y[i - 1];
    const double bx = x[i + 1] - x[i], by = y[i + 1] - y[i];
    const double angle = std::atan2(std::abs(ax * by - ay * bx), ax * bx + ay * by) *
                         kDegreesPerRadian;
    if (figures.largest_angle_point == 0 || angle > figures.largest_angle) {
      figures.largest_angle = angle;
      figures.largest_angle_point = static_cast<int>(i) + 1;
    }
  }
  return figures;
}

std::string Formatted(double value, std::chars_format format, int precision) {
  char buffer[64];
  const auto result = ToChars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, result.ptr);
}

std::string Whole(int value) { return std::to_string(value); }

std::string PanelText(const PanelFigures& figures) {
  // Fewer than three points meet at no angle: one panel, or none.
  if (figures.largest_angle_point == 0) {
    if (figures.longest_panel == 0) return "no panels";
    return "one panel, " + Formatted(figures.longest, std::chars_format::general, 3) + " long";
  }
  return "largest panel angle " + Formatted(figures.largest_angle, std::chars_format::fixed, 1) +
         "\u00B0 at point " + Whole(figures.largest_angle_point) + "; panels " +
         Formatted(figures.shortest, std::chars_format::general, 3) + " to " +
         Formatted(figures.longest, std::chars_format::general, 3);
}

// The report of coordinates whose squares neither overflow nor underflow.
QualityReport MeasureInRange(std::span<const double> input_x, std::span<const double> input_y,
                             std::span<const double> new_x, std::span<const double> new_y) {
  QUILANE_PRECONDITION(!input_x.empty() && input_x.size() == input_y.size() &&
                       new_x.size() == new_y.size());
  QualityReport report;
  report.input_points = PanelFiguresOf(input_x, input_y);
  report.new_points = PanelFiguresOf(new_x, new_y);
  if (!input_x.empty()) {
    const double gap = std::hypot(input_x.back() - input_x.front(),
                                  input_y.back() - input_y.front());
    report.blunt_trailing_edge = gap > kBluntTrailingEdgeGap;
  }
  if (input_x.empty() || new_x.empty()) return report;

  const ContourCurve curve = BuildCurve(input_x, input_y);
  std::size_t hint = 0;
  double sum = 0.0;
  for (std::size_t j = 0; j < new_x.size(); ++j) {
    double d = DistanceToCurve(curve, new_x[j], new_y[j], hint);
    if (!std::isfinite(d)) d = DistanceToNearestPoint(input_x, input_y, new_x[j], new_y[j]);
    sum += d;
    // A later point is named only when it lies farther off by more than the
    // rounding of the arithmetic: the two points of a pair on a symmetric
    // section lie equally far off, and the first is named whatever the last
    // bits of the platform's sine or cosine say.
    if (report.max_deviation_point == 0 || d > report.max_deviation * (1.0 + kTieTolerance)) {
      report.max_deviation_point = static_cast<int>(j) + 1;
      report.max_deviation_x = new_x[j];
    }
    report.max_deviation = std::max(report.max_deviation, d);
  }
  report.mean_deviation = sum / static_cast<double>(new_x.size());
  return report;
}

double LargestMagnitude(std::initializer_list<std::span<const double>> spans) {
  double largest = 0.0;
  for (const std::span<const double> values : spans) {
    for (const double value : values) largest = std::max(largest, std::abs(value));
  }
  return largest;
}

std::vector<double> Scaled(std::span<const double> values, int exponent) {
  std::vector<double> scaled(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) scaled[i] = std::ldexp(values[i], exponent);
  return scaled;
}

void ScalePanels(PanelFigures& figures, int exponent) {
  figures.shortest = std::ldexp(figures.shortest, exponent);
  figures.longest = std::ldexp(figures.longest, exponent);
}

}  // namespace

QualityReport MeasureQuality(std::span<const double> input_x, std::span<const double> input_y,
                             std::span<const double> new_x, std::span<const double> new_y) {
  // Coordinates near the ends of the double range are measured scaled by a
  // power of two (exact), so that no square overflows or underflows.
  const double largest = LargestMagnitude({input_x, input_y, new_x, new_y});
  if (largest <= 1e150 && (largest >= 1e-150 || largest == 0.0)) {
    return MeasureInRange(input_x, input_y, new_x, new_y);
  }
  int exponent = 0;
  std::frexp(largest, &exponent);
  const std::vector<double> ix = Scaled(input_x, -exponent), iy = Scaled(input_y, -exponent);
  const std::vector<double> nx = Scaled(new_x, -exponent), ny = Scaled(new_y, -exponent);
  QualityReport report = MeasureInRange(ix, iy, nx, ny);
  report.max_deviation = std::ldexp(report.max_deviation, exponent);
  report.mean_deviation = std::ldexp(report.mean_deviation, exponent);
  if (report.max_deviation_point > 0) report.max_deviation_x = new_x[report.max_deviation_point - 1];
  ScalePanels(report.new_points, exponent);
  ScalePanels(report.input_points, exponent);
  if (!input_x.empty()) {
    report.blunt_trailing_edge =
        std::hypot(input_x.back() - input_x.front(), input_y.back() - input_y.front()) >
        kBluntTrailingEdgeGap;
  }
  return report;
}

std::string DescribeReport(const QualityReport& report) {
  return "max deviation " + Formatted(report.max_deviation, std::chars_format::scientific, 1) +
         " chord at new point " + Whole(report.max_deviation_point) + ", mean " +
         Formatted(report.mean_deviation, std::chars_format::scientific, 1) + "; " +
         PanelText(report.new_points) + "; input: " + PanelText(report.input_points) +
         (report.on_spline ? "; new points on a spline through the input" : "");
}

std::string QualityWarning(const QualityReport& report, std::string_view on_spline_action) {
  if (!(report.max_deviation > kDeviationWarningLevel)) return {};
  std::string text = "new points lie up to " +
                     Formatted(report.max_deviation * 100, std::chars_format::general, 2) +
                     " % of the chord off the contour near point " +
                     Whole(report.max_deviation_point);
  if (report.blunt_trailing_edge && report.max_deviation_x >= 0.9) {
    text += "; the trailing edge is blunt";
  }
  if (!report.on_spline) {
    text += "; to place them on a spline through the input, ";
    text += on_spline_action;
  }
  return text;
}

}  // namespace quilane
