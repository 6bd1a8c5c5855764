#include "engine/map_airfoil_to_circle.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "test_sections.h"

namespace quilane {
namespace {

using test::kPi;

// The diamond's workspace with NI new points to come.
std::unique_ptr<AirfoilWorkspace> Diamond(int NI) {
  return test::WorkspaceOf(test::DiamondContour(), NI);
}

// Agreement to 12 significant digits (absolute near zero).
void ExpectSignificant(double actual, double expected, const std::string& what) {
  const double tolerance = std::max(5e-12 * std::abs(expected), 1e-15);
  EXPECT_NEAR(actual, expected, tolerance) << what;
}

TEST(MapAirfoilToCircle, ParametersForUnitChord) {
  const auto ws = Diamond(5);
  ASSERT_EQ(MapAirfoilToCircle(*ws), 0);
  EXPECT_EQ(ws->K, 2);
  EXPECT_EQ(ws->A, 0.24793388429752067);  // 30/121
  EXPECT_EQ(ws->KA, 0.49586776859504134);  // 60/121
  EXPECT_EQ(ws->KA, ws->A * 2);
}

struct DiamondImage {
  const char* name;
  int i;
  double xc, yc, u, v;
};

TEST(MapAirfoilToCircle, DiamondImagesAndPolarForm) {
  const DiamondImage cases[] = {
      {"trailing edge first", 1, 0.247933884298, 0, 0, 0.247933884298},
      {"lower mid", 2, -0.00227340499756, -0.274182634061, 1.57908770859, 0.274192058949},
      {"nose", 3, -0.297520661157, 0, kPi, 0.297520661157},
      {"upper mid", 4, -0.00227340499756, 0.274182634061, 4.70409759859, 0.274192058949},
      {"trailing edge last", 5, 0.247933884298, 0, 2 * kPi, 0.247933884298},
  };
  const auto ws = Diamond(5);
  ASSERT_EQ(MapAirfoilToCircle(*ws), 0);
  for (const DiamondImage& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSignificant(ws->XC[c.i], c.xc, "XC");
    ExpectSignificant(ws->YC[c.i], c.yc, "YC");
    ExpectSignificant(ws->U[c.i], c.u, "U");
    ExpectSignificant(ws->V[c.i], c.v, "V");
  }
  // The sharp trailing edge lands on zeta = A, the nose on zeta = -1.2 A.
  ExpectSignificant(ws->V[1], ws->A, "V(1) = A");
  ExpectSignificant(ws->V[3], 1.2 * ws->A, "V(ILE) = 1.2 A");
}

TEST(MapAirfoilToCircle, ChordInFileUnitsDoesNotMoveTheContour) {
  // A file spanning x = 10..110 arrives normalised with Chord = 100; the
  // mapping works on the normalised x and gives the same images.
  const auto unit = Diamond(5);
  const auto wide = Diamond(5);
  wide->Chord = 100;
  ASSERT_EQ(MapAirfoilToCircle(*unit), 0);
  ASSERT_EQ(MapAirfoilToCircle(*wide), 0);
  EXPECT_EQ(wide->A, unit->A);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(wide->U[i], unit->U[i]) << i;
    EXPECT_EQ(wide->V[i], unit->V[i]) << i;
  }
}

struct StationCase {
  const char* name;
  int NI;
  std::vector<double> expected;
};

TEST(MapAirfoilToCircle, StationsOnDiamond) {
  // U(1) = 0 and U(N) = 2 Pi on the diamond.
  const StationCase cases[] = {
      {"odd NI: nose station at Pi", 5, {0, kPi / 2, kPi, 3 * kPi / 2, 2 * kPi}},
      {"even NI: half steps around Pi", 4, {0, kPi / 1.5, kPi + 0.5 * kPi / 1.5, 2 * kPi}},
      {"two stations: both ends", 2, {0, 2 * kPi}},
  };
  for (const StationCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto ws = Diamond(c.NI);
    ws->UI[c.NI + 1] = 123;  // beyond NI: must stay
    ASSERT_EQ(MapAirfoilToCircle(*ws), 0);
    for (int j = 1; j <= c.NI; ++j) {
      ExpectSignificant(ws->UI[j], c.expected[j - 1], "UI(" + std::to_string(j) + ")");
    }
    EXPECT_EQ(ws->UI[1], ws->U[1]);
    EXPECT_EQ(ws->UI[c.NI + 1], 123);
  }
}

TEST(MapAirfoilToCircle, StationsSplitUnequalHalves) {
  // On a cambered section the two halves have their own steps; m = 26 for 51.
  const auto ws = test::WorkspaceOf(test::NacaContour(0.04, 0.4, 0.15, 30), 51);
  ASSERT_EQ(MapAirfoilToCircle(*ws), 0);
  const double d1 = (kPi - ws->U[1]) / 25;
  const double d2 = (ws->U[ws->N] - kPi) / 25;
  for (int j = 1; j <= 26; ++j) ExpectSignificant(ws->UI[j], ws->U[1] + d1 * (j - 1), "lower");
  for (int j = 27; j <= 51; ++j) ExpectSignificant(ws->UI[j], kPi + d2 * (j - 26), "upper");
  ExpectSignificant(ws->UI[26], kPi, "nose station");
  ExpectSignificant(ws->UI[51], ws->U[ws->N], "last station");
}

TEST(MapAirfoilToCircle, ContourPropertiesOnNacaSections) {
  struct Section {
    const char* name;
    double camber, camber_at, thickness;
    int half;
  };
  const Section sections[] = {
      {"symmetric 12 %", 0, 0.4, 0.12, 40},
      {"cambered 4415", 0.04, 0.4, 0.15, 35},
      {"thick cambered 6421", 0.06, 0.4, 0.21, 60},
  };
  for (const Section& s : sections) {
    SCOPED_TRACE(s.name);
    const auto ws =
        test::WorkspaceOf(test::NacaContour(s.camber, s.camber_at, s.thickness, s.half));
    ASSERT_EQ(MapAirfoilToCircle(*ws), 0);
    for (int i = 2; i <= ws->N; ++i) EXPECT_LT(ws->U[i - 1], ws->U[i]) << "U rises at " << i;
    for (int i = 1; i <= ws->N; ++i) EXPECT_GE(ws->V[i], ws->A * (1 - 1e-12)) << "V >= A at " << i;
    ExpectSignificant(ws->U[ws->ILE], kPi, "nose angle");
    ExpectSignificant(ws->V[ws->ILE], 1.2 * ws->A, "nose radius");
    // The stations stay inside the interpolated range.
    EXPECT_EQ(ws->UI[1], ws->U[1]);
    EXPECT_NEAR(ws->UI[ws->NI], ws->U[ws->N], 1e-12);
  }
}

// x of a point that lies exactly on the left singular point z = -KA once
// shifted into the mapping's frame.
double SingularX(double KA) {
  double x = 1 - 2 * KA;
  for (int step = 0; step < 64 && (x - (1 - KA)) + KA != 0; ++step) {
    x = std::nextafter(x, (x - (1 - KA)) + KA > 0 ? 0.0 : 1.0);
  }
  return x;
}

struct SingularCase {
  const char* name;
  std::vector<int> on_singular_point;  // indices moved onto z = -KA
  int expected;
};

TEST(MapAirfoilToCircle, RefusesPointOnLeftSingularPoint) {
  const SingularCase cases[] = {
      {"nose on it", {3}, 3},
      {"first point on it", {1}, 1},
      {"two points: the first is reported", {4, 2}, 2},
  };
  for (const SingularCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto probe = Diamond(5);
    ASSERT_EQ(MapAirfoilToCircle(*probe), 0);
    const double x = SingularX(probe->KA);
    ASSERT_EQ((x - (1 - probe->KA)) + probe->KA, 0);

    const auto ws = Diamond(5);
    for (int i : c.on_singular_point) {
      ws->X[i] = x;
      ws->Y[i] = 0;
    }
    for (int i = 1; i <= 5; ++i) ws->U[i] = ws->V[i] = ws->UI[i] = -7;
    EXPECT_EQ(MapAirfoilToCircle(*ws), c.expected);
    for (int i = 1; i < c.expected; ++i) EXPECT_NE(ws->U[i], -7) << "written at " << i;
    for (int i = c.expected; i <= 5; ++i) EXPECT_EQ(ws->U[i], -7) << "untouched at " << i;
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(ws->UI[j], -7) << "no stations at " << j;
  }
}

}  // namespace
}  // namespace quilane
