#include "engine/pw_cubic_interpolation.h"

#include <array>
#include <cmath>

#include "base/precondition.h"
#include "engine/station_search.h"

namespace quilane {

namespace {

// The cubics of the last PwCubicCoefficients without a table, one table per
// thread (calculations run side by side in the Python module's threads);
// kept between calls.
thread_local PwCubicTable coefficient_table{};

}  // namespace

void GaussSolve(int n, GaussMatrix& Aug, GaussVector& Sol) {
  QUILANE_PRECONDITION(n >= 1 && n <= 4);
  for (int i = 1; i <= n; ++i) {
    const double p = Aug[i][i];
    for (int c = i; c <= n + 1; ++c) Aug[i][c] = Aug[i][c] / p;
    if (i != n) {
      for (int r = i + 1; r <= n; ++r) {
        const double f = Aug[r][i];
        for (int c = i; c <= n + 1; ++c) Aug[r][c] = Aug[r][c] - Aug[i][c] * f;
      }
    }
  }
  for (int m = 1; m <= n; ++m) {
    const int i = n + 1 - m;
    double s = 0;
    if (i != n) {
      for (int c = i + 1; c <= n; ++c) s = s + Sol[c] * Aug[i][c];
    }
    Sol[i] = Aug[i][n + 1] - s;
  }
}

void PwCubicCoefficients(int N, const PointArray& U, const PointArray& V, PwCubicTable& table) {
  QUILANE_PRECONDITION(N >= 2 && N <= kPointCapacity);
  // Slope at each knot: the bisector of the unit chords meeting there, the
  // tangent of the mean of their angles, (s1 + s2) / (c1 + c2); zero at both
  // ends. Entries 1..N are all written below before any is read.
  PointArray KnotSlope;
  double dU = U[2] - U[1];
  double dV = V[2] - V[1];
  double L = std::sqrt(dU * dU + dV * dV);
  double cPrev = dU / L;
  double sPrev = dV / L;
  for (int k = 2; k <= N - 1; ++k) {
    dU = U[k + 1] - U[k];
    dV = V[k + 1] - V[k];
    L = std::sqrt(dU * dU + dV * dV);
    const double cNext = dU / L;
    const double sNext = dV / L;
    KnotSlope[k] = (sPrev + sNext) / (cPrev + cNext);
    cPrev = cNext;
    sPrev = sNext;
  }
  KnotSlope[1] = 0;
  KnotSlope[N] = 0;

  // Each interval's cubic: through both knots with both knots' slopes.
  GaussMatrix Aug{};
  GaussVector Sol{};
  for (int j = 1; j <= N - 1; ++j) {
    const double a = U[j];
    const double b = U[j + 1];
    Aug[1] = {0, 1, a, a * a, a * (a * a), V[j]};
    Aug[2] = {0, 1, b, b * b, b * (b * b), V[j + 1]};
    Aug[3] = {0, 0, 1, 2 * a, (3 * a) * a, KnotSlope[j]};
    Aug[4] = {0, 0, 1, 2 * b, (3 * b) * b, KnotSlope[j + 1]};
    GaussSolve(4, Aug, Sol);
    for (int k = 1; k <= 4; ++k) table[j][k] = Sol[k];
  }
}

void PwCubicCoefficients(int N, const PointArray& U, const PointArray& V) {
  PwCubicCoefficients(N, U, V, coefficient_table);
}

int PwCubicEvaluate(int N, const PointArray& U, const PointArray& V, int NI,
                    const PointArray& UI, PointArray& VI) {
  return PwCubicEvaluate(N, U, V, NI, UI, VI, coefficient_table);
}

int PwCubicEvaluate(int N, const PointArray& U, const PointArray& V, int NI,
                    const PointArray& UI, PointArray& VI, const PwCubicTable& table) {
  QUILANE_PRECONDITION(N <= kPointCapacity && NI >= 0 && NI <= kPointCapacity);
  int first_unplaced = 0;
  int hint = 2;  // each search starts where the previous station's ended
  for (int i = 1; i <= NI; ++i) {
    const double t = UI[i];
    const StationInterval found = LocateStation(N, U, t, hint);
    const int j = found.k;
    switch (found.place) {
      case StationPlace::kLeftKnot:
        VI[i] = V[j];
        break;
      case StationPlace::kRightKnot:
        VI[i] = V[j + 1];
        break;
      case StationPlace::kInside:
        // Constant term first, each power taken as a power.
        VI[i] = 0;
        for (int k = 1; k <= 4; ++k) {
          VI[i] = VI[i] + table[j][k] * std::pow(t, k - 1);
        }
        break;
      case StationPlace::kNone:
        if (first_unplaced == 0) first_unplaced = i;
        break;
    }
  }
  return first_unplaced;
}

int PwCubicInterpolate(AirfoilWorkspace& ws) {
  PwCubicCoefficients(ws.N, ws.U, ws.V);
  return PwCubicEvaluate(ws.N, ws.U, ws.V, ws.NI, ws.UI, ws.VI);
}

}  // namespace quilane
