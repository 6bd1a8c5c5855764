#include "engine/lagrange_interpolation.h"

#include <cmath>
#include <set>
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

// Interpolates one station; returns the value.
double AtStation(const Curve& c, double station, int nPoly) {
  PointArray UI{}, VI{};
  UI[1] = station;
  EXPECT_EQ(LagrangeInterpolate(c.N, c.U, c.V, 1, UI, VI, nPoly), 0) << station;
  return VI[1];
}

TEST(LagrangeEvaluate, SmallPolynomials) {
  const double xl[] = {0, 1, 2, 3};
  const double yl[] = {0, 1, 4, 9};
  EXPECT_EQ(LagrangeEvaluate(0, 5.0, xl, yl), 0);              // constant through the first point
  EXPECT_DOUBLE_EQ(LagrangeEvaluate(1, 0.25, xl, yl), 0.25);   // line through (0,0), (1,1)
  EXPECT_DOUBLE_EQ(LagrangeEvaluate(2, 2.5, xl, yl), 6.25);    // the parabola
  EXPECT_DOUBLE_EQ(LagrangeEvaluate(3, -1.0, xl, yl), 1.0);    // extrapolated
}

TEST(LagrangeInterpolate, ParabolaExample) {
  const Curve c = MakeCurve({0, 1, 2, 3}, {0, 1, 4, 9});
  EXPECT_DOUBLE_EQ(AtStation(c, 1.5, 2), 2.25);
}

struct WindowCase {
  const char* name;
  int nPoly, interval, first, last;
};

// Support points used for a station in the middle of an interval: a given
// point belongs to the window exactly when a unit ordinate there changes the
// result (the basis values are non-zero off the nodes).
TEST(LagrangeInterpolate, SupportWindowForTenPoints) {
  const WindowCase cases[] = {
      {"degree 0", 0, 5, 5, 5},          {"degree 1", 1, 5, 5, 6},
      {"degree 2", 2, 5, 4, 6},          {"degree 3", 3, 5, 4, 7},
      {"degree 4", 4, 5, 3, 7},          {"degree 4 at the start", 4, 1, 1, 5},
      {"degree 3 at the end", 3, 9, 7, 10}, {"degree 2 in the last interval", 2, 9, 8, 10},
      {"degree 9, whole curve", 9, 4, 1, 10},
  };
  for (const WindowCase& w : cases) {
    SCOPED_TRACE(w.name);
    std::set<int> support;
    for (int q = 1; q <= 10; ++q) {
      std::vector<double> u, v;
      for (int k = 1; k <= 10; ++k) {
        u.push_back(k);
        v.push_back(k == q ? 1 : 0);
      }
      if (AtStation(MakeCurve(u, v), w.interval + 0.5, w.nPoly) != 0) support.insert(q);
    }
    std::set<int> expected;
    for (int q = w.first; q <= w.last; ++q) expected.insert(q);
    EXPECT_EQ(support, expected);
  }
}

struct ToleranceCase {
  const char* name;
  double station;
  double expected;
};

TEST(LagrangeInterpolate, StationsNearGivenPoints) {
  // Points on u^3 with a degree-5 window; a station within 1e-6 of a given
  // abscissa takes its ordinate unchanged.
  std::vector<double> u, v;
  for (int k = 1; k <= 8; ++k) {
    u.push_back(k);
    v.push_back(k * k * k + 0.125);
  }
  const Curve c = MakeCurve(u, v);
  const ToleranceCase cases[] = {
      {"on the first point", 1, 1.125},
      {"just below the first point", 1 - 0.9e-6, 1.125},
      {"on the tolerance bound below the first point", 1 - 0.5e-6, 1.125},
      {"just above an interior point", 4 + 0.5e-6, 64.125},
      {"just below an interior point, inside the interval before", 4 - 0.5e-6, 64.125},
      {"on the last point", 8, 512.125},
      {"just above the last point", 8 + 0.9e-6, 512.125},
  };
  for (const ToleranceCase& t : cases) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(AtStation(c, t.station, 5), t.expected);
  }
  // Beyond the tolerance the polynomial answers.
  const double beyond = 4 + 2e-6;
  const double value = AtStation(c, beyond, 5);
  EXPECT_NE(value, 64.125);
  EXPECT_NEAR(value, beyond * beyond * beyond + 0.125, 1e-9);
}

TEST(LagrangeInterpolate, DegreeZeroTakesTheLowerEnd) {
  const Curve c = MakeCurve({0, 1, 2, 3}, {5, 6, 8, 11});
  EXPECT_EQ(AtStation(c, 0.3, 0), 5);
  EXPECT_EQ(AtStation(c, 2.9, 0), 8);
}

