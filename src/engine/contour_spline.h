// A smooth curve through the points of a contour: x and y each a cubic
// spline over the length of the polygon through the points (chord-length
// parametrisation), C2 everywhere, passing through every point. Successive
// points that coincide are one knot. Its ends are natural (second derivative
// 0), as the quality report has always measured against, or not-a-knot (the
// third derivative continuous at the second and the next-to-last knot), as
// new points are placed on: that curve reproduces any cubic in the parameter
// and has no artificial straightening at the trailing edge, and with three
// knots it is the parabola through them. Two knots give the straight line.
#ifndef QUILANE_ENGINE_CONTOUR_SPLINE_H_
#define QUILANE_ENGINE_CONTOUR_SPLINE_H_

#include <cstddef>
#include <span>
#include <vector>

namespace quilane {

// One piece in power form over t in 0..1: x(t) = ax + bx t + cx t^2 + dx t^3,
// likewise y.
struct SplinePiece {
  double ax, bx, cx, dx;
  double ay, by, cy, dy;

  double X(double t) const { return ((dx * t + cx) * t + bx) * t + ax; }
  double Y(double t) const { return ((dy * t + cy) * t + by) * t + ay; }
  double SquaredDistance(double t, double px, double py) const {
    const double ex = X(t) - px;
    const double ey = Y(t) - py;
    return ex * ex + ey * ey;
  }
};

struct ContourSpline {
  std::vector<SplinePiece> pieces;  // piece k joins knots k and k + 1
  // The knot of every input point, from 0: points that repeat the one before
  // share its knot.
  std::vector<std::size_t> knot_of_point;
  std::vector<double> knot_x;  // the distinct input points, in order
  std::vector<double> knot_y;
  std::vector<double> knot_s;  // their parameter: the polygon's length up to each
};

enum class SplineEnds { kNatural, kNotAKnot };

// The curve through the points (x[i], y[i]) in their order. Needs spans of
// equal length. A curve whose knot steps are too uneven for double precision
// has pieces that are not finite numbers; callers check what they compute.
ContourSpline MakeContourSpline(std::span<const double> x, std::span<const double> y,
                                SplineEnds ends);

// The nearest point of one piece to p with t in from..to (0 <= from <= to
// <= 1): the best of five evenly spaced samples, then Newton steps on the
// derivative of the squared distance, kept within the range.
struct PiecePoint {
  double t = 0.0;
  double squared_distance = 0.0;
};
PiecePoint NearestOnPiece(const SplinePiece& piece, double px, double py, double from = 0.0,
                          double to = 1.0);

}  // namespace quilane

#endif  // QUILANE_ENGINE_CONTOUR_SPLINE_H_
