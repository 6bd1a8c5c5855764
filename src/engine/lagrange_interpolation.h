// Lagrange interpolation of degree nPoly on a sliding window of nPoly + 1
// neighbouring points.
#ifndef QUILANE_ENGINE_LAGRANGE_INTERPOLATION_H_
#define QUILANE_ENGINE_LAGRANGE_INTERPOLATION_H_

#include "workspace/airfoil_workspace.h"

namespace quilane {

// Largest degree the support tables hold: one less than the point capacity.
inline constexpr int kMaxLagrangeDegree = kPointCapacity - 1;

// Value at x of the polynomial of degree n through (XL(j), YL(j)), j = 0..n,
// in Lagrange form: sum over j of YL(j) * L_j, where each basis value L_j is
// built factor by factor, L = ((x - XL(p)) * L) / (XL(j) - XL(p)) for
// p = 0..n, p != j, product first, then quotient. Needs distinct XL.
double LagrangeEvaluate(int n, double x, const double* XL, const double* YL);

// For each station i = 1..NI, in order: takes the first interval k = 1..N-1
// in which one of three tests holds, in this order: V(k) when
// |UI(i) - U(k)| <= 1e-6, else V(k+1) when |UI(i) - U(k+1)| <= 1e-6, else,
// when U(k) < UI(i) < U(k+1), the degree-nPoly polynomial through points
// m..m+nPoly with m = k - floor(nPoly/2) slid into 1..N. The interval is found
// by bisection (LocateStation, engine/station_search.h), with the result of
// a scan from k = 1 to the last bit: O(log N) per station, O(1) when the
// stations rise in small steps as the run lays them out.
//
// Needs U strictly increasing (the run refuses any other curve) and
// 0 <= nPoly < N <= 1000, NI <= 1000. On a curve that does not strictly
// increase a station may be settled by another interval than the scan's, or
// be reported as unplaced. Allocates nothing.
// Returns 0 when every station was placed, or the first station that no
// interval takes; VI of that station and of all later ones is left untouched.
int LagrangeInterpolate(int N, const PointArray& U, const PointArray& V, int NI,
                        const PointArray& UI, PointArray& VI, int nPoly);

}  // namespace quilane

#endif  // QUILANE_ENGINE_LAGRANGE_INTERPOLATION_H_