TEST(LagrangeInterpolate, WindowReproducesPolynomialsOfItsDegree) {
  // Unevenly spaced abscissae; every degree n reproduces a polynomial of
  // degree n anywhere in the curve, ends included.
  for (int degree : {0, 1, 2, 3, 4, 6, 9}) {
    SCOPED_TRACE(degree);
    std::vector<double> coef;
    for (int p = 0; p <= degree; ++p) coef.push_back(std::cos(1.0 + p) * (p % 2 ? -1 : 1));
    auto poly = [&](double x) {
      double y = 0;
      for (int p = degree; p >= 0; --p) y = y * x + coef[p];
      return y;
    };
    std::vector<double> u, v;
    for (int k = 0; k < 14; ++k) {
      const double x = -1 + 2.0 * k / 13 + 0.03 * std::sin(3.0 * k);
      u.push_back(x);
      v.push_back(poly(x));
    }
    const Curve c = MakeCurve(u, v);
    PointArray UI{}, VI{};
    const int NI = 40;
    for (int j = 1; j <= NI; ++j) UI[j] = u.front() + (u.back() - u.front()) * (j - 0.5) / NI;
    ASSERT_EQ(LagrangeInterpolate(c.N, c.U, c.V, NI, UI, VI, degree), 0);
    for (int j = 1; j <= NI; ++j) EXPECT_NEAR(VI[j], poly(UI[j]), 1e-11) << UI[j];
  }
}

TEST(LagrangeInterpolate, HighDegreesFitTheTables) {
  // Degree 400 on Chebyshev abscissae, where so high a degree stays well
  // conditioned, reproduces a straight line at both ends and in the middle.
  const double pi = 4 * std::atan(1.0);
  Curve c;
  c.N = 401;
  for (int k = 1; k <= c.N; ++k) {
    c.U[k] = -std::cos(pi * (k - 0.5) / c.N);
    c.V[k] = 2 * c.U[k] + 1;
  }
  for (int k : {1, 200, 400}) {
    const double station = (c.U[k] + c.U[k + 1]) / 2;
    EXPECT_NEAR(AtStation(c, station, 400), 2 * station + 1, 1e-12) << k;
  }

  // Degree 999 over the full capacity: the window is the whole curve, and
  // the middle of evenly spaced points is where the product form holds up.
  Curve full;
  full.N = kPointCapacity;
  for (int k = 1; k <= full.N; ++k) {
    full.U[k] = k;
    full.V[k] = 2 * k + 1;
  }
  EXPECT_NEAR(AtStation(full, 500.5, kMaxLagrangeDegree), 1002, 1e-9);
  EXPECT_EQ(AtStation(full, 1000, kMaxLagrangeDegree), 2001);
}

struct UnplacedCase {
  const char* name;
  std::vector<double> stations;
  int expected;
};

TEST(LagrangeInterpolate, StopsAtTheFirstUnplacedStation) {
  const Curve c = MakeCurve({0, 1, 2, 3}, {0, 1, 4, 9});
  const UnplacedCase cases[] = {
      {"below the first point", {-2e-6, 1.5}, 1},
      {"above the last point", {0.5, 1.5, 3 + 2e-6, 2.5}, 3},
      {"far outside, later stations untouched", {0.5, 7, -3}, 2},
  };
  for (const UnplacedCase& t : cases) {
    SCOPED_TRACE(t.name);
    PointArray UI{}, VI{};
    const int NI = static_cast<int>(t.stations.size());
    for (int j = 1; j <= NI; ++j) {
      UI[j] = t.stations[j - 1];
      VI[j] = -99;
    }
    EXPECT_EQ(LagrangeInterpolate(c.N, c.U, c.V, NI, UI, VI, 2), t.expected);
    for (int j = 1; j < t.expected; ++j) EXPECT_NEAR(VI[j], UI[j] * UI[j], 1e-12) << j;
    for (int j = t.expected; j <= NI; ++j) EXPECT_EQ(VI[j], -99) << "untouched at " << j;
  }
}

TEST(LagrangeInterpolate, SinglePointCurvePlacesNothing) {
  const Curve c = MakeCurve({0}, {1});
  PointArray UI{}, VI{};
  VI[1] = -99;
  EXPECT_EQ(LagrangeInterpolate(c.N, c.U, c.V, 1, UI, VI, 0), 1);
  EXPECT_EQ(VI[1], -99);
}

}  // namespace
}  // namespace quilane
