// Where a station lies on an interpolation curve: the search shared by the
// Lagrange and the piecewise cubic interpolation.
//
// Both interpolations settle a station t by scanning the intervals
// k = 1..N-1 in increasing order and making three tests on each, in this
// order; the first test that holds settles the station:
//   1. |t - U(k)| <= 1e-6      the station takes the knot k,
//   2. |t - U(k+1)| <= 1e-6    the station takes the knot k + 1,
//   3. U(k) < t < U(k+1)       the station lies inside interval k.
// A station that no interval settles is left to the caller.
#ifndef QUILANE_ENGINE_STATION_SEARCH_H_
#define QUILANE_ENGINE_STATION_SEARCH_H_

#include <cmath>

#include "workspace/airfoil_workspace.h"

namespace quilane {

// A station this close to a knot takes the knot's ordinate; the bound counts
// as within.
inline constexpr double kKnotTolerance = 0.000001;

// Which of the three tests settled a station.
enum class StationPlace { kNone, kLeftKnot, kRightKnot, kInside };

struct StationInterval {
  StationPlace place = StationPlace::kNone;
  int k = 0;  // the interval that settled the station; 0 when none did
};

// The three tests of interval k (1 <= k <= N-1) for station t, in order.
inline StationPlace TestInterval(const PointArray& U, int k, double t) {
  if (std::abs(t - U[k]) <= kKnotTolerance) return StationPlace::kLeftKnot;
  if (std::abs(t - U[k + 1]) <= kKnotTolerance) return StationPlace::kRightKnot;
  if (U[k] < t && t < U[k + 1]) return StationPlace::kInside;
  return StationPlace::kNone;
}

// The scan itself: TestInterval for k = 1..N-1 until one settles t. O(N) per
// station; works on any curve. Kept as the reference LocateStation is held to.
inline StationInterval LocateStationByScan(int N, const PointArray& U, double t) {
  for (int k = 1; k <= N - 1; ++k) {
    const StationPlace place = TestInterval(U, k, t);
    if (place != StationPlace::kNone) return {place, k};
  }
  return {};
}

// The same result as LocateStationByScan, found in O(log N) steps.
//
// An interval k whose right knot satisfies t - U(k+1) > 1e-6, as computed in
// floating point, fails all three tests when U(k) < U(k+1): the computed
// differences to both knots exceed the tolerance and t lies above U(k+1). On
// a strictly increasing U that computed difference falls as the knot rises
// (rounding is monotone), so bisection finds the first interval k0 whose right
// knot does not satisfy it, every interval before k0 provably fails, and the
// three tests are made from k0 on exactly as the scan makes them. The tests
// end early at an interval whose left knot satisfies t - U(k) < -1e-6: that
// knot and every later one lie above t by more than the tolerance, so no
// later interval can settle t. For a strictly increasing U the station is
// thus settled at k0 or not at all.
//
// Needs U strictly increasing on 1..N, as the calculation run ensures before
// it interpolates. On any other curve the result is that of the tests made
// from k0, which may be another interval than the scan's, or none.
inline StationInterval LocateStation(int N, const PointArray& U, double t) {
  // First knot j in 2..N with !(t - U(j) > tol), or N + 1 when there is none,
  // kept branch-free: `base` moves up over knots that lie well below t.
  const double* base = U.data() + 2;
  int count = N - 1;  // knots 2..N
  if (count > 0) {
    while (count > 1) {
      const int half = count / 2;
      base = (t - base[half] > kKnotTolerance) ? base + half : base;
      count -= half;
    }
    base += (t - *base > kKnotTolerance) ? 1 : 0;
  }
  const int first = static_cast<int>(base - U.data()) - 1;  // k0 = j - 1

  for (int k = first; k <= N - 1; ++k) {
    const StationPlace place = TestInterval(U, k, t);
    if (place != StationPlace::kNone) return {place, k};
    if (t - U[k] < -kKnotTolerance) break;  // every later knot lies above t too
  }
  return {};
}

}  // namespace quilane

#endif  // QUILANE_ENGINE_STATION_SEARCH_H_
