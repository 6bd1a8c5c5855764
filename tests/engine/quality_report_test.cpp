#include "engine/quality_report.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/redistribute.h"
#include "sections/naca_section.h"
#include "test_sections.h"

namespace quilane {
namespace {

using test::kPi;

struct Points {
  std::vector<double> x;
  std::vector<double> y;
};

QualityReport Measure(const Points& input, const Points& moved) {
  return MeasureQuality(input.x, input.y, moved.x, moved.y);
}

// An ellipse about (0.5, 0) with half-axes 0.5 and 0.1, from angle `from` to
// `to` in `count` even steps, each point pushed `offset(t)` along the outward
// normal.
template <typename Offset>
Points Ellipse(double from, double to, int count, Offset offset) {
  Points points;
  for (int k = 0; k < count; ++k) {
    const double t = from + (to - from) * k / (count - 1);
    const double nx = 0.1 * std::cos(t);  // outward normal (b cos t, a sin t), normalised
    const double ny = 0.5 * std::sin(t);
    const double length = std::hypot(nx, ny);
    const double d = offset(t);
    points.x.push_back(0.5 + 0.5 * std::cos(t) + d * nx / length);
    points.y.push_back(0.1 * std::sin(t) + d * ny / length);
  }
  return points;
}

// Points pushed a known distance off a smooth contour are measured at that
// distance, the largest at the right point: the spline through 121 points of
// the ellipse stands for the ellipse itself within a fraction of a per cent
// of these offsets.
TEST(QualityReport, KnownOffsetsFromASmoothContourAreMeasured) {
  const Points input = Ellipse(0.02, 2 * kPi - 0.02, 121, [](double) { return 0.0; });
  struct Case {
    const char* name;
    double amplitude;
    int waves;
  };
  const Case cases[] = {{"a ten-thousandth", 1e-4, 3}, {"a thousandth", 1e-3, 5},
                        {"half a per cent", 5e-3, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // One largest offset, near t = 2.
    const auto offset = [&](double t) {
      return c.amplitude * std::sin(c.waves * t + 0.3) * std::exp(-(t - 2) * (t - 2) / 4);
    };
    const Points moved = Ellipse(0.1, 2 * kPi - 0.1, 97, offset);
    const QualityReport report = Measure(input, moved);
    double largest = 0.0;
    int at = 0;
    double sum = 0.0;
    for (int j = 0; j < 97; ++j) {
      const double t = 0.1 + (2 * kPi - 0.2) * j / 96;
      const double d = std::abs(offset(t));
      sum += d;
      if (d > largest) largest = d, at = j + 1;
    }
    EXPECT_NEAR(report.max_deviation, largest, 0.01 * largest);
    EXPECT_NEAR(report.max_deviation_point, at, 1);
    EXPECT_NEAR(report.mean_deviation, sum / 97, 0.01 * sum / 97);
    EXPECT_EQ(report.max_deviation_x, moved.x[report.max_deviation_point - 1]);
  }
}

// Of points equally far off to rounding, the first is named; a point
// farther off by more than rounding is named however late it comes.
TEST(QualityReport, TheFirstOfEquallyDistantPointsIsNamed) {
  const Points line{{0.0, 0.5, 1.0}, {0.0, 0.0, 0.0}};
  const struct {
    const char* name;
    double second_offset;
    int named;
  } cases[] = {{"equal to rounding", 1e-3 * (1 + 1e-12), 1}, {"farther off", 1.001e-3, 2}};
  for (const auto& c : cases) {
    const QualityReport report = Measure(line, Points{{0.2, 0.8}, {1e-3, c.second_offset}});
    EXPECT_EQ(report.max_deviation_point, c.named) << c.name;
    EXPECT_DOUBLE_EQ(report.max_deviation, c.second_offset) << c.name;
  }
}

TEST(QualityReport, PointsOnTheContourLieOnIt) {
  const Points input = Ellipse(0.02, 2 * kPi - 0.02, 61, [](double) { return 0.0; });
  const QualityReport same = Measure(input, input);
  EXPECT_LE(same.max_deviation, 1e-15);
  EXPECT_LE(same.mean_deviation, 1e-15);

  // A point given twice in a row is taken once: the curve, and every
  // distance from it, stay as they are.
  Points twice = input;
  twice.x.insert(twice.x.begin() + 30, twice.x[30]);
  twice.y.insert(twice.y.begin() + 30, twice.y[30]);
  const Points off = Ellipse(0.3, 6.0, 40, [](double t) { return 1e-3 * std::cos(t); });
  EXPECT_EQ(Measure(twice, off).max_deviation, Measure(input, off).max_deviation);
  EXPECT_EQ(Measure(twice, off).mean_deviation, Measure(input, off).mean_deviation);
}

// A new point far from every piece: the distance to the nearest input point
// when the contour is a single point, to the line when it is straight.
TEST(QualityReport, DistancesToDegenerateContours) {
  struct Case {
    const char* name;
    Points input;
    Points moved;
    double distance;
  };
  const Case cases[] = {
      {"one point", {{0.2}, {0.1}}, {{0.5}, {0.5}}, 0.5},
      {"one point twice", {{0.2, 0.2}, {0.1, 0.1}}, {{0.2}, {0.4}}, 0.3},
      {"straight", {{0, 1, 2}, {0, 0, 0}}, {{1.5}, {-0.25}}, 0.25},
      {"beyond the end", {{0, 1, 2}, {0, 0, 0}}, {{3}, {0}}, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(Measure(c.input, c.moved).max_deviation, c.distance, 1e-15);
  }
  // Near the ends of the double range the figures stay finite and exact.
  for (const double size : {1e300, 1e-300}) {
    SCOPED_TRACE(size);
    const Points far{{0, size, 2 * size}, {0, 0, 0}};
    const QualityReport report = Measure(far, Points{{1.5 * size}, {-0.25 * size}});
    EXPECT_NEAR(report.max_deviation, 0.25 * size, 1e-15 * size);
    EXPECT_EQ(Measure(far, far).new_points.longest, size);
  }
  // One point far out among ordinary ones: no spline holds both scales, and
  // the distance is that to the nearest input point.
  const Points wild{{1, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 4e305, 0}};
  const QualityReport report = Measure(wild, Points{{0.5}, {-0.06}});
  EXPECT_TRUE(std::isfinite(report.max_deviation));
  EXPECT_LE(report.max_deviation, 0.01 + 1e-15);
}

TEST(QualityReport, PanelFiguresOfAKnownPolygon) {
  const Points polygon{{0, 1, 1, 0.5}, {0, 0, 1, 1.5}};
  const QualityReport report = Measure(polygon, polygon);
  for (const PanelFigures& figures : {report.new_points, report.input_points}) {
    EXPECT_NEAR(figures.largest_angle, 90.0, 1e-12);
    EXPECT_EQ(figures.largest_angle_point, 2);
    EXPECT_NEAR(figures.shortest, std::sqrt(0.5), 1e-15);
    EXPECT_EQ(figures.shortest_panel, 3);
    EXPECT_EQ(figures.longest, 1.0);
    EXPECT_EQ(figures.longest_panel, 1);
  }
  EXPECT_TRUE(report.blunt_trailing_edge);  // the last point lies 1.58 from the first

  const Points open{{1, 0, 1}, {-0.002, 0, 0.002}};
  EXPECT_TRUE(Measure(open, open).blunt_trailing_edge);
  const Points closed{{1, 0, 1}, {-0.0004, 0, 0.0004}};
  EXPECT_FALSE(Measure(closed, closed).blunt_trailing_edge);
}

TEST(QualityReport, DescriptionAndWarning) {
  QualityReport report;
  report.max_deviation = 3.14e-5;
  report.max_deviation_point = 48;
  report.mean_deviation = 4.04e-6;
  report.max_deviation_x = 0.3;
  report.new_points = {4.23, 51, 0.00214, 12, 0.0312, 30};
  report.input_points = {10.0, 40, 0.0015, 3, 0.0405, 20};
  EXPECT_EQ(DescribeReport(report),
            "max deviation 3.1e-05 chord at new point 48, mean 4.0e-06; largest panel angle "
            "4.2\u00B0 at point 51; panels 0.00214 to 0.0312; input: largest panel angle "
            "10.0\u00B0 at point 40; panels 0.0015 to 0.0405");
  report.on_spline = true;
  EXPECT_TRUE(DescribeReport(report).ends_with("0.0405; new points on a spline through the input"));
  // Two new points meet at no angle; their one panel is all there is to say.
  report.new_points = PanelFigures{0.0, 0, 0.02, 1, 0.02, 1};
  report.on_spline = false;
  EXPECT_NE(DescribeReport(report).find("at new point 48, mean 4.0e-06; one panel, 0.02 long; "
                                        "input: largest panel angle"),
            std::string::npos)
      << DescribeReport(report);

  struct Case {
    const char* name;
    double deviation;
    double x;
    bool blunt;
    bool on_spline;
    const char* warning;
  };
  const Case cases[] = {
      {"well on the contour", 3.1e-5, 0.3, true, false, ""},
      {"exactly half a per cent", 0.005, 0.95, true, false, ""},
      {"off near the nose", 0.0123, 0.01, true, false,
       "new points lie up to 1.2 % of the chord off the contour near point 48; to place them "
       "on a spline through the input, use --on-spline"},
      {"off at a blunt trailing edge", 0.0085, 0.97, true, false,
       "new points lie up to 0.85 % of the chord off the contour near point 48; the trailing "
       "edge is blunt; to place them on a spline through the input, use --on-spline"},
      {"off at a closed trailing edge, on the spline already", 0.0085, 0.97, false, true,
       "new points lie up to 0.85 % of the chord off the contour near point 48"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    report.max_deviation = c.deviation;
    report.max_deviation_x = c.x;
    report.blunt_trailing_edge = c.blunt;
    report.on_spline = c.on_spline;
    EXPECT_EQ(QualityWarning(report, "use --on-spline"), c.warning);
  }
}

// Distance from (px, py) to the NACA 00tt / 44tt section itself, found on a
// dense polygon of the analytic contour (20,000 points a surface), to which a
// point's distance differs from the true one by far less than the
// deviations measured here.
double DistanceToNaca(double camber, double thickness, double px, double py) {
  const auto point = [&](double s, bool upper, double& x, double& y) {
    const double xc = (1 - std::cos(kPi * s)) / 2;
    const double yt = Naca4HalfThickness(thickness, xc, TrailingEdge::kSharp);
    const double yc = Naca4MeanLine(camber, 0.4, xc).y;
    x = xc;
    y = upper ? yc + yt : yc - yt;
  };
  constexpr int kSteps = 20000;
  double best = INFINITY;
  for (const bool upper : {false, true}) {
    double ax, ay;
    point(0.0, upper, ax, ay);
    for (int k = 1; k <= kSteps; ++k) {
      double bx, by;
      point(static_cast<double>(k) / kSteps, upper, bx, by);
      const double dx = bx - ax, dy = by - ay;
      const double t =
          std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      best = std::min(best, std::hypot(ax + t * dx - px, ay + t * dy - py));
      ax = bx, ay = by;
    }
  }
  return best;
}

// On analytic sections the report's largest deviation is that of the new
// points from the true contour, within a quarter, on both routes. (The
// sections have 81 or 101 points, as published files do: with fewer, the
// curve through them misses the nose by as much as the new points do. The
// spline is tried on smooth sections only: a NACA 44xx camber line changes
// its curvature by a jump at 40 % of the chord, which the new points and
// every smooth curve through the input miss alike.)
TEST(QualityReport, AgreesWithTheTrueContourOfNacaSections) {
  struct Case {
    const char* name;
    double camber;
    double thickness;
    int half;
    Route route;
    Method method;
    int points;
  };
  const Case cases[] = {
      {"0012 mapping, spline", 0.0, 0.12, 40, Route::kConformalMapping, Method::kPwCubic, 101},
      {"0012 along, linear", 0.0, 0.12, 40, Route::kAlongChord, Method::kLagrange, 51},
      {"4412 mapping, linear", 0.04, 0.12, 50, Route::kConformalMapping, Method::kLagrange, 75},
      {"4412 along, linear", 0.04, 0.12, 50, Route::kAlongChord, Method::kLagrange, 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RedistributeSettings settings;
    settings.points = c.points;
    settings.route = c.route;
    settings.method = c.method;
    const Expected<RedistributeResult> result =
        Redistribute(test::SectionOf(test::NacaContour(c.camber, 0.4, c.thickness, c.half)),
                     settings);
    ASSERT_TRUE(result.has_value()) << result.error().message;
    double largest = 0.0;
    for (std::size_t j = 0; j < result->x.size(); ++j) {
      largest =
          std::max(largest, DistanceToNaca(c.camber, c.thickness, result->x[j], result->y[j]));
    }
    ASSERT_GT(largest, 1e-6);
    EXPECT_NEAR(result->report.max_deviation, largest, 0.25 * largest);
  }
}

}  // namespace
}  // namespace quilane
