#include "engine/redistribute.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "engine/distribute_along_x.h"
#include "engine/lagrange_interpolation.h"
#include "engine/map_airfoil_to_circle.h"
#include "engine/pw_cubic_interpolation.h"
#include "sections/naca_section.h"
#include "test_sections.h"

namespace quilane {
namespace {

RedistributeSettings Settings(int points, Route route = Route::kAlongChord,
                              Method method = Method::kLagrange, int degree = 1) {
  RedistributeSettings settings;
  settings.points = points;
  settings.route = route;
  settings.method = method;
  settings.degree = degree;
  return settings;
}

using test::kEveryWay;
using test::Way;

Expected<RedistributeResult> RunWay(const Section& section, int points, const Way& way) {
  return Redistribute(section, test::SettingsOf(way, points));
}

// Along the chord the diamond's stations are its points, so every method
// gives them back. Mapped, the stations at the trailing edge and the nose are
// points; the two others lie between, mirrored about the chord.
TEST(Redistribute, EveryWayBringsTheDiamondBack) {
  const double x[] = {1, 0.5, 0, 0.5, 1};
  const double y[] = {0, -0.05, 0, 0.05, 0};
  for (const Way& way : kEveryWay) {
    SCOPED_TRACE(way.name);
    const auto result = RunWay(test::SectionOf(test::DiamondContour()), 5, way);
    ASSERT_TRUE(result.has_value()) << result.error().message;
    EXPECT_EQ(result->title, "Test section - redistributed");
    ASSERT_EQ(result->x.size(), 5u);
    for (int i = 0; i < 5; ++i) {
      if (way.route == Route::kConformalMapping && (i == 1 || i == 3)) continue;
      EXPECT_NEAR(result->x[i], x[i], 1e-12) << "new point " << i + 1;
      EXPECT_NEAR(result->y[i], y[i], 1e-12) << "new point " << i + 1;
    }
    EXPECT_NEAR(result->x[1], result->x[3], 1e-12);
    EXPECT_NEAR(result->y[1], -result->y[3], 1e-12);
    EXPECT_LT(result->y[1], 0.0);
    EXPECT_EQ(result->camber_count, 3.0);
    ASSERT_EQ(result->camber_x.size(), 3u);
    EXPECT_NEAR(result->camber_x[0], 0.0, 1e-12);
    EXPECT_NEAR(result->camber_x[1], result->x[1], 1e-12);
    EXPECT_NEAR(result->camber_x[2], 1.0, 1e-12);
    for (const double camber : result->camber_y) EXPECT_NEAR(camber, 0.0, 1e-12);
  }
}

// The new points of NACA 0012 lie on its contour, mirrored about the chord,
// and its camber line is flat, whatever the way.
TEST(Redistribute, ASymmetricSectionKeepsItsSymmetry) {
  const Section section = test::SectionOf(test::NacaContour(0, 0.4, 0.12, 60));
  for (const Way& way : kEveryWay) {
    SCOPED_TRACE(way.name);
    const auto result = RunWay(section, 101, way);
    ASSERT_TRUE(result.has_value()) << result.error().message;
    for (std::size_t j = 0; j < 101; ++j) {
      const double x = result->x[j];
      ASSERT_GE(x, -1e-9);
      ASSERT_LE(x, 1 + 1e-9);
      EXPECT_NEAR(std::abs(result->y[j]),
                  Naca4HalfThickness(0.12, std::max(x, 0.0), TrailingEdge::kSharp), 2e-3)
          << "new point " << j + 1 << " at x " << x;
      EXPECT_NEAR(x, result->x[100 - j], 1e-9) << j + 1;
      EXPECT_NEAR(result->y[j], -result->y[100 - j], 1e-9) << j + 1;
    }
    for (const double camber : result->camber_y) EXPECT_NEAR(camber, 0.0, 1e-9);
  }
}

// Each thread keeps one workspace for its runs: a run after another, on a
// larger section with more new points, equals the first run of a fresh
// thread to the last bit.
TEST(Redistribute, ARunAfterAnotherEqualsAFreshRun) {
  const Section larger = test::SectionOf(test::NacaContour(0.04, 0.4, 0.12, 60));
  const Section section = test::SectionOf(test::NacaContour(0.02, 0.4, 0.15, 20));
  for (const Way& way : kEveryWay) {
    SCOPED_TRACE(way.name);
    std::optional<Expected<RedistributeResult>> fresh;
    std::thread([&] { fresh.emplace(RunWay(section, 41, way)); }).join();
    ASSERT_TRUE(RunWay(larger, 75, way).has_value());
    const auto again = RunWay(section, 41, way);
    ASSERT_TRUE(fresh->has_value() && again.has_value());
    const RedistributeResult& a = **fresh;
    EXPECT_TRUE(a.x == again->x && a.y == again->y);
    EXPECT_TRUE(a.camber_x == again->camber_x && a.camber_y == again->camber_y);
    EXPECT_EQ(a.report.max_deviation, again->report.max_deviation);
    EXPECT_EQ(DescribeReport(a.report), DescribeReport(again->report));
  }
}

// Runs on two threads at once, each on its own section, give the serial
// answers: nothing of a run is shared between threads.
TEST(Redistribute, RunsOnSeveralThreadsAtOnceEqualSerialRuns) {
  const Section sections[] = {test::SectionOf(test::NacaContour(0.04, 0.4, 0.12, 60)),
                              test::SectionOf(test::NacaContour(0.02, 0.3, 0.18, 45))};
  for (const Way& way : kEveryWay) {
    SCOPED_TRACE(way.name);
    std::vector<std::vector<double>> serial;
    for (const Section& section : sections) serial.push_back(RunWay(section, 81, way)->y);
    int differing[2] = {0, 0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) {
      threads.emplace_back([&, t] {
        for (int run = 0; run < 150; ++run) {
          const auto result = RunWay(sections[t], 81, way);
          if (!result.has_value() || result->y != serial[t]) ++differing[t];
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(differing[0] + differing[1], 0);
  }
}

// Along the chord the new points are the cosine stations and the values the
// interpolation gives there.
TEST(Redistribute, AlongTheChordTheNewYAreTheInterpolatedValues) {
  const Contour contour = test::NacaContour(0.04, 0.4, 0.12, 30);
  for (const Method method : {Method::kLagrange, Method::kPwCubic}) {
    SCOPED_TRACE(method == Method::kLagrange ? "Lagrange 3" : "spline");
    const auto ws = test::WorkspaceOf(contour, 51);
    DistributeAlongX(*ws);
    ASSERT_EQ(method == Method::kLagrange
                  ? LagrangeInterpolate(ws->N, ws->U, ws->V, ws->NI, ws->UI, ws->VI, 3)
                  : PwCubicInterpolate(*ws),
              0);
    const auto result =
        Redistribute(test::SectionOf(contour), Settings(51, Route::kAlongChord, method, 3));
    ASSERT_TRUE(result.has_value()) << result.error().message;
    for (int j = 1; j <= 51; ++j) {
      EXPECT_EQ(result->x[j - 1], ws->XI[j]) << j;
      EXPECT_EQ(result->y[j - 1], ws->VI[j]) << j;
    }
  }
}

TEST(Redistribute, CamberCountDegreeLimitAndReport) {
  // (NI + 1) / 2 camber points: for an even NI a half count, with the whole
  // points below it given.
  const Section section = test::SectionOf(test::NacaContour(0.04, 0.4, 0.12, 17));  // N = 35
  const struct {
    int points;
    double count;
    std::size_t listed;
  } camber_lines[] = {{50, 25.5, 25}, {51, 26, 26}, {2, 1.5, 1}};
  for (const auto& c : camber_lines) {
    const auto result = Redistribute(section, Settings(c.points));
    ASSERT_TRUE(result.has_value()) << c.points;
    EXPECT_EQ(result->camber_count, c.count) << c.points;
    EXPECT_EQ(result->camber_x.size(), c.listed) << c.points;
    EXPECT_EQ(result->camber_y.size(), c.listed) << c.points;
    EXPECT_GT(result->report.max_deviation_point, 0) << c.points;
  }
  // The highest degree below N is taken (N itself is refused, see below).
  const auto highest = Redistribute(section, Settings(35, Route::kAlongChord,
                                                      Method::kLagrange, 34));
  EXPECT_TRUE(highest.has_value());
  // Without the report the figures are left empty.
  RedistributeSettings settings = Settings(51);
  settings.report = false;
  const auto unmeasured = Redistribute(section, settings);
  ASSERT_TRUE(unmeasured.has_value());
  EXPECT_EQ(unmeasured->report.max_deviation_point, 0);
}

TEST(Redistribute, ResultFilesListTheNewPointsAndTheCamberLine) {
  const auto result =
      Redistribute(test::SectionOf(test::DiamondContour(), "Diamond"), Settings(4));
  ASSERT_TRUE(result.has_value());
  for (const ResultFormat format : {ResultFormat::kArf, ResultFormat::kSelig}) {
    const ResultFiles files = ResultFilesOf(*result, format, "out/d.dat");
    EXPECT_EQ(files.title, "Diamond - redistributed");
    EXPECT_EQ(files.points.count, 4.0);
    EXPECT_TRUE(files.points.x.data() == result->x.data() && files.points.x.size() == 4);
    EXPECT_TRUE(files.points.y.data() == result->y.data() && files.points.y.size() == 4);
    EXPECT_EQ(files.camber.count, 2.5);
    EXPECT_TRUE(files.camber.x.data() == result->camber_x.data() && files.camber.x.size() == 2);
    EXPECT_TRUE(files.camber.y.data() == result->camber_y.data() && files.camber.y.size() == 2);
    EXPECT_EQ(files.format, format);
    EXPECT_EQ(files.points_path, "out/d.dat");
    EXPECT_EQ(files.camber_path,
              format == ResultFormat::kArf ? "out/Camber_d.dat" : "out/Camber_d.arf");
  }
}

// The x of a point that lies exactly on the mapping's left singular point
// z = -KA, found with the mapping's own KA.
double OnTheSingularPoint() {
  const auto probe = test::WorkspaceOf(test::DiamondContour());
  EXPECT_EQ(MapAirfoilToCircle(*probe), 0);
  const double ka = probe->KA;
  double x = 1 - 2 * ka;
  while (x - (1 - ka) + ka < 0) x = std::nextafter(x, 1.0);
  while (x - (1 - ka) + ka > 0) x = std::nextafter(x, 0.0);
  return x;
}

std::string PointCountMessage(const std::string& shown) {
  return "Number of new points " + shown +
         " is not a whole number from 2 to 1000; type such a number and calculate again.";
}

std::string DegreeMessage(const std::string& shown) {
  return "nPoly " + shown +
         " is not a whole number of 0 or more; type the degree of the Lagrange polynomial, "
         "such as 1 or 3, and calculate again.";
}

TypedSettings Typed(std::string points, std::string degree = "1") {
  return TypedSettings{std::move(points), Route::kAlongChord, Method::kLagrange,
                       std::move(degree)};
}

// Settings as a front end hands them over: typed text, read by ReadSettings
// first, or numbers.
using GivenSettings = std::variant<TypedSettings, RedistributeSettings>;

Expected<RedistributeResult> RunGiven(const Section& section, const GivenSettings& given) {
  if (const auto* typed = std::get_if<TypedSettings>(&given)) {
    Expected<RedistributeSettings> settings = ReadSettings(*typed);
    if (!settings) return settings.error();
    return Redistribute(section, *settings);
  }
  return Redistribute(section, std::get<RedistributeSettings>(given));
}

// Every refusal of the settings and the calculation: its code, the point or
// station it names, its message word for word and its way out. Where the way
// out is conformal mapping, the mapping takes the section.
TEST(Redistribute, RefusalsNameTheirReasonPointAndWayOut) {
  struct Case {
    const char* name;
    Contour contour;
    GivenSettings settings;
    RefusalCode code;
    int index;
    std::string message;
    WayOut way_out = WayOut::kNone;
    std::string reason = "";
  };
  const Contour diamond = test::DiamondContour();
  const Contour n35 = test::NacaContour(0.04, 0.4, 0.12, 17);
  const Route along = Route::kAlongChord;
  const Route mapped = Route::kConformalMapping;
  const Method lagrange = Method::kLagrange;
  const std::string check_order =
      "around the contour; the points must run from the trailing edge over one surface to the "
      "nose and back over the other, so check their order in the file";
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"no number typed", diamond, Typed("abc"), RefusalCode::kPointCount, 0,
       PointCountMessage("\"abc\"")},
      {"nothing typed", diamond, Typed(""), RefusalCode::kPointCount, 0,
       PointCountMessage("\"\"")},
      {"one point typed", diamond, Typed("1"), RefusalCode::kPointCount, 0,
       PointCountMessage("\"1\"")},
      {"beyond the arrays typed", diamond, Typed("1001"), RefusalCode::kPointCount, 0,
       PointCountMessage("\"1001\"")},
      {"fraction typed", diamond, Typed("50.5"), RefusalCode::kPointCount, 0,
       PointCountMessage("\"50.5\"")},
      {"overflowing exponent typed", diamond, Typed("1e400"), RefusalCode::kPointCount, 0,
       PointCountMessage("\"1e400\"")},
      {"points read before the degree", diamond, Typed("0", "-1"), RefusalCode::kPointCount, 0,
       PointCountMessage("\"0\"")},
      {"negative degree typed", diamond, Typed("5", "-1"), RefusalCode::kDegree, 0,
       DegreeMessage("\"-1\"")},
      {"fractional degree typed", diamond, Typed("5", "1.5"), RefusalCode::kDegree, 0,
       DegreeMessage("\"1.5\"")},
      {"degree typed as letters", diamond, Typed("5", "abc"), RefusalCode::kDegree, 0,
       DegreeMessage("\"abc\"")},
      {"degree far beyond N typed", diamond, Typed("5", "1e300"),
       RefusalCode::kDegreeNotBelowN, 0, "nPoly must be lower then 5"},
      {"one point", diamond, Settings(1), RefusalCode::kPointCount, 0, PointCountMessage("1")},
      {"beyond the arrays", diamond, Settings(1001), RefusalCode::kPointCount, 0,
       PointCountMessage("1001")},
      {"negative degree", diamond, Settings(5, along, lagrange, -1), RefusalCode::kDegree, 0,
       DegreeMessage("-1")},
      {"degree of N", n35, Settings(35, along, lagrange, 35), RefusalCode::kDegreeNotBelowN, 0,
       "nPoly must be lower then 35"},
      {"upper surface first", {{1, 0.5, 0, 0.5, 1}, {0, 0.05, 0, -0.05, 0}},
       Settings(5, mapped), RefusalCode::kUpperSurfaceFirst, 0,
       "Conformal mapping needs the lower surface first, but this contour runs from the "
       "trailing edge over the upper surface to the nose; reverse the order of the points in "
       "the file or calculate without conformal mapping."},
      {"x beyond the chord", {{1.00001, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}}, Settings(5),
       RefusalCode::kOutsideChord, 1,
       "The point 1 (x = 1.00001, y = 0) lies outside the chord from the nose to the trailing "
       "edge; the points must run from the trailing edge over one surface to the nose and back "
       "over the other, so check their order in the file, or calculate with conformal "
       "mapping, which does not need every x within the chord.",
       WayOut::kConformalMapping},
      {"nose on the middle of the trailing edge", {{-0.5, 1, 0, 0.5}, {0.1, 0.3, 0, -0.1}},
       Settings(5, mapped), RefusalCode::kNoChordLine, 3,
       "The nose point 3 (x = 0, y = 0) lies on the middle of the trailing edge, so the "
       "contour has no chord line for conformal mapping; check the points in the file or "
       "calculate without conformal mapping."},
      {"point on the singular point",
       {{1, 0.5, OnTheSingularPoint(), 0, 0.5, 1}, {0, -0.05, 0, 0, 0.05, 0}},
       Settings(7, mapped), RefusalCode::kSingularPoint, 3,
       "The point 3 (x = 0.00826446280991733, y = 0) lies on the singular point of the "
       "conformal mapping, where the mapping has no value; move that point slightly or "
       "calculate without conformal mapping."},
      {"two points of one x along the chord",
       {{1, 0.5, 0, 0, 0.5, 1}, {0, -0.05, -0.01, 0.01, 0.05, 0}}, Settings(5),
       RefusalCode::kOutOfOrder, 3,
       "The point 4 (x = 0, y = 0.01) does not follow the point 3 (x = 0, y = -0.01) " +
           check_order +
           ", or calculate with conformal mapping, which also takes two points of the same x "
           "in a row.",
       WayOut::kConformalMapping},
      {"points out of order mapped",
       {{1, 0.5, 0.6, 0, 0.5, 1}, {0, -0.05, -0.03, 0, 0.05, 0}}, Settings(7, mapped),
       RefusalCode::kOutOfOrder, 2,
       "The point 3 (x = 0.6, y = -0.03) does not follow the point 2 (x = 0.5, y = -0.05) " +
           check_order + "."},
      {"surfaces that cross, in the file's units",
       {{100, 30, 50, 0, 50, 100}, {0, -4, -5, 0, 5, 0}}, Settings(7, mapped),
       RefusalCode::kSurfacesCross, 1,
       "The surfaces of the contour cross: panel 1 (points 1 to 2) crosses panel 3 (points 3 "
       "to 4) near x = 0.363636363636364, y = -3.63636363636364; correct the points in the "
       "file so that the surfaces do not cross."},
      {"listed from the nose", {{0, 0.5, 1, 0.5, 0}, {0, 0.05, 0, -0.05, 0}}, Settings(5),
       RefusalCode::kNoseAtEnd, 5,
       "The nose of the contour, point 5 (x = 0, y = 0), is its last point; the points must "
       "start at the trailing edge, run over one surface to the nose and back over the other "
       "to the trailing edge, so list them in that order in the file."},
      {"open trailing edge along the chord", {{0.9, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}},
       Settings(5, along, Method::kPwCubic), RefusalCode::kStationOutOfRange, 1,
       "xI(1) = 1 is not in the given interpolation range", WayOut::kConformalMapping,
       "The contour's first and last points lie at x = 0.9 and x = 1 of the chord (an open "
       "trailing edge), and the route along the chord needs both at x = 1"},
      {"new point on the singular point", {{1, 0.9, 0, 1}, {-1, 0.1, 0.1, 0.4}},
       Settings(5, mapped, Method::kPwCubic), RefusalCode::kSingularStation, 2,
       "New point 2 falls on the singular point of the conformal mapping (radius "
       "-0.0135146966859852); choose another number of new points or another interpolation."},
      {"infinite input point", {{1, 0.5, 0, 0.5, 1}, {0, inf, 0, 0.05, 0}}, Settings(5),
       RefusalCode::kUnusableContour, 2,
       "The y of point 2 (x = 0.5, y = inf) is no finite number of chords; check the point in "
       "the file or scale the coordinates."},
      {"new point beyond the largest double",
       {{1, 0.5, 0, 0.5, 1}, {1.7e308, -1.7e308, 1.7e308, -1.7e308, 1.7e308}},
       Settings(7, along, lagrange, 4), RefusalCode::kNonFinitePoint, 2,
       "New point 2 came out as no finite number; choose a lower polynomial degree or the PW "
       "Cubic Spline interpolation and calculate again."},
      {"camber midpoint beyond the largest double", {{1, 0, 1}, {1e308, 0, 1e308}},
       Settings(7), RefusalCode::kNonFiniteCamber, 4,
       "Camber point 4 came out as no finite number, the new points being too large to "
       "average; scale the coordinates in the file down and calculate again."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Section section = test::SectionOf(c.contour);
    const auto result = RunGiven(section, c.settings);
    ASSERT_FALSE(result.has_value());
    const Refusal& refusal = result.error();
    EXPECT_EQ(refusal.code, c.code);
    EXPECT_EQ(refusal.index, c.index);
    EXPECT_EQ(refusal.message, c.message);
    EXPECT_EQ(refusal.way_out, c.way_out);
    EXPECT_EQ(refusal.way_out_reason, c.reason);
    if (c.way_out == WayOut::kConformalMapping) {
      RedistributeSettings mapping = std::get<RedistributeSettings>(c.settings);
      mapping.route = mapped;
      EXPECT_TRUE(Redistribute(section, mapping).has_value()) << "the way out";
    }
  }
}

// The boxes are read by the value-of-a-string rule; the degree only with
// Lagrange, and one beyond every contour's N is kept beyond it.
TEST(ReadSettings, TypedTextIsReadAsItsValue) {
  struct Case {
    const char* name;
    TypedSettings typed;
    int points;
    int degree;
  };
  const Case cases[] = {
      {"plain", Typed("51", "3"), 51, 3},
      {"blanks anywhere", Typed(" 1 01\t", " 2 "), 101, 2},
      {"text after the number", Typed("51abc", "2x"), 51, 2},
      {"exponents", Typed("5e1", "1E1"), 50, 10},
      {"an exponent without digits", Typed("12e", "3e+"), 12, 3},
      {"signs", Typed("+7", "-0"), 7, 0},
      {"the largest count, a huge degree", Typed("1000", "1e300"), 1000, kPointCapacity},
      {"the spline reads no degree",
       {"2", Route::kConformalMapping, Method::kPwCubic, "junk"}, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Expected<RedistributeSettings> settings = ReadSettings(c.typed);
    ASSERT_TRUE(settings.has_value()) << settings.error().message;
    EXPECT_EQ(settings->points, c.points);
    EXPECT_EQ(settings->degree, c.degree);
    EXPECT_EQ(settings->route, c.typed.route);
    EXPECT_EQ(settings->method, c.typed.method);
  }
}

}  // namespace
}  // namespace quilane
