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

// First knot j in 2..N at which the computed t - U(j) > 1e-6 does not hold,
// or N + 1 when it holds at every knot. On a strictly increasing U that
// computed difference falls as the knot rises (rounding is monotone), so the
// test holds for every knot before the answer and for none from it on.
// The search starts at `hint`: a bracket about it doubles until it holds the
// answer, then bisection narrows it, in O(log d) steps for an answer d knots
// away from the hint (one or two steps for stations that rise in small steps,
// as the run lays them out; at most about 2 log2 N for any station).
inline int FirstKnotNotWellBelow(int N, const PointArray& U, double t, int hint) {
  const auto well_below = [&](int j) { return t - U[j] > kKnotTolerance; };
  if (N < 2) return 2;
  const int h = hint < 2 ? 2 : (hint > N + 1 ? N + 1 : hint);
  int lo;  // well_below holds before lo (or lo = 2)
  int hi;  // well_below fails at hi (or hi = N + 1)
  if (h <= N && well_below(h)) {
    int step = 1;
    lo = h + 1;
    hi = h + step;
    while (hi <= N && well_below(hi)) {
      lo = hi + 1;
      step *= 2;
      hi = h + step;
    }
    if (hi > N + 1) hi = N + 1;
  } else {
    int step = 1;
    hi = h;
    lo = h - step;
    while (lo >= 2 && !well_below(lo)) {
      hi = lo;
      step *= 2;
      lo = h - step;
    }
    lo = lo + 1 < 2 ? 2 : lo + 1;
  }
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (well_below(mid)) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

// The same result as LocateStationByScan, found in O(log N) steps.
//
// An interval k whose right knot satisfies t - U(k+1) > 1e-6, as computed in
// floating point, fails all three tests when U(k) < U(k+1): the computed
// differences to both knots exceed the tolerance and t lies above U(k+1).
// The first interval k0 whose right knot does not satisfy it is found by
// FirstKnotNotWellBelow; every interval before k0 provably fails, and the
// three tests are made from k0 on exactly as the scan makes them. The tests
// end early at an interval whose left knot satisfies t - U(k) < -1e-6: that
// knot and every later one lie above t by more than the tolerance, so no
// later interval can settle t. For a strictly increasing U the station is
// thus settled at k0 or not at all.
//
// `hint` is where the search starts and receives where it ended (k0 + 1), so
// that a caller handing it from one station to the next pays O(1) per station
// for stations that rise in small steps; any start gives the same result.
//
// Needs U strictly increasing on 1..N, as the calculation run ensures before
// it interpolates. On any other curve the result is that of the tests made
// from k0, which may be another interval than the scan's, or none.
inline StationInterval LocateStation(int N, const PointArray& U, double t, int& hint) {
  const int first_knot = FirstKnotNotWellBelow(N, U, t, hint);
  hint = first_knot;
  for (int k = first_knot - 1; k <= N - 1; ++k) {
    const StationPlace place = TestInterval(U, k, t);
    if (place != StationPlace::kNone) return {place, k};
    if (t - U[k] < -kKnotTolerance) break;  // every later knot lies above t too
  }
  return {};
}

// LocateStation for a single station: the search starts at the first knot.
inline StationInterval LocateStation(int N, const PointArray& U, double t) {
  int hint = 2;
  return LocateStation(N, U, t, hint);
}

}  // namespace quilane

#endif  // QUILANE_ENGINE_STATION_SEARCH_H_
