// Piecewise cubic Hermite interpolation with bisector slopes ("PW Cubic Spline
// Interp." in the window): each interval's cubic passes through its two knots
// with the slope of the bisector of the two chords meeting at each interior
// knot and slope zero at the first and the last knot.
#ifndef QUILANE_ENGINE_PW_CUBIC_INTERPOLATION_H_
#define QUILANE_ENGINE_PW_CUBIC_INTERPOLATION_H_

#include <array>

#include "workspace/airfoil_workspace.h"

namespace quilane {

// Augmented matrix of GaussSolve: rows 1..4, columns 1..5 used.
using GaussMatrix = std::array<std::array<double, 6>, 5>;
// Solution vector of GaussSolve: entries 1..4 used.
using GaussVector = std::array<double, 5>;

// Solves the n equations Aug(1..n, 1..n) * Sol = Aug(1..n, n+1) by Gaussian
// elimination without pivot search, row exchange or scaling: each pivot row is
// divided by its pivot, every row below has f times the pivot row subtracted,
// then back substitution from row n up. Overwrites Aug. A zero pivot gives
// infinities or NaN; the caller must not pass a singular system. n <= 4.
void GaussSolve(int n, GaussMatrix& Aug, GaussVector& Sol);

// A coefficient table: row j (1..999) holds the cubic of interval j in
// columns 1..4; row 0 and column 0 are not used.
using PwCubicTable = std::array<std::array<double, 5>, kPointCapacity>;

// Fills rows 1..N-1 of `table`: row j holds the cubic of the stretch
// U(j)..U(j+1) as c1 + c2 u + c3 u^2 + c4 u^3 in the absolute abscissa u,
// each found from its own 4x4 system by GaussSolve. Other rows keep what
// they held. Needs 2 <= N <= 1000 and U strictly increasing.
void PwCubicCoefficients(int N, const PointArray& U, const PointArray& V, PwCubicTable& table);

// The same into the module's own table, one per thread, which lives as long
// as the thread and is read by PwCubicEvaluate without a table argument.
void PwCubicCoefficients(int N, const PointArray& U, const PointArray& V);

// For each station i = 1..NI: takes the first interval j = 1..N-1 in which
// one of three tests holds, in this order: V(j) when |UI(i) - U(j)| <= 1e-6,
// else V(j+1) when |UI(i) - U(j+1)| <= 1e-6, else, when U(j) < UI(i) < U(j+1),
// the cubic of row j summed term by term, constant first, with each power
// computed as a power. The interval is found by bisection (LocateStation,
// engine/station_search.h), with the result of a scan from j = 1 to the last
// bit: O(log N) per station, O(1) when the stations rise in small steps as
// the run lays them out. A station no interval takes is left
// untouched and the search goes on with the next station.
//
// Needs U strictly increasing (the run refuses any other curve); on another
// curve a station may be settled by another interval than the scan's, or be
// left unplaced. Allocates nothing.
// Returns 0, or the first station that no interval took.
int PwCubicEvaluate(int N, const PointArray& U, const PointArray& V, int NI,
                    const PointArray& UI, PointArray& VI, const PwCubicTable& table);

// PwCubicEvaluate on the module's table, as the last PwCubicCoefficients(N,
// U, V) left it.
int PwCubicEvaluate(int N, const PointArray& U, const PointArray& V, int NI,
                    const PointArray& UI, PointArray& VI);

// PwCubicCoefficients then PwCubicEvaluate on the workspace's N, U, V, NI, UI, VI.
int PwCubicInterpolate(AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_ENGINE_PW_CUBIC_INTERPOLATION_H_
