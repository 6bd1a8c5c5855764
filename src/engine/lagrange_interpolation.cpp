#include "engine/lagrange_interpolation.h"

#include <array>
#include <cmath>

namespace quilane {

namespace {

// A station this close to a given abscissa takes its ordinate.
constexpr double kKnotTolerance = 0.000001;

// Support points of one polynomial, indices 0..nPoly.
using SupportTable = std::array<double, kMaxLagrangeDegree + 1>;

}  // namespace

double LagrangeEvaluate(int n, double x, const double* XL, const double* YL) {
  double sum = 0;
  for (int j = 0; j <= n; ++j) {
    double L = 1;
    for (int p = 0; p <= n; ++p) {
      if (p == j) continue;
      L = ((x - XL[p]) * L) / (XL[j] - XL[p]);
    }
    sum = sum + YL[j] * L;
  }
  return sum;
}

int LagrangeInterpolate(int N, const PointArray& U, const PointArray& V, int NI,
                        const PointArray& UI, PointArray& VI, int nPoly) {
  SupportTable XL{};
  SupportTable YL{};
  for (int i = 1; i <= NI; ++i) {
    bool placed = false;
    for (int k = 1; k <= N - 1; ++k) {
      if (std::abs(UI[i] - U[k]) <= kKnotTolerance) {
        VI[i] = V[k];
        placed = true;
        break;
      }
      if (std::abs(UI[i] - U[k + 1]) <= kKnotTolerance) {
        VI[i] = V[k + 1];
        placed = true;
        break;
      }
      if (U[k] < UI[i] && UI[i] < U[k + 1]) {
        // Window of nPoly + 1 points around interval k, kept inside 1..N.
        int m = k - nPoly / 2;
        if (m < 1) m = 1;
        if (m + nPoly > N) m = N - nPoly;
        for (int j = 0; j <= nPoly; ++j) {
          XL[j] = U[m + j];
          YL[j] = V[m + j];
        }
        VI[i] = LagrangeEvaluate(nPoly, UI[i], XL.data(), YL.data());
        placed = true;
        break;
      }
    }
    if (!placed) return i;
  }
  return 0;
}

}  // namespace quilane
