#include "engine/quality_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "base/precondition.h"

namespace quilane {
namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
// A trailing edge open by more than this, in chord units, is blunt.
constexpr double kBluntTrailingEdgeGap = 0.001;
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
    const double dx = std::max({x_low - px, 0.0, px - x_high});
    const double dy = std::max({y_low - py, 0.0, py - y_high});
    return dx * dx + dy * dy;
  }
};

// One piece of the spline in power form over t in 0..1:
// B(t) = a + b t + c t^2 + d t^3, and the box of its Bezier control points.
struct Piece {
  double ax, bx, cx, dx;
  double ay, by, cy, dy;
  Box box;

  double SquaredDistance(double t, double px, double py) const {
    const double x = ((dx * t + cx) * t + bx) * t + ax - px;
    const double y = ((dy * t + cy) * t + by) * t + ay - py;
    return x * x + y * y;
  }
};

// The spline through the distinct input points, piece by piece, with boxes
// over blocks of kBlockSize pieces.
struct ContourCurve {
  std::vector<Piece> pieces;
  std::vector<Box> blocks;
  double only_x = 0.0;  // the one point of a contour without pieces
  double only_y = 0.0;
};

// Second derivatives of the natural cubic spline through (s, x) and (s, y)
// at every knot (0 at both ends), by the tridiagonal (Thomas) algorithm.
void NaturalSecondDerivatives(const std::vector<double>& s, const std::vector<double>& x,
                              const std::vector<double>& y, std::vector<double>& mx,
                              std::vector<double>& my) {
  const std::size_t m = s.size();
  mx.assign(m, 0.0);
  my.assign(m, 0.0);
  if (m < 3) return;
  std::vector<double> diagonal(m, 0.0);
  std::vector<double> rx(m, 0.0);
  std::vector<double> ry(m, 0.0);
  for (std::size_t k = 1; k + 1 < m; ++k) {
    const double h0 = s[k] - s[k - 1];
    const double h1 = s[k + 1] - s[k];
    diagonal[k] = 2 * (h0 + h1);
    rx[k] = 6 * ((x[k + 1] - x[k]) / h1 - (x[k] - x[k - 1]) / h0);
    ry[k] = 6 * ((y[k + 1] - y[k]) / h1 - (y[k] - y[k - 1]) / h0);
  }
  // Forward elimination: row k has h0 below, diagonal, h1 above.
  for (std::size_t k = 2; k + 1 < m; ++k) {
    const double below = s[k] - s[k - 1];
    const double factor = below / diagonal[k - 1];
    diagonal[k] -= factor * below;
    rx[k] -= factor * rx[k - 1];
    ry[k] -= factor * ry[k - 1];
  }
  for (std::size_t k = m - 2; k >= 1; --k) {
    const double above = s[k + 1] - s[k];
    mx[k] = (rx[k] - above * mx[k + 1]) / diagonal[k];
    my[k] = (ry[k] - above * my[k + 1]) / diagonal[k];
  }
}

ContourCurve BuildCurve(std::span<const double> input_x, std::span<const double> input_y) {
  ContourCurve curve;
  std::vector<double> x;
  std::vector<double> y;
  for (std::size_t i = 0; i < input_x.size(); ++i) {
    if (!x.empty() && input_x[i] == x.back() && input_y[i] == y.back()) continue;
    x.push_back(input_x[i]);
    y.push_back(input_y[i]);
  }
  if (x.empty()) return curve;
  curve.only_x = x.front();
  curve.only_y = y.front();
  const std::size_t m = x.size();
  std::vector<double> s(m, 0.0);
  for (std::size_t k = 1; k < m; ++k) s[k] = s[k - 1] + std::hypot(x[k] - x[k - 1], y[k] - y[k - 1]);
  std::vector<double> mx;
  std::vector<double> my;
  NaturalSecondDerivatives(s, x, y, mx, my);

  curve.pieces.reserve(m - 1);
  for (std::size_t k = 0; k + 1 < m; ++k) {
    const double h = s[k + 1] - s[k];
    // Slopes d/ds at both ends of the piece, then the Bezier control points.
    const double sx0 = (x[k + 1] - x[k]) / h - h * (2 * mx[k] + mx[k + 1]) / 6;
    const double sy0 = (y[k + 1] - y[k]) / h - h * (2 * my[k] + my[k + 1]) / 6;
    const double sx1 = (x[k + 1] - x[k]) / h + h * (mx[k] + 2 * mx[k + 1]) / 6;
    const double sy1 = (y[k + 1] - y[k]) / h + h * (my[k] + 2 * my[k + 1]) / 6;
    const double p0x = x[k], p0y = y[k];
    const double p1x = x[k] + h * sx0 / 3, p1y = y[k] + h * sy0 / 3;
    const double p2x = x[k + 1] - h * sx1 / 3, p2y = y[k + 1] - h * sy1 / 3;
    const double p3x = x[k + 1], p3y = y[k + 1];
    Piece piece;
    piece.ax = p0x;
    piece.bx = 3 * (p1x - p0x);
    piece.cx = 3 * (p2x - 2 * p1x + p0x);
    piece.dx = p3x - 3 * p2x + 3 * p1x - p0x;
    piece.ay = p0y;
    piece.by = 3 * (p1y - p0y);
    piece.cy = 3 * (p2y - 2 * p1y + p0y);
    piece.dy = p3y - 3 * p2y + 3 * p1y - p0y;
    piece.box.Add(p0x, p0y);
    piece.box.Add(p1x, p1y);
    piece.box.Add(p2x, p2y);
    piece.box.Add(p3x, p3y);
    if (k % kBlockSize == 0) curve.blocks.emplace_back();
    curve.blocks.back().Add(piece.box);
    curve.pieces.push_back(piece);
  }
  return curve;
}

