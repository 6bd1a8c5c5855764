#include "engine/pw_cubic_interpolation.h"

#include <cmath>
#include <vector>

#include "gtest/gtest.h"

namespace quilane {
namespace {

struct Curve {
  int N = 0;
  PointArray U{}, V{};
};

Curve MakeCurve(const std::vector<double>& u, const std::vector<double>& v) {
  Curve c;
  c.N = static_cast<int>(u.size());
  for (int k = 1; k <= c.N; ++k) {
    c.U[k] = u[k - 1];
    c.V[k] = v[k - 1];
  }
  return c;
}

// Coefficients, then the value at each station; expects every station placed.
std::vector<double> Interpolate(const Curve& c, const std::vector<double>& stations) {
  PointArray UI{}, VI{};
  const int NI = static_cast<int>(stations.size());
  for (int j = 1; j <= NI; ++j) UI[j] = stations[j - 1];
  PwCubicCoefficients(c.N, c.U, c.V);
  EXPECT_EQ(PwCubicEvaluate(c.N, c.U, c.V, NI, UI, VI), 0);
  return std::vector<double>(VI.begin() + 1, VI.begin() + 1 + NI);
}

// The coefficients of a curve in a table of the test's own.
PwCubicTable Coefficients(const Curve& c) {
  PwCubicTable table{};
  PwCubicCoefficients(c.N, c.U, c.V, table);
  return table;
}

// Slope of the cubic of interval j of `table` at u.
double CubicSlope(const PwCubicTable& table, int j, double u) {
  return table[j][2] + 2 * table[j][3] * u + 3 * table[j][4] * u * u;
}

TEST(GaussSolve, KnownSystems) {
  // 4x4 with non-zero pivots and no exchange needed; solution (1, -2, 3, 0.5).
  GaussMatrix aug{};
  aug[1] = {0, 2, 1, 1, 0, 3};
  aug[2] = {0, 4, 3, 3, 1, 7.5};
  aug[3] = {0, 8, 7, 9, 5, 23.5};
  aug[4] = {0, 6, 7, 9, 8, 23};
  GaussVector sol{};
  GaussSolve(4, aug, sol);
  EXPECT_NEAR(sol[1], 1, 1e-13);
  EXPECT_NEAR(sol[2], -2, 1e-13);
  EXPECT_NEAR(sol[3], 3, 1e-13);
  EXPECT_NEAR(sol[4], 0.5, 1e-13);
  // The matrix is left reduced: unit diagonal, zeros below.
  for (int i = 1; i <= 4; ++i) {
    EXPECT_DOUBLE_EQ(aug[i][i], 1) << i;
    for (int r = i + 1; r <= 4; ++r) EXPECT_EQ(aug[r][i], 0) << r << "," << i;
  }

  GaussMatrix two{};
  two[1] = {0, 3, 1, 5, 0, 0};
  two[2] = {0, 1, 2, 5, 0, 0};
  GaussVector two_sol{};
  GaussSolve(2, two, two_sol);
  EXPECT_NEAR(two_sol[1], 1, 1e-15);
  EXPECT_NEAR(two_sol[2], 2, 1e-15);
}

TEST(GaussSolve, ZeroPivotGivesNoFiniteSolution) {
  // Without row exchange a zero leading entry cannot be eliminated.
  GaussMatrix aug{};
  aug[1] = {0, 0, 1, 1, 0, 0};
  aug[2] = {0, 1, 0, 2, 0, 0};
  GaussVector sol{};
  GaussSolve(2, aug, sol);
  EXPECT_FALSE(std::isfinite(sol[1]) && std::isfinite(sol[2]));
}

TEST(PwCubic, StraightKnotsGiveZeroEndSlopes) {
  const Curve c = MakeCurve({0, 1, 2}, {0, 1, 2});
  const std::vector<double> values = Interpolate(c, {0, 0.5, 1, 1.5, 2});
  const double expected[] = {0, 0.375, 1, 1.625, 2};
  for (int j = 0; j < 5; ++j) EXPECT_NEAR(values[j], expected[j], 1e-14) << j;

  // Interval 1: 2u^2 - u^3; interval 2: 2 - 4u + 4u^2 - u^3.
  const double row1[] = {0, 0, 2, -1};
  const double row2[] = {2, -4, 4, -1};
  const PwCubicTable table = Coefficients(c);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_NEAR(table[1][k], row1[k - 1], 1e-14) << k;
    EXPECT_NEAR(table[2][k], row2[k - 1], 1e-14) << k;
  }
}

TEST(PwCubic, BisectorSlopeAtABend) {
  const Curve c = MakeCurve({0, 1, 3}, {0, 1, 1});
  const std::vector<double> values = Interpolate(c, {0.5, 2});
  const double slope = std::sqrt(2.0) - 1;
  const PwCubicTable table = Coefficients(c);
  EXPECT_NEAR(CubicSlope(table, 1, 1), slope, 1e-14);
  EXPECT_NEAR(CubicSlope(table, 2, 1), slope, 1e-14);
  EXPECT_NEAR(values[0], 0.5 - slope / 8, 1e-14);
  EXPECT_NEAR(values[1], 1 + slope / 4, 1e-14);
  EXPECT_NEAR(values[0], 0.448223, 1e-6);
  EXPECT_NEAR(values[1], 1.103553, 1e-6);
}

TEST(PwCubic, TwoKnotsGiveTheHermiteStep) {
  const Curve c = MakeCurve({1, 3}, {2, 5});
  std::vector<double> stations;
  for (int j = 1; j < 20; ++j) stations.push_back(1 + 2.0 * j / 20);
  const std::vector<double> values = Interpolate(c, stations);
  for (size_t j = 0; j < stations.size(); ++j) {
    const double s = (stations[j] - 1) / 2;
    EXPECT_NEAR(values[j], 2 + 3 * (3 * s * s - 2 * s * s * s), 1e-12) << stations[j];
  }
  const PwCubicTable table = Coefficients(c);
  EXPECT_NEAR(CubicSlope(table, 1, 1), 0, 1e-13);
  EXPECT_NEAR(CubicSlope(table, 1, 3), 0, 1e-13);
}

struct ToleranceCase {
  const char* name;
  double station;
  double expected;
};

TEST(PwCubic, StationsNearKnots) {
  const Curve c = MakeCurve({0, 1, 3, 4}, {0.5, 1, 1, 0});
  const ToleranceCase cases[] = {
      {"on the first knot", 0, 0.5},
      {"just below the first knot", -0.9e-6, 0.5},
      {"on the tolerance bound", -1e-6, 0.5},
      {"just above an interior knot", 1 + 0.5e-6, 1},
      {"just below an interior knot", 3 - 0.5e-6, 1},
      {"on the last knot", 4, 0},
      {"just above the last knot", 4 + 0.9e-6, 0},
  };
  for (const ToleranceCase& t : cases) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(Interpolate(c, {t.station})[0], t.expected);
  }
  // Beyond the tolerance the cubic of interval 2 answers: its value and slope
  // at the knot, carried 2e-6 along.
  const double station = 1 + 2e-6;
  const double value = Interpolate(c, {station})[0];
  EXPECT_NE(value, 1);
  EXPECT_NEAR(value, 1 + CubicSlope(Coefficients(c), 2, 1) * 2e-6, 1e-11);
}

