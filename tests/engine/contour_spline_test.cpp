// The curve through a contour's points, the crossing of its panels and the
// placement of new points on the curve.
#include "engine/contour_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/panel_crossing.h"
#include "engine/place_on_spline.h"
#include "test_sections.h"

namespace quilane {
namespace {

// Value, first and second derivative of a piece at t, per unit of t.
struct Derivatives {
  double f, f1, f2, f3;
};
Derivatives Of(double a, double b, double c, double d, double t) {
  return {((d * t + c) * t + b) * t + a, (3 * d * t + 2 * c) * t + b, 6 * d * t + 2 * c, 6 * d};
}

// Through every point, twice continuously differentiable in the polygon's
// length, and not-a-knot: the third derivative also continuous across the
// second and the next-to-last knot. Coincident successive points are one knot.
TEST(ContourSpline, PassesThroughThePointsC2WithNotAKnotEnds) {
  Contour c = test::NacaContour(0.04, 0.4, 0.12, 15);
  c.x.insert(c.x.begin() + 5, c.x[5]);  // a repeated point
  c.y.insert(c.y.begin() + 5, c.y[5]);
  const ContourSpline curve = MakeContourSpline(c.x, c.y);
  ASSERT_EQ(curve.pieces.size(), c.x.size() - 2);
  EXPECT_EQ(curve.knot_of_point[5], curve.knot_of_point[6]);
  const std::size_t n = curve.pieces.size();
  for (std::size_t k = 0; k < n; ++k) {
    const SplinePiece& p = curve.pieces[k];
    EXPECT_EQ(p.X(0), curve.knot_x[k]);
    EXPECT_NEAR(p.X(1), curve.knot_x[k + 1], 1e-15);
    EXPECT_NEAR(p.Y(1), curve.knot_y[k + 1], 1e-15);
    if (k + 1 == n) break;
    const SplinePiece& q = curve.pieces[k + 1];
    // Per unit of length: a derivative of order m over t scales by h^-m.
    const double h0 =
        std::hypot(curve.knot_x[k + 1] - curve.knot_x[k], curve.knot_y[k + 1] - curve.knot_y[k]);
    const double h1 = std::hypot(curve.knot_x[k + 2] - curve.knot_x[k + 1],
                                 curve.knot_y[k + 2] - curve.knot_y[k + 1]);
    for (const bool y : {false, true}) {
      const Derivatives end = y ? Of(p.ay, p.by, p.cy, p.dy, 1) : Of(p.ax, p.bx, p.cx, p.dx, 1);
      const Derivatives start = y ? Of(q.ay, q.by, q.cy, q.dy, 0) : Of(q.ax, q.bx, q.cx, q.dx, 0);
      EXPECT_NEAR(end.f1 / h0, start.f1 / h1, 1e-12) << k;
      EXPECT_NEAR(end.f2 / (h0 * h0), start.f2 / (h1 * h1), 1e-9) << k;
      if (k == 0 || k + 2 == n) {
        EXPECT_NEAR(end.f3 / (h0 * h0 * h0), start.f3 / (h1 * h1 * h1), 1e-6) << k;
      }
    }
  }
}

// On a circle, halving the steps cuts the error between the points about
// sixteen times (fourth order), and three points give one parabola.
TEST(ContourSpline, FollowsACircleToFourthOrder) {
  const auto error = [](int count) {
    std::vector<double> x, y;
    for (int k = 0; k < count; ++k) {
      const double a = test::kPi * k / (count - 1);
      x.push_back(std::cos(a));
      y.push_back(std::sin(a));
    }
    const ContourSpline curve = MakeContourSpline(x, y);
    double largest = 0;
    for (const SplinePiece& p : curve.pieces) {
      largest = std::max(largest, std::abs(std::hypot(p.X(0.5), p.Y(0.5)) - 1));
    }
    return largest;
  };
  EXPECT_GT(error(20) / error(40), 12.0);
  EXPECT_LT(error(40), 2e-6);
  const double x[] = {0, 1, 3}, y[] = {0, 1, 9};  // y = x^2
  const ContourSpline parabola = MakeContourSpline(x, y);
  EXPECT_EQ(parabola.pieces[0].cy / parabola.pieces[0].cx,
            parabola.pieces[1].cy / parabola.pieces[1].cx);
}

TEST(PanelCrossing, FindsPanelsThatCutThroughEachOther) {
  struct Case {
    const char* name;
    std::vector<double> x, y;
    int first, second;  // 0: none
  };
  const Case cases[] = {
      {"a diamond", {1, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}, 0, 0},
      {"a sharp trailing edge: ends that meet", {1, 0.5, 0, 0.5, 1}, {0, -0.1, 0, 0.1, 0}, 0, 0},
      {"a point on another panel", {1, 0.5, 0, 0.5, 0.75}, {0, -0.1, 0, 0.1, -0.05}, 0, 0},
      {"a fish tail: the lower surface ends above the upper",
       {1, 0.6, 0, 0.6, 1},
       {0.02, 0.0, 0, 0.01, -0.02},
       1,
       4},
      {"a figure of eight", {1, 0.3, 0.5, 0, 0.5, 1}, {0, -0.04, -0.05, 0, 0.05, 0}, 1, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto crossing = FirstPanelCrossing(c.x, c.y);
    ASSERT_EQ(crossing.has_value(), c.first != 0);
    if (!crossing) continue;
    EXPECT_EQ(crossing->first, c.first);
    EXPECT_EQ(crossing->second, c.second);
  }
}

// Points pushed off the curve come back to it across the contour, not along
// it; the ends become the input's trailing-edge points exactly, and a point
// near a thin trailing edge stays on its own surface.
TEST(PlaceOnSpline, MovesPointsAcrossTheContourOntoTheCurve) {
  const Contour c = test::NacaContour(0.02, 0.4, 0.06, 41);
  const ContourSpline curve = MakeContourSpline(c.x, c.y);
  std::vector<double> x, y, on_x, on_y;
  std::vector<double> position{1.0};
  for (std::size_t k = 0; k + 1 < curve.pieces.size(); ++k) {
    const SplinePiece& p = curve.pieces[k];
    const double t = 0.3;
    const double vx = 3 * p.dx * t * t + 2 * p.cx * t + p.bx;
    const double vy = 3 * p.dy * t * t + 2 * p.cy * t + p.by;
    const double push = (k % 2 ? 2e-3 : -2e-3) / std::hypot(vx, vy);  // along the normal
    on_x.push_back(p.X(t));
    on_y.push_back(p.Y(t));
    x.push_back(p.X(t) - push * vy);
    y.push_back(p.Y(t) + push * vx);
    position.push_back(static_cast<double>(k) + 1.3);
  }
  position.back() = static_cast<double>(c.x.size());
  PlaceOnSpline(curve, position, x, y);
  EXPECT_EQ(x.front(), c.x.front());
  EXPECT_EQ(y.front(), c.y.front());
  EXPECT_EQ(x.back(), c.x.back());
  EXPECT_EQ(y.back(), c.y.back());
  for (std::size_t i = 1; i + 1 < x.size(); ++i) {
    EXPECT_NEAR(x[i], on_x[i], 1e-9) << i;
    EXPECT_NEAR(y[i], on_y[i], 1e-9) << i;
  }
}

}  // namespace
}  // namespace quilane
