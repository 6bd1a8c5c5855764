// The curve through a contour's points and the crossing of its panels.
#include "engine/contour_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/panel_crossing.h"
#include "test_sections.h"

namespace quilane {
namespace {

// Through every point; on a circle halving the steps cuts the error between
// the points about sixteen times with not-a-knot ends (fourth order), about
// four times with natural ends, whose zero curvature the circle lacks: a
// wrong end condition or system would lose an order. Three points give one
// parabola.
TEST(ContourSpline, PassesThroughThePointsAndFollowsACircleToItsOrder) {
  const auto error = [](int count, SplineEnds ends) {
    std::vector<double> x, y;
    for (int k = 0; k < count; ++k) {
      const double a = test::kPi * k / (count - 1);
      x.push_back(std::cos(a));
      y.push_back(std::sin(a));
    }
    const ContourSpline curve = MakeContourSpline(x, y, ends);
    double largest = 0;
    for (std::size_t k = 0; k < curve.pieces.size(); ++k) {
      const SplinePiece& p = curve.pieces[k];
      EXPECT_NEAR(p.X(1), x[k + 1], 1e-15);
      EXPECT_NEAR(p.Y(1), y[k + 1], 1e-15);
      largest = std::max(largest, std::abs(std::hypot(p.X(0.5), p.Y(0.5)) - 1));
    }
    return largest;
  };
  const SplineEnds not_a_knot = SplineEnds::kNotAKnot, natural = SplineEnds::kNatural;
  EXPECT_GT(error(20, not_a_knot) / error(40, not_a_knot), 12.0);
  EXPECT_LT(error(40, not_a_knot), 2e-6);
  EXPECT_GT(error(20, natural) / error(40, natural), 3.0);
  EXPECT_LT(error(20, natural) / error(40, natural), 6.0);
  const double x[] = {0, 1, 3}, y[] = {0, 1, 9};  // y = x^2
  const ContourSpline parabola = MakeContourSpline(x, y, not_a_knot);
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
      {"a fish tail: the lower surface ends above the upper",
       {1, 0.6, 0, 0.6, 1},
       {0.02, 0.0, 0, 0.01, -0.02},
       1,
       4},
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

}  // namespace
}  // namespace quilane
