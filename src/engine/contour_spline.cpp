#include "engine/contour_spline.h"

#include <algorithm>
#include <cmath>

#include "base/precondition.h"

namespace quilane {
namespace {

// Second derivatives at the knots of the cubic spline through (s, f). The
// interior equations
//   h[k-1] M[k-1] + 2 (h[k-1] + h[k]) M[k] + h[k] M[k+1] = 6 (delta[k] - delta[k-1])
// (h the knot steps, delta the divided differences) are closed by M = 0 at
// both ends (natural), or by M[0] = (1 + r0) M[1] - r0 M[2], r0 = h[0] / h[1],
// and its mirror at the far end (not-a-knot: third derivative continuous
// across knots 1 and m-2); substituting them leaves a tridiagonal system in
// M[1..m-2], solved by the Thomas algorithm (de Boor, A Practical Guide to
// Splines, ch. IV).
void SecondDerivatives(const std::vector<double>& s, const std::vector<double>& f, SplineEnds ends,
                       std::vector<double>& m) {
  const bool not_a_knot = ends == SplineEnds::kNotAKnot;
  const std::size_t n = s.size();
  m.assign(n, 0.0);
  if (n < 3) return;
  if (n == 3 && not_a_knot) {
    // One parabola through the three knots: M constant, twice its leading coefficient.
    const double d0 = (f[1] - f[0]) / (s[1] - s[0]);
    const double d1 = (f[2] - f[1]) / (s[2] - s[1]);
    std::fill(m.begin(), m.end(), 2 * (d1 - d0) / (s[2] - s[0]));
    return;
  }
  std::vector<double> h(n - 1);
  for (std::size_t k = 0; k + 1 < n; ++k) h[k] = s[k + 1] - s[k];
  std::vector<double> below(n, 0.0), diagonal(n, 0.0), above(n, 0.0), right(n, 0.0);
  for (std::size_t k = 1; k + 1 < n; ++k) {
    below[k] = h[k - 1];
    diagonal[k] = 2 * (h[k - 1] + h[k]);
    above[k] = h[k];
    right[k] = 6 * ((f[k + 1] - f[k]) / h[k] - (f[k] - f[k - 1]) / h[k - 1]);
  }
  const double r0 = not_a_knot ? h[0] / h[1] : 0.0;
  const double r1 = not_a_knot ? h[n - 2] / h[n - 3] : 0.0;
  if (not_a_knot) {
    diagonal[1] += h[0] * (1 + r0);
    above[1] -= h[0] * r0;
    diagonal[n - 2] += h[n - 2] * (1 + r1);
    below[n - 2] -= h[n - 2] * r1;
  }
  for (std::size_t k = 2; k + 1 < n; ++k) {
    const double factor = below[k] / diagonal[k - 1];
    diagonal[k] -= factor * above[k - 1];
    right[k] -= factor * right[k - 1];
  }
  m[n - 2] = right[n - 2] / diagonal[n - 2];
  for (std::size_t k = n - 3; k >= 1; --k) m[k] = (right[k] - above[k] * m[k + 1]) / diagonal[k];
  if (not_a_knot) {
    m[0] = (1 + r0) * m[1] - r0 * m[2];
    m[n - 1] = (1 + r1) * m[n - 2] - r1 * m[n - 3];
  }
}

}  // namespace

ContourSpline MakeContourSpline(std::span<const double> input_x, std::span<const double> input_y,
                                SplineEnds ends) {
  QUILANE_PRECONDITION(input_x.size() == input_y.size());
  ContourSpline curve;
  std::vector<double>& x = curve.knot_x;
  std::vector<double>& y = curve.knot_y;
  curve.knot_of_point.reserve(input_x.size());
  for (std::size_t i = 0; i < input_x.size(); ++i) {
    if (x.empty() || input_x[i] != x.back() || input_y[i] != y.back()) {
      x.push_back(input_x[i]);
      y.push_back(input_y[i]);
    }
    curve.knot_of_point.push_back(x.size() - 1);
  }
  const std::size_t n = x.size();
  std::vector<double>& s = curve.knot_s;
  s.assign(n, 0.0);
  for (std::size_t k = 1; k < n; ++k) {
    s[k] = s[k - 1] + std::hypot(x[k] - x[k - 1], y[k] - y[k - 1]);
  }
  if (n < 2) return curve;
  std::vector<double> mx, my;
  SecondDerivatives(s, x, ends, mx);
  SecondDerivatives(s, y, ends, my);

  curve.pieces.reserve(n - 1);
  for (std::size_t k = 0; k + 1 < n; ++k) {
    // Over t = (s - s[k]) / h: f(t) = f0 + (h delta - h^2 (2 M0 + M1) / 6) t
    //                                + h^2 M0 / 2 t^2 + h^2 (M1 - M0) / 6 t^3.
    const double h = s[k + 1] - s[k];
    const double hh = h * h;
    SplinePiece piece;
    piece.ax = x[k];
    piece.bx = (x[k + 1] - x[k]) - hh * (2 * mx[k] + mx[k + 1]) / 6;
    piece.cx = hh * mx[k] / 2;
    piece.dx = hh * (mx[k + 1] - mx[k]) / 6;
    piece.ay = y[k];
    piece.by = (y[k + 1] - y[k]) - hh * (2 * my[k] + my[k + 1]) / 6;
    piece.cy = hh * my[k] / 2;
    piece.dy = hh * (my[k + 1] - my[k]) / 6;
    curve.pieces.push_back(piece);
  }
  return curve;
}

PiecePoint NearestOnPiece(const SplinePiece& piece, double px, double py, double from, double to) {
  constexpr int kSamples = 4;
  PiecePoint start{from, piece.SquaredDistance(from, px, py)};
  for (int i = 1; i <= kSamples; ++i) {
    const double t = i == kSamples ? to : from + (to - from) * i / kSamples;
    const double d = piece.SquaredDistance(t, px, py);
    if (d < start.squared_distance) start = {t, d};
  }
  // Newton's iterate, not the one of smallest computed distance: at the
  // minimum the distance is flat to rounding, and only the root of its
  // derivative is the same point for the same curve in any units.
  double t = start.t;
  for (int step = 0; step < 16; ++step) {
    const double ex = piece.X(t) - px;
    const double ey = piece.Y(t) - py;
    const double vx = (3 * piece.dx * t + 2 * piece.cx) * t + piece.bx;
    const double vy = (3 * piece.dy * t + 2 * piece.cy) * t + piece.by;
    const double wx = 6 * piece.dx * t + 2 * piece.cx;
    const double wy = 6 * piece.dy * t + 2 * piece.cy;
    const double slope = ex * vx + ey * vy;
    const double curvature = vx * vx + vy * vy + ex * wx + ey * wy;
    if (!(curvature > 0)) break;
    const double next = std::clamp(t - slope / curvature, from, to);
    const bool settled = std::abs(next - t) < 1e-14;
    t = next;
    if (settled) break;
  }
  const double d = piece.SquaredDistance(t, px, py);
  return d <= start.squared_distance * (1 + 1e-12) ? PiecePoint{t, d} : start;
}

}  // namespace quilane
