#include "engine/redistribute.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/run_calculation.h"
#include "test_contours.h"

namespace quilane {
namespace {

// Serves fixed settings to the window's run; nothing is drawn.
class FixedHost : public RunHost {
 public:
  FixedHost(std::string ni, bool mapping, std::string npoly)
      : ni_(std::move(ni)), mapping_(mapping), npoly_(std::move(npoly)) {}
  std::string TextNI() override { return ni_; }
  bool MappingChecked() override { return mapping_; }
  bool LagrangeSelected() override { return !npoly_.empty(); }
  std::string TextNPoly() override { return npoly_; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void SetScrollX0(int) override {}
  void SetScrollOlcek(int) override {}
  void SetScrollY0(int) override {}
  void ShowAirfoil(int, const PointArray&, const PointArray&, int, const PointArray&,
                   const PointArray&) override {}
  std::vector<std::string> messages;

 private:
  std::string ni_;
  bool mapping_;
  std::string npoly_;  // empty: the piecewise cubic
};

Contour ContourOf(const AirfoilWorkspace& ws) {
  return Contour{std::vector<double>(ws.X.begin() + 1, ws.X.begin() + 1 + ws.N),
                 std::vector<double>(ws.Y.begin() + 1, ws.Y.begin() + 1 + ws.N)};
}

// A loaded workspace: the window's state after a file was chosen.
std::unique_ptr<AirfoilWorkspace> Loaded(AirfoilWorkspace contour) {
  auto ws = std::make_unique<AirfoilWorkspace>(std::move(contour));
  ws->FileLoaded = true;
  for (int i = 1; i <= ws->N; ++i) ws->XI[i] = ws->X[i], ws->YI[i] = ws->Y[i];
  return ws;
}

// A NACA 4412 turned by 3 degrees about its nose: its trailing edge lies
// below the x axis, so the mapping works in its chord frame.
AirfoilWorkspace TiltedSection() {
  AirfoilWorkspace ws = test_contours::NacaContour(0.04, 0.4, 0.12, 35);
  const double c = std::cos(-0.05), s = std::sin(-0.05);
  for (int i = 1; i <= ws.N; ++i) {
    const double x = ws.X[i], y = ws.Y[i];
    ws.X[i] = c * x - s * y;
    ws.Y[i] = s * x + c * y;
  }
  // Normalised as the reader leaves it: x from 0 at the nose to 1.
  double xmax = ws.X[1];
  for (int i = 2; i <= ws.N; ++i) {
    if (ws.X[i] > ws.X[i - 1]) xmax = ws.X[i];
  }
  for (int i = 1; i <= ws.N; ++i) ws.X[i] = ws.X[i] / xmax;
  return ws;
}

// The value-level entry and the window's run give the same new points, camber
// line and report to the last bit, on every route and method.
TEST(Redistribute, GivesTheNumbersOfTheWindowsRun) {
  struct Case {
    const char* name;
    AirfoilWorkspace contour;
    int points;
    bool mapping;
    int degree;  // -1: the piecewise cubic
  };
  const Case cases[] = {
      {"diamond along the chord", test_contours::Diamond(), 5, false, 1},
      {"diamond mapped", test_contours::Diamond(), 7, true, 1},
      {"4412 along the chord, Lagrange 3", test_contours::NacaContour(0.04, 0.4, 0.12, 30), 101,
       false, 3},
      {"4412 along the chord, spline", test_contours::NacaContour(0.04, 0.4, 0.12, 30), 50, false,
       -1},
      {"4412 mapped, spline", test_contours::NacaContour(0.04, 0.4, 0.12, 30), 99, true, -1},
      {"tilted 4412 mapped, Lagrange 1", TiltedSection(), 101, true, 1},
      {"tilted 4412 mapped, spline", TiltedSection(), 60, true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RedistributeSettings settings;
    settings.points = c.points;
    settings.route = c.mapping ? Route::kConformalMapping : Route::kAlongChord;
    settings.method = c.degree >= 0 ? Method::kLagrange : Method::kPwCubic;
    settings.degree = std::max(c.degree, 0);
    const RedistributeOutcome outcome = Redistribute(ContourOf(c.contour), settings);
    ASSERT_TRUE(outcome.ok()) << outcome.refusal->message;
    const RedistributeResult& result = *outcome.result;

    auto ws = Loaded(c.contour);
    FixedHost host(std::to_string(c.points), c.mapping,
                   c.degree >= 0 ? std::to_string(c.degree) : "");
    QualityReport report;
    ASSERT_TRUE(RunCalculation(*ws, host, &report));
    ASSERT_EQ(result.x.size(), static_cast<std::size_t>(c.points));
    for (int j = 1; j <= c.points; ++j) {
      ASSERT_EQ(result.x[j - 1], ws->XI[j]) << j;
      ASSERT_EQ(result.y[j - 1], ws->YI[j]) << j;
    }
    EXPECT_EQ(result.camber_count, static_cast<double>(ws->NCamber));
    ASSERT_EQ(result.camber_x.size(), static_cast<std::size_t>(ws->NCamber));
    for (std::size_t k = 0; k < result.camber_x.size(); ++k) {
      EXPECT_EQ(result.camber_x[k], ws->XCamber[k + 1]);
      EXPECT_EQ(result.camber_y[k], ws->YCamber[k + 1]);
    }
    EXPECT_EQ(result.report.max_deviation, report.max_deviation);
    EXPECT_EQ(result.report.max_deviation_point, report.max_deviation_point);
    EXPECT_EQ(result.report.mean_deviation, report.mean_deviation);
    EXPECT_EQ(DescribeReport(result.report), DescribeReport(report));
  }
}

TEST(Redistribute, ARunWithoutTheReportLeavesItEmpty) {
  RedistributeSettings settings;
  settings.report = false;
  const RedistributeOutcome outcome =
      Redistribute(ContourOf(test_contours::NacaContour(0.0, 0.4, 0.12, 30)), settings);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome.result->report.max_deviation_point, 0);
  EXPECT_EQ(outcome.result->x.size(), 51u);
}

// Each refusal is one value: the reason's code, the point or station it
// concerns, and a message that says what to do.
TEST(Redistribute, RefusalsNameTheirReasonAndPoint) {
  struct Case {
    const char* name;
    Contour contour;
    RedistributeSettings settings;
    RefusalCode code;
    int index;
    const char* message_part;
  };
  const Contour diamond = ContourOf(test_contours::Diamond());
  const Contour upper_first{{1, 0.5, 0, 0.5, 1}, {0, 0.05, 0, -0.05, 0}};
  const Contour open_edge{{0.9, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}};
  const Contour beyond_one{{1.00001, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}};
  const Contour flat_nose{{1, 0.5, 0, 0, 0.5, 1}, {0, -0.05, -0.01, 0.01, 0.05, 0}};
  const Contour one_x{{0.5, 0.5, 0.5}, {0, 1, 2}};
  const auto with = [](int points, Route route, Method method, int degree) {
    RedistributeSettings settings;
    settings.points = points;
    settings.route = route;
    settings.method = method;
    settings.degree = degree;
    return settings;
  };
  const auto along = Route::kAlongChord;
  const auto mapped = Route::kConformalMapping;
  const auto lagrange = Method::kLagrange;
  const Case cases[] = {
      {"one new point", diamond, with(1, along, lagrange, 1), RefusalCode::kPointCount, 0,
       "Number of new points 1 is not a whole number from 2 to 1000"},
      {"beyond the arrays", diamond, with(1001, along, lagrange, 1), RefusalCode::kPointCount, 0,
       "1001"},
      {"negative degree", diamond, with(5, along, lagrange, -1), RefusalCode::kDegree, 0,
       "nPoly -1 is not a whole number"},
      {"degree of N", diamond, with(5, along, lagrange, 5), RefusalCode::kDegreeNotBelowN, 0,
       "nPoly must be lower then 5"},
      {"no chord", one_x, with(5, along, lagrange, 1), RefusalCode::kNoContour, 0,
       "The contour has the same x in every record"},
      {"upper surface first", upper_first, with(5, mapped, lagrange, 1),
       RefusalCode::kUpperSurfaceFirst, 0, "needs the lower surface first"},
      {"open trailing edge along the chord", open_edge, with(5, along, Method::kPwCubic, 0),
       RefusalCode::kStationOutOfRange, 1, "use conformal mapping for this section"},
      {"x beyond the chord", beyond_one, with(5, along, lagrange, 1), RefusalCode::kOutsideChord,
       1, "or calculate with conformal mapping"},
      {"two points of one x", flat_nose, with(5, along, lagrange, 1), RefusalCode::kOutOfOrder, 3,
       "also takes two points of the same x in a row"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RedistributeOutcome outcome = Redistribute(c.contour, c.settings);
    ASSERT_FALSE(outcome.ok());
    ASSERT_TRUE(outcome.refusal.has_value());
    EXPECT_EQ(outcome.refusal->code, c.code);
    EXPECT_EQ(outcome.refusal->index, c.index);
    EXPECT_NE(outcome.refusal->message.find(c.message_part), std::string::npos)
        << outcome.refusal->message;
  }
}

TEST(Redistribute, TypedSettingsAreReadAsTheWindowReadsThem) {
  struct Case {
    const char* text;
    bool points_ok;
    int points;
    bool degree_ok;
    int degree;
  };
  const Case cases[] = {
      {"51", true, 51, true, 51},     {" 1 01", true, 101, true, 101},
      {"abc", false, 0, true, 0},     {"1", false, 0, true, 1},
      {"2.5", false, 0, false, 0},    {"-3", false, 0, false, 0},
      {"1e300", false, 0, true, kPointCapacity},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int points = 0;
    const auto point_refusal = ReadPointCount(c.text, points);
    EXPECT_EQ(!point_refusal.has_value(), c.points_ok);
    if (c.points_ok) {
      EXPECT_EQ(points, c.points);
    } else {
      EXPECT_EQ(point_refusal->code, RefusalCode::kPointCount);
    }
    int degree = -1;
    const auto degree_refusal = ReadDegree(c.text, degree);
    EXPECT_EQ(!degree_refusal.has_value(), c.degree_ok);
    if (c.degree_ok) {
      EXPECT_EQ(degree, c.degree);
    }
  }
}

TEST(Redistribute, TheWindowsRunRefusesAWorkspaceWithoutPi) {
  auto ws = Loaded(test_contours::Diamond());
  ws->Pi = 0.0;
  const AirfoilWorkspace before = *ws;
  FixedHost host("5", true, "1");
  EXPECT_FALSE(RunCalculation(*ws, host));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("Pi"), std::string::npos);
  EXPECT_TRUE(*ws == before);
}

}  // namespace
}  // namespace quilane