// Smallest squared distance from p to the piece: the best of five samples,
// then Newton steps on the derivative of the squared distance from there.
double SquaredDistanceToPiece(const Piece& piece, double px, double py) {
  constexpr int kSamples = 4;
  double best_t = 0.0;
  double best = piece.SquaredDistance(0.0, px, py);
  for (int i = 1; i <= kSamples; ++i) {
    const double t = static_cast<double>(i) / kSamples;
    const double d = piece.SquaredDistance(t, px, py);
    if (d < best) {
      best = d;
      best_t = t;
    }
  }
  double t = best_t;
  for (int step = 0; step < 8; ++step) {
    const double ex = ((piece.dx * t + piece.cx) * t + piece.bx) * t + piece.ax - px;
    const double ey = ((piece.dy * t + piece.cy) * t + piece.by) * t + piece.ay - py;
    const double vx = (3 * piece.dx * t + 2 * piece.cx) * t + piece.bx;
    const double vy = (3 * piece.dy * t + 2 * piece.cy) * t + piece.by;
    const double wx = 6 * piece.dx * t + 2 * piece.cx;
    const double wy = 6 * piece.dy * t + 2 * piece.cy;
    const double slope = ex * vx + ey * vy;
    const double curvature = vx * vx + vy * vy + ex * wx + ey * wy;
    if (!(curvature > 0)) break;
    const double next = std::clamp(t - slope / curvature, 0.0, 1.0);
    const double d = piece.SquaredDistance(next, px, py);
    if (d < best) best = d;
    if (std::abs(next - t) < 1e-9) break;
    t = next;
  }
  return best;
}

// Distance from p to the curve; `hint` is the piece to try first and
// receives the nearest piece.
double DistanceToCurve(const ContourCurve& curve, double px, double py, std::size_t& hint) {
  if (curve.pieces.empty()) return std::hypot(px - curve.only_x, py - curve.only_y);
  hint = std::min(hint, curve.pieces.size() - 1);
  double best = SquaredDistanceToPiece(curve.pieces[hint], px, py);
  for (std::size_t b = 0; b < curve.blocks.size(); ++b) {
    if (curve.blocks[b].SquaredDistance(px, py) >= best) continue;
    const std::size_t end = std::min(curve.pieces.size(), (b + 1) * kBlockSize);
    for (std::size_t k = b * kBlockSize; k < end; ++k) {
      const Piece& piece = curve.pieces[k];
      if (k == hint || piece.box.SquaredDistance(px, py) >= best) continue;
      const double d = SquaredDistanceToPiece(piece, px, py);
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
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, result.ptr);
}

std::string Whole(int value) { return std::to_string(value); }

std::string PanelText(const PanelFigures& figures) {
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
    if (report.max_deviation_point == 0 || d > report.max_deviation) {
      report.max_deviation = d;
      report.max_deviation_point = static_cast<int>(j) + 1;
      report.max_deviation_x = new_x[j];
    }
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
         PanelText(report.new_points) + "; input: " + PanelText(report.input_points);
}

std::string QualityWarning(const QualityReport& report) {
  if (!(report.max_deviation > kDeviationWarningLevel)) return {};
  std::string text = "new points lie up to " +
                     Formatted(report.max_deviation * 100, std::chars_format::general, 2) +
                     " % of the chord off the contour near point " +
                     Whole(report.max_deviation_point);
  if (report.blunt_trailing_edge && report.max_deviation_x >= 0.9) {
    text += "; the trailing edge is blunt";
  }
  return text;
}

}  // namespace quilane
