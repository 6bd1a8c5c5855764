// The steps of one calculation on the engine's own workspace, in the order
// Redistribute (engine/redistribute.h) runs them. Each returns a refusal or
// nothing; after a refusal the workspace holds a partial run, which the
// next run overwrites before it reads it.
#ifndef QUILANE_ENGINE_RUN_STEPS_H_
#define QUILANE_ENGINE_RUN_STEPS_H_

#include <optional>
#include <string>

#include "base/refusal.h"
#include "engine/chord_frame.h"
#include "files/section.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

inline constexpr int kMinNewPoints = 2;

// Puts `section` into the workspace as the window's workspace holds a file
// read (AirfoilTitle, N, X, Y (1..N), ILE, Xmin, Chord; Pi = 4 atan(1)), but
// with Y in chord units: y / Chord. Needs 2 <= N <= kPointCapacity and
// 1 <= ILE <= N.
void StoreSection(AirfoilWorkspace& ws, const Section& section);

// The Lagrange degree lower than N.
std::optional<Refusal> CheckDegreeBelowN(double value, int N);

// Whether the stored contour suits the route before anything is laid out:
// the nose neither its first nor its last point and no panels that cross;
// then lower surface first for the mapping, x within 0..1 along the chord.
std::optional<Refusal> CheckContourForRoute(const AirfoilWorkspace& ws, bool mapping);

// Step 3 of the run: U, V, UI (and XI along the chord) from the contour by
// the conformal mapping in the contour's chord frame, returned in `frame`, or
// along the chord; then the check that U rises from point to point. Needs NI.
std::optional<Refusal> LayOutCurve(AirfoilWorkspace& ws, bool mapping, ChordFrame& frame);

// VI at the stations by Lagrange of degree `degree`, or by the piecewise
// cubic; every station must be placed. Sets nPoly for Lagrange.
std::optional<Refusal> InterpolateCurve(AirfoilWorkspace& ws, bool lagrange, int degree);

// The new points XI, YI (mapped back and taken out of `frame`, or VI copied
// into YI), placed on the curve through the input points if `on_spline`,
// and the camber line; every point must be a finite number.
std::optional<Refusal> CompleteNewPoints(AirfoilWorkspace& ws, bool mapping,
                                         const ChordFrame& frame, bool on_spline);

}  // namespace quilane

#endif  // QUILANE_ENGINE_RUN_STEPS_H_
