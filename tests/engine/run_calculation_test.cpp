#include "engine/run_calculation.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/map_airfoil_to_circle.h"

namespace quilane {
namespace {

// Host that serves fixed settings and records what the run asks of it.
class RecordingHost : public RunHost {
 public:
  std::string ni_text = "51";
  bool mapping = false;
  bool lagrange = true;
  std::string npoly_text = "1";
  bool second_mapping_read_flips = false;

  std::vector<std::string> calls;
  std::vector<std::string> messages;
  int shows = 0;
  int last_shown_ni = 0;

  std::string TextNI() override {
    calls.push_back("TextNI");
    return ni_text;
  }
  bool MappingChecked() override {
    calls.push_back("MappingChecked");
    const bool reads = mapping;
    if (second_mapping_read_flips) mapping = !mapping;
    return reads;
  }
  bool LagrangeSelected() override {
    calls.push_back("LagrangeSelected");
    return lagrange;
  }
  std::string TextNPoly() override {
    calls.push_back("TextNPoly");
    return npoly_text;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void SetScrollX0(int value) override { calls.push_back("X0=" + std::to_string(value)); }
  void SetScrollOlcek(int value) override { calls.push_back("Olcek=" + std::to_string(value)); }
  void SetScrollY0(int value) override { calls.push_back("Y0=" + std::to_string(value)); }
  void ShowAirfoil(int, const PointArray&, const PointArray&, int NI, const PointArray&,
                   const PointArray&) override {
    ++shows;
    last_shown_ni = NI;
  }
};

// A workspace as it stands right after a file was chosen: the contour given in
// normalised x, the new points a copy of it, the view at scale 1.
std::unique_ptr<AirfoilWorkspace> LoadedWorkspace(const std::vector<double>& x,
                                                  const std::vector<double>& y, int ile) {
  auto ws = std::make_unique<AirfoilWorkspace>();
  ws->Pi = 4.0 * std::atan(1.0);
  ws->AirfoilTitle = "Test section";
  ws->N = static_cast<int>(x.size());
  for (int i = 1; i <= ws->N; ++i) {
    ws->X[i] = x[i - 1];
    ws->Y[i] = y[i - 1];
    ws->XI[i] = x[i - 1];
    ws->YI[i] = y[i - 1];
  }
  ws->ILE = ile;
  ws->Xmin = 0.0;
  ws->Chord = 1.0;
  ws->NI = ws->N;
  ws->PlotScale = 1.0;
  ws->FileLoaded = true;
  return ws;
}

std::unique_ptr<AirfoilWorkspace> Diamond() {
  return LoadedWorkspace({1, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}, 3);
}

// NACA 00tt thickness on cosine-spaced stations, trailing edge, lower surface,
// nose, upper surface, trailing edge; closed trailing edge.
std::unique_ptr<AirfoilWorkspace> SymmetricSection(int per_surface, double thickness) {
  const double pi = 4.0 * std::atan(1.0);
  std::vector<double> x, y;
  auto half = [&](double s) {
    return 5 * thickness *
           (0.2969 * std::sqrt(s) - 0.1260 * s - 0.3516 * s * s + 0.2843 * s * s * s -
            0.1036 * s * s * s * s);
  };
  for (int j = 0; j < per_surface; ++j) {  // trailing edge to nose, lower surface
    const double s = 0.5 * (1 + std::cos(pi * j / (per_surface - 1)));
    x.push_back(s);
    y.push_back(-half(s));
  }
  for (int j = per_surface - 2; j >= 0; --j) {  // nose to trailing edge, upper surface
    const double s = 0.5 * (1 + std::cos(pi * j / (per_surface - 1)));
    x.push_back(s);
    y.push_back(half(s));
  }
  y.front() = 0.0;
  y.back() = 0.0;
  return LoadedWorkspace(x, y, per_surface);
}

// Normalised x whose shifted image lands exactly on z = -KA, found with the
// mapping's own KA.
double PointOnLeftSingularPoint() {
  auto probe = Diamond();
  probe->NI = 5;
  MapAirfoilToCircle(*probe);
  const double ka = probe->KA;
  double x = (1 - ka) - ka;
  while (x - (1 - ka) + ka < 0) x = std::nextafter(x, 1.0);
  while (x - (1 - ka) + ka > 0) x = std::nextafter(x, 0.0);
  return x;
}

TEST(RunCalculation, BeforeAnyFileOnlyAsksForOne) {
  AirfoilWorkspace ws;
  const AirfoilWorkspace before = ws;
  RecordingHost host;
  EXPECT_FALSE(RunCalculation(ws, host));
  EXPECT_EQ(host.messages, std::vector<std::string>{"Open a file containing airfoil coordinates"});
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(ws, before);
}

TEST(RunCalculation, ReadsSettingsInTheWindowsOrderAndResetsTheView) {
  auto ws = Diamond();
  ws->PlotX0 = 0.3;
  ws->PlotY0 = -0.2;
  ws->PlotScale = 3.0;
  RecordingHost host;
  host.ni_text = "5";
  ASSERT_TRUE(RunCalculation(*ws, host)) << (host.messages.empty() ? "" : host.messages[0]);
  const std::vector<std::string> expected = {"TextNI",         "MappingChecked", "LagrangeSelected",
                                             "TextNPoly",      "MappingChecked", "X0=0",
                                             "Olcek=0",        "Y0=0"};
  EXPECT_EQ(host.calls, expected);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.shows, 1);
  EXPECT_EQ(host.last_shown_ni, 5);
  EXPECT_EQ(ws->PlotTitle, "Test section - redistributed");
  EXPECT_EQ(ws->PlotScale, 1.0);
  EXPECT_EQ(ws->PlotX0, 0.0);
  EXPECT_EQ(ws->PlotY0, 0.0);
}

TEST(RunCalculation, SplineIsChosenByTheOtherButtonAndDegreeIsNotRead) {
  auto ws = Diamond();
  RecordingHost host;
  host.ni_text = "5";
  host.lagrange = false;
  host.npoly_text = "junk that must not be read";
  ASSERT_TRUE(RunCalculation(*ws, host));
  EXPECT_EQ(host.calls[2], "LagrangeSelected");
  EXPECT_EQ(host.calls[3], "MappingChecked");
  for (const auto& call : host.calls) EXPECT_NE(call, "TextNPoly");
}

// Along the chord the diamond's stations coincide with its points, so every
// method gives back the points themselves and the camber line of the diamond.
// On the mapping route the stations at the trailing edge and the nose
// coincide with points; the others lie between, symmetric about the chord.
TEST(RunCalculation, DiamondComesBackOnEveryRouteAndMethod) {
  struct Case {
    const char* name;
    bool mapping;
    bool lagrange;
    const char* npoly;
  };
  const Case cases[] = {{"along chord, linear", false, true, "1"},
                        {"along chord, cubic Lagrange", false, true, "3"},
                        {"along chord, spline", false, false, ""},
                        {"mapping, linear", true, true, "1"},
                        {"mapping, spline", true, false, ""}};
  const double x[] = {0, 1, 0.5, 0, 0.5, 1};
  const double y[] = {0, 0, -0.05, 0, 0.05, 0};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto ws = Diamond();
    RecordingHost host;
    host.ni_text = "5";
    host.mapping = c.mapping;
    host.lagrange = c.lagrange;
    host.npoly_text = c.npoly;
    ASSERT_TRUE(RunCalculation(*ws, host)) << host.messages.at(0);
    ASSERT_EQ(ws->NI, 5);
    for (int i = 1; i <= 5; ++i) {
      if (c.mapping && (i == 2 || i == 4)) continue;
      EXPECT_NEAR(ws->XI[i], x[i], 1e-12) << "point " << i;
      EXPECT_NEAR(ws->YI[i], y[i], 1e-12) << "point " << i;
    }
    EXPECT_NEAR(ws->XI[2], ws->XI[4], 1e-12);
    EXPECT_NEAR(ws->YI[2], -ws->YI[4], 1e-12);
    EXPECT_LT(ws->YI[2], 0.0);
    EXPECT_EQ(ws->NCamber, 3.0);
    EXPECT_NEAR(ws->XCamber[1], 0.0, 1e-12);
    EXPECT_NEAR(ws->XCamber[2], ws->XI[2], 1e-12);
    EXPECT_NEAR(ws->XCamber[3], 1.0, 1e-12);
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(ws->YCamber[i], 0.0, 1e-12);
  }
}

TEST(RunCalculation, AlongChordCopiesInterpolatedValuesIntoNewY) {
  auto ws = SymmetricSection(31, 0.12);
  RecordingHost host;
  host.ni_text = "51";
  ASSERT_TRUE(RunCalculation(*ws, host));
  for (int i = 1; i <= ws->NI; ++i) EXPECT_EQ(ws->YI[i], ws->VI[i]) << i;
}

// A second run on the same file starts again from the points read, so it
// equals a first run with its own settings, on both routes.
TEST(RunCalculation, RepeatedRunEqualsAFreshRun) {
  for (const bool mapping : {false, true}) {
    SCOPED_TRACE(mapping ? "mapping" : "along chord");
    auto repeated = SymmetricSection(41, 0.15);
    auto fresh = SymmetricSection(41, 0.15);
    RecordingHost host;
    host.mapping = mapping;
    host.ni_text = "75";
    ASSERT_TRUE(RunCalculation(*repeated, host));
    host.ni_text = "41";
    ASSERT_TRUE(RunCalculation(*repeated, host));
    ASSERT_TRUE(RunCalculation(*fresh, host));
    for (int i = 1; i <= 41; ++i) {
      EXPECT_EQ(repeated->XI[i], fresh->XI[i]);
      EXPECT_EQ(repeated->YI[i], fresh->YI[i]);
    }
    EXPECT_EQ(repeated->NCamber, fresh->NCamber);
  }
}

// New points of a symmetric section lie on its contour, and its camber line
// is flat, whatever the route and method.
TEST(RunCalculation, SymmetricSectionKeepsItsShape) {
  struct Case {
    const char* name;
    bool mapping;
    bool lagrange;
    const char* npoly;
  };
  const Case cases[] = {{"along chord, Lagrange 3", false, true, "3"},
                        {"along chord, spline", false, false, ""},
                        {"mapping, Lagrange 3", true, true, "3"},
                        {"mapping, spline", true, false, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto ws = SymmetricSection(61, 0.12);
    RecordingHost host;
    host.ni_text = "101";
    host.mapping = c.mapping;
    host.lagrange = c.lagrange;
    host.npoly_text = c.npoly;
    ASSERT_TRUE(RunCalculation(*ws, host));
    for (int i = 1; i <= ws->NI; ++i) {
      const double s = ws->XI[i];
      ASSERT_GE(s, -1e-9);
      ASSERT_LE(s, 1 + 1e-9);
      const double half = 5 * 0.12 *
                          (0.2969 * std::sqrt(std::max(s, 0.0)) - 0.1260 * s - 0.3516 * s * s +
                           0.2843 * s * s * s - 0.1036 * s * s * s * s);
      EXPECT_NEAR(std::fabs(ws->YI[i]), half, 2e-3) << "new point " << i << " at x " << s;
    }
    for (int i = 1; i <= 51; ++i) EXPECT_NEAR(ws->YCamber[i], 0.0, 1e-9) << i;
  }
}

// Every refused setting shows one message and leaves the whole workspace as
// it was, whatever the route.
TEST(RunCalculation, RefusedSettingsChangeNothing) {
  struct Case {
    const char* name;
    const char* ni;
    bool lagrange;
    const char* npoly;
    const char* message_start;
  };
  const Case cases[] = {
      {"no number", "abc", true, "1", "Number of new points \"abc\" is not a whole number"},
      {"one point", "1", true, "1", "Number of new points \"1\""},
      {"zero", "", true, "1", "Number of new points \"\""},
      {"negative", "-5", true, "1", "Number of new points \"-5\""},
      {"beyond the arrays", "1001", true, "1", "Number of new points \"1001\""},
      {"fraction", "50.5", true, "1", "Number of new points \"50.5\""},
      {"overflowing exponent", "1e400", true, "1", "Number of new points \"1e400\""},
      {"negative degree", "51", true, "-1", "nPoly \"-1\" is not a whole number of 0 or more"},
      {"fractional degree", "51", true, "1.5", "nPoly \"1.5\""},
      {"degree equal to N", "51", true, "5", "nPoly must be lower then 5"},
      {"degree far beyond N", "51", true, "1e300", "nPoly must be lower then 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto ws = Diamond();
    const AirfoilWorkspace before = *ws;
    RecordingHost host;
    host.ni_text = c.ni;
    host.lagrange = c.lagrange;
    host.npoly_text = c.npoly;
    Refusal refused;
    EXPECT_FALSE(RunCalculation(*ws, host, nullptr, &refused));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind(c.message_start, 0), 0u) << host.messages[0];
    // The refusal handed back is the one shown, and mapping is no way out.
    EXPECT_EQ(refused.message, host.messages[0]);
    EXPECT_FALSE(MappingIsTheWayOut(refused, false));
    EXPECT_EQ(host.shows, 0);
    EXPECT_TRUE(*ws == before);
  }
}

TEST(RunCalculation, DegreeJustBelowNIsAccepted) {
  auto ws = SymmetricSection(18, 0.12);  // 35 points
  ASSERT_EQ(ws->N, 35);
  RecordingHost host;
  host.npoly_text = "35";
  EXPECT_FALSE(RunCalculation(*ws, host));
  EXPECT_EQ(host.messages.at(0), "nPoly must be lower then 35");
  host.messages.clear();
  host.npoly_text = "34";
  host.ni_text = "35";
  EXPECT_TRUE(RunCalculation(*ws, host));
  EXPECT_TRUE(host.messages.empty());
}

// Contours a route cannot handle are refused after the route has been laid
// out, and the run puts everything back.
TEST(RunCalculation, RefusedContoursChangeNothing) {
  struct Case {
    const char* name;
    std::vector<double> x, y;
    int ile;
    bool mapping;
    const char* message_part;
  };
  const std::vector<Case> cases = {
      {"upper surface first on the mapping route", {1, 0.5, 0, 0.5, 1}, {0, 0.05, 0, -0.05, 0},
       3, true, "needs the lower surface first"},
      {"first point ahead of the trailing edge", {0.9, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0},
       3, false, "xI(1) = 1 is not in the given interpolation range"},
      {"points out of order", {1, 0.3, 0.5, 0, 0.5, 1}, {0, -0.04, -0.05, 0, 0.05, 0}, 4, false,
       "does not follow the point 2"},
      {"x beyond the chord", {1, 0.5, -0.2, 0.5, 1}, {0, -0.05, 0, 0.05, 0}, 3, false,
       "outside the chord"},
      {"point on the singular point", {1, 0.5, PointOnLeftSingularPoint(), 0, 0.5, 1},
       {0, -0.05, 0, 0, 0.05, 0}, 4, true, "singular point"},
      {"camber midpoint beyond the largest double", {1, 0, 1}, {1e308, 0, 1e308}, 2, false,
       "Camber point 4 came out as no finite number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto ws = LoadedWorkspace(c.x, c.y, c.ile);
    const AirfoilWorkspace before = *ws;
    RecordingHost host;
    host.ni_text = "7";
    host.mapping = c.mapping;
    EXPECT_FALSE(RunCalculation(*ws, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(c.message_part), std::string::npos) << host.messages[0];
    EXPECT_EQ(host.shows, 0);
    EXPECT_TRUE(*ws == before);
  }
}

TEST(RunCalculation, RouteMustNotChangeBetweenLayoutAndMappingBack) {
  auto ws = Diamond();
  const AirfoilWorkspace before = *ws;
  RecordingHost host;
  host.ni_text = "5";
  host.second_mapping_read_flips = true;
  EXPECT_FALSE(RunCalculation(*ws, host));
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(*ws == before);
}

TEST(RunCalculation, EvenPointCountGivesHalfCamberCount) {
  auto ws = SymmetricSection(31, 0.12);
  RecordingHost host;
  host.ni_text = "50";
  ASSERT_TRUE(RunCalculation(*ws, host));
  EXPECT_EQ(ws->NCamber, 25.5);
  EXPECT_TRUE(ws->NCamber.IsSet());
}

}  // namespace
}  // namespace quilane
