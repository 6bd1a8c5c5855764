#include "engine/distribute_along_x.h"

#include <cmath>
#include <vector>

#include "gtest/gtest.h"

namespace quilane {
namespace {

const double kPi = 4 * std::atan(1.0);

AirfoilWorkspace Contour(const std::vector<double>& x, const std::vector<double>& y, int ILE,
                         int NI) {
  AirfoilWorkspace ws;
  ws.Pi = kPi;
  ws.N = static_cast<int>(x.size());
  for (int i = 1; i <= ws.N; ++i) {
    ws.X[i] = x[i - 1];
    ws.Y[i] = y[i - 1];
  }
  ws.ILE = ILE;
  ws.NI = NI;
  return ws;
}

struct AngleCase {
  const char* name;
  std::vector<double> x, y;
  int ILE;
  std::vector<double> expected_u;
};

TEST(DistributeAlongX, AnglesOfTheInputPoints) {
  const double below_half = 0.5 - 1e-9;
  const double just_above_quarter = kPi / 2 + 2e-9;  // arccos(2 * below_half - 1)
  const AngleCase cases[] = {
      {"five-point contour",
       {1, 0.5, 0, 0.5, 1},
       {0, 0.05, 0, -0.05, 0},
       3,
       {0, kPi / 2, kPi, 3 * kPi / 2, 2 * kPi}},
      {"x just below one half, both surfaces",
       {1, below_half, 0, below_half, 1},
       {0, -0.05, 0, 0.05, 0},
       3,
       {0, just_above_quarter, kPi, 2 * kPi - just_above_quarter, 2 * kPi}},
      {"points off the quarter angles",
       {1, 0.75, 0.25, 0, 0.25, 0.75, 1},
       {0, -0.03, -0.04, 0, 0.04, 0.03, 0},
       4,
       {0, kPi / 3, 2 * kPi / 3, kPi, 4 * kPi / 3, 5 * kPi / 3, 2 * kPi}},
      {"nose point off x = 0 is reflected with the second surface",
       {1, 0.75, 0.25, 0.75, 1},
       {0, -0.03, 0, 0.03, 0},
       3,
       {0, kPi / 3, 4 * kPi / 3, 5 * kPi / 3, 2 * kPi}},
  };
  for (const AngleCase& c : cases) {
    SCOPED_TRACE(c.name);
    AirfoilWorkspace ws = Contour(c.x, c.y, c.ILE, 5);
    DistributeAlongX(ws);
    for (int i = 1; i <= ws.N; ++i) {
      EXPECT_NEAR(ws.U[i], c.expected_u[i - 1], 1e-14) << "U(" << i << ")";
      EXPECT_EQ(ws.V[i], c.y[i - 1]) << "V(" << i << ")";
    }
  }
}

TEST(DistributeAlongX, HalfChordPointTakesTheQuarterAngleExactly) {
  AirfoilWorkspace ws = Contour({1, 0.5, 0, 0.5, 1}, {0, 0.05, 0, -0.05, 0}, 3, 5);
  DistributeAlongX(ws);
  EXPECT_EQ(ws.U[2], kPi / 2);
  EXPECT_EQ(ws.U[4], 2 * kPi - kPi / 2);
}

struct StationCase {
  const char* name;
  int NI;
  std::vector<double> ui, xi;
};

TEST(DistributeAlongX, Stations) {
  const StationCase cases[] = {
      {"five stations", 5, {0, kPi / 2, kPi, 3 * kPi / 2, 2 * kPi}, {1, 0.5, 0, 0.5, 1}},
      {"two stations", 2, {0, 2 * kPi}, {1, 1}},
      {"four stations, none on the nose", 4, {0, 2 * kPi / 3, 4 * kPi / 3, 2 * kPi},
       {1, 0.25, 0.25, 1}},
  };
  for (const StationCase& c : cases) {
    SCOPED_TRACE(c.name);
    AirfoilWorkspace ws = Contour({1, 0.5, 0, 0.5, 1}, {0, 0.05, 0, -0.05, 0}, 3, c.NI);
    ws.XI[c.NI + 1] = 9;  // beyond NI: must stay
    DistributeAlongX(ws);
    for (int j = 1; j <= c.NI; ++j) {
      EXPECT_NEAR(ws.UI[j], c.ui[j - 1], 1e-14) << "UI(" << j << ")";
      EXPECT_NEAR(ws.XI[j], c.xi[j - 1], 1e-15) << "XI(" << j << ")";
    }
    EXPECT_EQ(ws.UI[1], 0);
    EXPECT_EQ(ws.XI[1], 1);
    EXPECT_EQ(ws.XI[c.NI + 1], 9);
  }
}

TEST(DistributeAlongX, CosineSpacingProperties) {
  // 51 stations: equal angle steps, x = (cos + 1) / 2, the nose at station 26,
  // pairs j and NI + 1 - j at the same x on opposite surfaces.
  std::vector<double> x, y;
  for (int i = 0; i <= 40; ++i) {
    const double angle = 2 * kPi * i / 40;
    x.push_back((std::cos(angle) + 1) / 2);
    y.push_back(-0.06 * std::sin(angle));
  }
  AirfoilWorkspace ws = Contour(x, y, 21, 51);
  DistributeAlongX(ws);
  for (int i = 2; i <= ws.N; ++i) EXPECT_LT(ws.U[i - 1], ws.U[i]) << "U rises at " << i;
  for (int i = 1; i <= ws.N; ++i) {
    const double arccos = std::acos(2 * ws.X[i] - 1);
    EXPECT_NEAR(ws.U[i], i >= ws.ILE ? 2 * kPi - arccos : arccos, 1e-7) << i;
  }
  const double step = 2 * kPi / 50;
  for (int j = 1; j <= 51; ++j) {
    EXPECT_NEAR(ws.UI[j], step * (j - 1), 1e-14) << j;
    EXPECT_NEAR(ws.XI[j], ws.XI[52 - j], 1e-14) << j;
  }
  EXPECT_NEAR(ws.XI[26], 0, 1e-15);
  EXPECT_NEAR(ws.UI[51], 2 * kPi, 1e-14);
}

struct OutOfOrderCase {
  const char* name;
  std::vector<double> x;
  int ILE;
};

TEST(DistributeAlongX, ContoursOutOfOrderLeaveTheFirstStationOutsideTheCurve) {
  const OutOfOrderCase cases[] = {
      {"first point not at the trailing edge", {0.9, 0.5, 0, 0.5, 1}, 3},
      {"nose never found (ILE = 0)", {0, 0.5, 1, 0.5, 0}, 0},
  };
  for (const OutOfOrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    AirfoilWorkspace ws = Contour(c.x, {0, -0.05, 0, 0.05, 0}, c.ILE, 5);
    DistributeAlongX(ws);
    double lowest = ws.U[1];
    for (int i = 2; i <= ws.N; ++i) lowest = std::min(lowest, ws.U[i]);
    EXPECT_GT(lowest, ws.UI[1] + 1e-6);
  }
}

TEST(DistributeAlongX, WithoutNoseEveryPointIsReflected) {
  AirfoilWorkspace ws = Contour({1, 0.5, 0, 0.5, 1}, {0, -0.05, 0, 0.05, 0}, 0, 5);
  DistributeAlongX(ws);
  const double expected[] = {2 * kPi, 3 * kPi / 2, kPi, 3 * kPi / 2, 2 * kPi};
  for (int i = 1; i <= 5; ++i) EXPECT_NEAR(ws.U[i], expected[i - 1], 1e-14) << i;
}

}  // namespace
}  // namespace quilane
