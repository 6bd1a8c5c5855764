#include "engine/lagrange_interpolation.h"

#include <array>
#include <cmath>

#include "base/precondition.h"
#include "engine/station_search.h"

namespace quilane {

namespace {

// Support points of one polynomial, indices 0..nPoly.
using SupportTable = std::array<double, kMaxLagrangeDegree + 1>;

}  // namespace

double LagrangeEvaluate(int n, double x, const double* XL, const double* YL) {
  QUILANE_PRECONDITION(n >= 0 && n <= kMaxLagrangeDegree);
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
  QUILANE_PRECONDITION(nPoly >= 0 && nPoly < N && N <= kPointCapacity);
  QUILANE_PRECONDITION(NI >= 0 && NI <= kPointCapacity);
  // Sized once for the largest degree; entries 0..nPoly are written before
  // each evaluation reads them.
  SupportTable XL;
  SupportTable YL;
  int hint = 2;  // each search starts where the previous station's ended
  for (int i = 1; i <= NI; ++i) {
    const StationInterval found = LocateStation(N, U, UI[i], hint);
    const int k = found.k;
    switch (found.place) {
      case StationPlace::kLeftKnot:
        VI[i] = V[k];
        break;
      case StationPlace::kRightKnot:
        VI[i] = V[k + 1];
        break;
      case StationPlace::kInside: {
        // Window of nPoly + 1 points around interval k, kept inside 1..N.
        int m = k - nPoly / 2;
        if (m < 1) m = 1;
        if (m + nPoly > N) m = N - nPoly;
        for (int j = 0; j <= nPoly; ++j) {
          XL[j] = U[m + j];
          YL[j] = V[m + j];
        }
        VI[i] = LagrangeEvaluate(nPoly, UI[i], XL.data(), YL.data());
        break;
      }
      case StationPlace::kNone:
        return i;
    }
  }
  return 0;
}

}  // namespace quilane