TEST(PwCubic, InterpolantThroughKnotsWithContinuousSlope) {
  // Uneven knots on a wavy curve: each cubic meets both its knots, and the
  // slopes of neighbouring cubics agree at the knot between them.
  std::vector<double> u, v;
  for (int k = 0; k < 30; ++k) {
    u.push_back(k * 0.21 + 0.05 * std::sin(1.7 * k));
    v.push_back(std::sin(u.back()) + 0.1 * std::cos(5 * u.back()));
  }
  const Curve c = MakeCurve(u, v);
  const PwCubicTable table = Coefficients(c);
  auto cubic = [&table](int j, double x) {
    return table[j][1] + table[j][2] * x + table[j][3] * x * x + table[j][4] * x * x * x;
  };
  for (int j = 1; j <= c.N - 1; ++j) {
    EXPECT_NEAR(cubic(j, c.U[j]), c.V[j], 1e-10) << j;
    EXPECT_NEAR(cubic(j, c.U[j + 1]), c.V[j + 1], 1e-10) << j;
  }
  for (int k = 2; k <= c.N - 1; ++k) {
    EXPECT_NEAR(CubicSlope(table, k - 1, c.U[k]), CubicSlope(table, k, c.U[k]), 1e-8) << k;
  }
  EXPECT_NEAR(CubicSlope(table, 1, c.U[1]), 0, 1e-9);
  EXPECT_NEAR(CubicSlope(table, c.N - 1, c.U[c.N]), 0, 1e-8);
}

