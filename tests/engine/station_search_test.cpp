#include "engine/station_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/lagrange_interpolation.h"
#include "engine/pw_cubic_interpolation.h"
#include "gtest/gtest.h"

namespace quilane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Curve {
  int N = 0;
  PointArray U{}, V{};
};

Curve MakeCurve(const std::vector<double>& u) {
  Curve c;
  c.N = static_cast<int>(u.size());
  for (int k = 1; k <= c.N; ++k) {
    c.U[k] = u[k - 1];
    c.V[k] = k;
  }
  return c;
}

// The interpolations as they were before the bisection: every station scans
// the intervals from the first. The three tests are written out here again so
// that the reference does not share code with what it checks.
int ScanLagrange(int N, const PointArray& U, const PointArray& V, int NI, const PointArray& UI,
                 PointArray& VI, int nPoly) {
  std::vector<double> XL(nPoly + 1), YL(nPoly + 1);
  for (int i = 1; i <= NI; ++i) {
    bool placed = false;
    for (int k = 1; k <= N - 1; ++k) {
      if (std::abs(UI[i] - U[k]) <= 0.000001) {
        VI[i] = V[k];
        placed = true;
        break;
      }
      if (std::abs(UI[i] - U[k + 1]) <= 0.000001) {
        VI[i] = V[k + 1];
        placed = true;
        break;
      }
      if (U[k] < UI[i] && UI[i] < U[k + 1]) {
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

// Reads the cubics of `table`.
int ScanPwCubicEvaluate(int N, const PointArray& U, const PointArray& V, int NI,
                        const PointArray& UI, PointArray& VI, const PwCubicTable& table) {
  int first_unplaced = 0;
  for (int i = 1; i <= NI; ++i) {
    const double t = UI[i];
    bool placed = false;
    for (int j = 1; j <= N - 1; ++j) {
      if (std::abs(t - U[j]) <= 0.000001) {
        VI[i] = V[j];
        placed = true;
        break;
      }
      if (std::abs(t - U[j + 1]) <= 0.000001) {
        VI[i] = V[j + 1];
        placed = true;
        break;
      }
      if (U[j] < t && t < U[j + 1]) {
        VI[i] = 0;
        for (int k = 1; k <= 4; ++k) VI[i] = VI[i] + table[j][k] * std::pow(t, k - 1);
        placed = true;
        break;
      }
    }
    if (!placed && first_unplaced == 0) first_unplaced = i;
  }
  return first_unplaced;
}

// ---------------------------------------------------------------------------
// Named cases: both searches give the expected interval and test.

struct LocateCase {
  const char* name;
  std::vector<double> u;
  double station;
  StationPlace place;
  int k;
};

void ExpectBothSearches(const LocateCase& c) {
  SCOPED_TRACE(c.name);
  const Curve curve = MakeCurve(c.u);
  for (const StationInterval found : {LocateStation(curve.N, curve.U, c.station),
                                      LocateStationByScan(curve.N, curve.U, c.station)}) {
    EXPECT_EQ(static_cast<int>(found.place), static_cast<int>(c.place));
    EXPECT_EQ(found.k, c.k);
  }
}

TEST(LocateStation, SettledStations) {
  const std::vector<double> u = {0, 1, 2, 3, 4, 5};
  const std::vector<double> close = {0, 1, 1 + 4e-7, 2};  // two knots closer than the tolerance
  const LocateCase cases[] = {
      {"on the first knot", u, 0, StationPlace::kLeftKnot, 1},
      {"below the first knot, within tolerance", u, -0.9e-6, StationPlace::kLeftKnot, 1},
      {"on an interior knot: right knot of the interval before", u, 3, StationPlace::kRightKnot, 3},
      {"just above an interior knot", u, 3 + 0.5e-6, StationPlace::kRightKnot, 3},
      {"just below an interior knot", u, 3 - 0.5e-6, StationPlace::kRightKnot, 3},
      {"beyond the tolerance above a knot", u, 3 + 2e-6, StationPlace::kInside, 4},
      {"inside the first interval", u, 0.5, StationPlace::kInside, 1},
      {"inside the last interval", u, 4.75, StationPlace::kInside, 5},
      {"on the last knot", u, 5, StationPlace::kRightKnot, 5},
      {"above the last knot, within tolerance", u, 5 + 0.9e-6, StationPlace::kRightKnot, 5},
      {"two close knots: the lower one is tested first", close, 1 + 3e-7, StationPlace::kRightKnot,
       1},
      {"two close knots: within tolerance of both", close, 1 + 8e-7, StationPlace::kRightKnot, 1},
      {"two close knots: only the upper one within", close, 1 + 1.2e-6, StationPlace::kRightKnot,
       2},
      {"two knots: the single interval", {1, 3}, 2, StationPlace::kInside, 1},
  };
  for (const LocateCase& c : cases) ExpectBothSearches(c);
}

TEST(LocateStation, UnsettledStations) {
  const std::vector<double> u = {0, 1, 2, 3, 4, 5};
  const LocateCase cases[] = {
      {"below the first knot beyond tolerance", u, -2e-6, StationPlace::kNone, 0},
      {"far below", u, -1e300, StationPlace::kNone, 0},
      {"above the last knot beyond tolerance", u, 5 + 2e-6, StationPlace::kNone, 0},
      {"far above", u, 7, StationPlace::kNone, 0},
      {"plus infinity", u, kInf, StationPlace::kNone, 0},
      {"minus infinity", u, -kInf, StationPlace::kNone, 0},
      {"not a number", u, kNaN, StationPlace::kNone, 0},
      {"a single knot has no interval", {2}, 2, StationPlace::kNone, 0},
      {"no knots", {}, 0, StationPlace::kNone, 0},
  };
  for (const LocateCase& c : cases) ExpectBothSearches(c);
}

// ---------------------------------------------------------------------------
// Property: on random strictly increasing curves the bisection settles every
// station exactly as the scan does, and both interpolations give the same
// bits.

class RandomCurves {
 public:
  explicit RandomCurves(std::uint64_t seed) : rng_(seed) {}

  // U strictly increasing with gaps mixed from far below the tolerance, at
  // it, about twice it, and ordinary; V random.
  Curve Make(int N) {
    Curve c;
    c.N = N;
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double u = kind(rng_) < 5 ? 0.0 : (unit(rng_) - 0.5) * 20;
    for (int k = 1; k <= N; ++k) {
      c.U[k] = u;
      c.V[k] = unit(rng_) * 2 - 1;
      double gap;
      switch (kind(rng_)) {
        case 0: gap = unit(rng_) * 1e-6; break;                  // closer than the tolerance
        case 1: gap = kKnotTolerance; break;                      // at it
        case 2: gap = 2 * kKnotTolerance * (0.9 + 0.2 * unit(rng_)); break;  // about twice it
        default: gap = 1e-4 + unit(rng_) * 0.1; break;
      }
      const double next = u + gap;
      u = next > u ? next : std::nextafter(u, kInf);
    }
    return c;
  }

  // Stations on every knot; at, just inside and just outside the tolerance
  // bounds on both sides (a few units in the last place around each bound);
  // half, one and a half and twice the tolerance away; and inside every
  // interval.
  std::vector<double> Stations(const Curve& c) {
    std::vector<double> stations;
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 1; k <= c.N; ++k) {
      const double knot = c.U[k];
      stations.push_back(knot);
      for (double side : {-1.0, 1.0}) {
        double bound = knot + side * kKnotTolerance;
        stations.push_back(bound);
        double up = bound, down = bound;
        for (int step = 0; step < 3; ++step) {
          up = std::nextafter(up, kInf);
          down = std::nextafter(down, -kInf);
          stations.push_back(up);
          stations.push_back(down);
        }
        for (double factor : {0.5, 1.5, 2.0})
          stations.push_back(knot + side * factor * kKnotTolerance);
      }
      if (k < c.N) {
        stations.push_back(c.U[k] + (c.U[k + 1] - c.U[k]) * unit(rng_));
        stations.push_back((c.U[k] + c.U[k + 1]) / 2);
      }
    }
    stations.push_back(c.U[1] - 1);
    stations.push_back(c.U[c.N] + 1);
    stations.push_back(kNaN);
    stations.push_back(kInf);
    stations.push_back(-kInf);
    return stations;
  }

 private:
  std::mt19937_64 rng_;
};

// Point counts of the random curves: the smallest, typical and the capacity.
std::vector<int> CurveSizes() {
  std::vector<int> sizes = {2, 3, 4, 5, 7, 16, 61, 251, kPointCapacity};
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<int> size(2, 120);
  for (int i = 0; i < 60; ++i) sizes.push_back(size(rng));
  return sizes;
}

std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

constexpr double kUntouched = -12345.0;

// Each station is located alone (search from the first knot), with the hint
// the previous station left in rising order, and with the hint the previous
// station left in a shuffled order.
TEST(LocateStation, SameIntervalAsTheScanOnRandomCurves) {
  RandomCurves curves(20240611);
  std::mt19937_64 shuffle(11);
  long settled = 0, at_knots = 0;
  for (int N : CurveSizes()) {
    const Curve c = curves.Make(N);
    std::vector<double> stations = curves.Stations(c);
    for (int order = 0; order < 2; ++order) {
      if (order == 1) std::shuffle(stations.begin(), stations.end(), shuffle);
      int hint = 2;
      for (double t : stations) {
        const StationInterval scan = LocateStationByScan(c.N, c.U, t);
        for (const StationInterval fast :
             {LocateStation(c.N, c.U, t), LocateStation(c.N, c.U, t, hint)}) {
          ASSERT_EQ(static_cast<int>(fast.place), static_cast<int>(scan.place))
              << "N " << N << ", station " << t << ", order " << order;
          ASSERT_EQ(fast.k, scan.k) << "N " << N << ", station " << t << ", order " << order;
        }
        if (scan.place != StationPlace::kNone) ++settled;
        if (scan.place == StationPlace::kLeftKnot || scan.place == StationPlace::kRightKnot)
          ++at_knots;
      }
    }
  }
  // The stations exercise every kind of outcome, not only one.
  EXPECT_GT(at_knots, 1000);
  EXPECT_GT(settled - at_knots, 1000);
}

TEST(LagrangeInterpolate, SameBitsAsTheScanOnRandomCurves) {
  RandomCurves curves(977);
  std::mt19937_64 rng(3);
  for (int N : CurveSizes()) {
    const Curve c = curves.Make(N);
    const int nPoly = std::uniform_int_distribution<int>(0, std::min(7, N - 1))(rng);
    for (double t : curves.Stations(c)) {
      // One station per call: an unplaced station ends the call.
      PointArray UI{}, fast{}, scan{};
      UI[1] = t;
      fast[1] = scan[1] = kUntouched;
      const int fast_result = LagrangeInterpolate(c.N, c.U, c.V, 1, UI, fast, nPoly);
      const int scan_result = ScanLagrange(c.N, c.U, c.V, 1, UI, scan, nPoly);
      ASSERT_EQ(fast_result, scan_result) << "N " << N << ", station " << t;
      ASSERT_EQ(Bits(fast[1]), Bits(scan[1]))
          << "N " << N << ", nPoly " << nPoly << ", station " << t;
    }
  }
}

// Many stations per call, so each search starts where the previous one
// ended: placed stations only (an unplaced one ends the call), in rising and
// in shuffled order.
TEST(LagrangeInterpolate, SameBitsAsTheScanInBatches) {
  RandomCurves curves(1201);
  std::mt19937_64 rng(5);
  for (int N : CurveSizes()) {
    const Curve c = curves.Make(N);
    const int nPoly = std::uniform_int_distribution<int>(0, std::min(7, N - 1))(rng);
    std::vector<double> stations;
    for (double t : curves.Stations(c)) {
      if (LocateStationByScan(c.N, c.U, t).place != StationPlace::kNone) stations.push_back(t);
    }
    for (int order = 0; order < 2; ++order) {
      if (order == 1) std::shuffle(stations.begin(), stations.end(), rng);
      for (std::size_t first = 0; first < stations.size(); first += kPointCapacity) {
        const int NI =
            static_cast<int>(std::min<std::size_t>(kPointCapacity, stations.size() - first));
        PointArray UI{}, fast{}, scan{};
        for (int i = 1; i <= NI; ++i) UI[i] = stations[first + i - 1];
        ASSERT_EQ(LagrangeInterpolate(c.N, c.U, c.V, NI, UI, fast, nPoly), 0) << "N " << N;
        ASSERT_EQ(ScanLagrange(c.N, c.U, c.V, NI, UI, scan, nPoly), 0) << "N " << N;
        for (int i = 1; i <= NI; ++i) {
          ASSERT_EQ(Bits(fast[i]), Bits(scan[i])) << "N " << N << ", station " << UI[i];
        }
      }
    }
  }
}

TEST(PwCubicEvaluate, SameBitsAsTheScanOnRandomCurves) {
  RandomCurves curves(4099);
  std::mt19937_64 shuffle(13);
  for (int N : CurveSizes()) {
    const Curve c = curves.Make(N);
    auto table = std::make_unique<PwCubicTable>();
    PwCubicCoefficients(c.N, c.U, c.V, *table);
    std::vector<double> stations = curves.Stations(c);
    // As many stations per call as the arrays hold, in rising and in shuffled
    // order; unplaced ones are passed over.
    for (int order = 0; order < 2; ++order) {
      if (order == 1) std::shuffle(stations.begin(), stations.end(), shuffle);
      for (std::size_t first = 0; first < stations.size(); first += kPointCapacity) {
        const int NI =
            static_cast<int>(std::min<std::size_t>(kPointCapacity, stations.size() - first));
        PointArray UI{}, fast{}, scan{};
        for (int i = 1; i <= NI; ++i) {
          UI[i] = stations[first + i - 1];
          fast[i] = scan[i] = kUntouched;
        }
        ASSERT_EQ(PwCubicEvaluate(c.N, c.U, c.V, NI, UI, fast, *table),
                  ScanPwCubicEvaluate(c.N, c.U, c.V, NI, UI, scan, *table))
            << "N " << N;
        for (int i = 1; i <= NI; ++i) {
          ASSERT_EQ(Bits(fast[i]), Bits(scan[i])) << "N " << N << ", station " << UI[i];
        }
      }
    }
  }
}

// On a curve that does not strictly increase the contract no longer holds:
// the bisection may pick another interval than the scan. This pins down that
// the difference is real, so the contract's requirement is not idle.
TEST(LocateStation, CurveThatFallsMayDifferFromTheScan) {
  const Curve c = MakeCurve({3.5, 1, 2, 3, 4});  // falls after the first knot
  const StationInterval scan = LocateStationByScan(c.N, c.U, 3.5);
  const StationInterval fast = LocateStation(c.N, c.U, 3.5);
  EXPECT_EQ(static_cast<int>(scan.place), static_cast<int>(StationPlace::kLeftKnot));
  EXPECT_EQ(scan.k, 1);
  EXPECT_EQ(static_cast<int>(fast.place), static_cast<int>(StationPlace::kInside));
  EXPECT_EQ(fast.k, 4);
}

}  // namespace
}  // namespace quilane