TEST(PwCubic, FullCapacityCurve) {
  Curve c;
  c.N = kPointCapacity;
  for (int k = 1; k <= c.N; ++k) {
    c.U[k] = k;
    c.V[k] = std::sin(0.01 * k);
  }
  const std::vector<double> values = Interpolate(c, {1, 500.5, 999.5, 1000});
  EXPECT_EQ(values[0], c.V[1]);
  EXPECT_NEAR(values[1], std::sin(5.005), 1e-6);
  // The last interval ends with slope zero: mid-value of the Hermite cubic.
  // The power series in the absolute abscissa gives up digits near u = 1000.
  const PwCubicTable table = Coefficients(c);
  const double slope = CubicSlope(table, 999, 999);
  EXPECT_NEAR(values[2], (c.V[999] + c.V[1000]) / 2 + slope / 8, 1e-8);
  EXPECT_NEAR(CubicSlope(table, 999, 1000), 0, 1e-6);
  EXPECT_EQ(values[3], c.V[1000]);
}

TEST(PwCubic, RowsBeyondTheCurveKeepEarlierCubics) {
  const Curve longer = MakeCurve({0, 1, 2, 3, 4}, {0, 1, 0, 1, 0});
  PwCubicTable table{};
  PwCubicCoefficients(longer.N, longer.U, longer.V, table);
  const double row4 = table[4][2];
  const Curve shorter = MakeCurve({0, 1, 2}, {3, 3, 7});
  PwCubicCoefficients(shorter.N, shorter.U, shorter.V, table);
  EXPECT_EQ(table[4][2], row4);
  EXPECT_NEAR(table[1][1], 3, 1e-14);
  // The module's own table is filled by the same steps: a station between
  // the knots takes the value of the cubic in the test's table.
  PointArray UI{}, VI{};
  UI[1] = 1.5;
  PwCubicCoefficients(shorter.N, shorter.U, shorter.V);
  ASSERT_EQ(PwCubicEvaluate(shorter.N, shorter.U, shorter.V, 1, UI, VI), 0);
  EXPECT_EQ(VI[1], table[2][1] + table[2][2] * std::pow(1.5, 1) +
                       table[2][3] * std::pow(1.5, 2) + table[2][4] * std::pow(1.5, 3));
}

struct UnplacedCase {
  const char* name;
  std::vector<double> stations;
  int expected;
};

TEST(PwCubic, UnplacedStationsAreLeftAndReported) {
  const Curve c = MakeCurve({0, 1, 2}, {0, 1, 2});
  const UnplacedCase cases[] = {
      {"below the first knot", {-2e-6, 0.5, 1.5}, 1},
      {"above the last knot", {0.5, 2 + 2e-6, 1.5}, 2},
      {"two outside: the first is reported", {0.5, 1.5, 9, -9, 1}, 3},
  };
  for (const UnplacedCase& t : cases) {
    SCOPED_TRACE(t.name);
    PointArray UI{}, VI{};
    const int NI = static_cast<int>(t.stations.size());
    for (int j = 1; j <= NI; ++j) {
      UI[j] = t.stations[j - 1];
      VI[j] = -99;
    }
    PwCubicCoefficients(c.N, c.U, c.V);
    EXPECT_EQ(PwCubicEvaluate(c.N, c.U, c.V, NI, UI, VI), t.expected);
    for (int j = 1; j <= NI; ++j) {
      const bool inside = UI[j] >= -1e-6 && UI[j] <= 2 + 1e-6;
      if (inside) {
        EXPECT_NE(VI[j], -99) << "placed at " << j;
      } else {
        EXPECT_EQ(VI[j], -99) << "untouched at " << j;
      }
    }
  }
}

TEST(PwCubic, InterpolateWorksOnTheWorkspace) {
  AirfoilWorkspace ws;
  ws.N = 3;
  ws.U[1] = 0, ws.U[2] = 1, ws.U[3] = 3;
  ws.V[1] = 0, ws.V[2] = 1, ws.V[3] = 1;
  ws.NI = 2;
  ws.UI[1] = 0.5;
  ws.UI[2] = 7;
  ws.VI[2] = -99;
  EXPECT_EQ(PwCubicInterpolate(ws), 2);
  EXPECT_NEAR(ws.VI[1], 0.5 - (std::sqrt(2.0) - 1) / 8, 1e-14);
  EXPECT_EQ(ws.VI[2], -99);
}

}  // namespace
}  // namespace quilane
