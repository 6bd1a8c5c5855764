// The steps of one calculation on the workspace, shared by the window's run
// (RunCalculation) and the value-level entry (Redistribute), so that both
// give the same numbers to the last bit and refuse with the same messages.
// Each check returns a refusal or nothing; each writing step returns a
// refusal after which the caller puts the workspace back (RunSnapshot).
#ifndef QUILANE_ENGINE_RUN_STEPS_H_
#define QUILANE_ENGINE_RUN_STEPS_H_

#include <optional>
#include <string>

#include "engine/chord_frame.h"
#include "engine/refusal.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

inline constexpr int kMinNewPoints = 2;

// Refuses a workspace whose Pi is not 4 atan(1): every front end must set it
// before it calculates.
std::optional<Refusal> CheckPi(const AirfoilWorkspace& ws);

// The number of new points: a whole number from 2 to 1000. `shown` is how
// the message quotes the setting (the typed text in quotes, or the number).
std::optional<Refusal> CheckPointCount(double value, const std::string& shown);

// The Lagrange degree: a whole number of 0 or more ...
std::optional<Refusal> CheckDegree(double value, const std::string& shown);
// ... and lower than N.
std::optional<Refusal> CheckDegreeBelowN(double value, int N);

// Whether the stored contour suits the route before anything is laid out:
// lower surface first for the mapping, x within 0..1 along the chord.
std::optional<Refusal> CheckContourForRoute(const AirfoilWorkspace& ws, bool mapping);

// Step 3 of the run: U, V, UI (and XI along the chord) from the contour by
// the conformal mapping in the contour's chord frame, returned in `frame`, or
// along the chord; then the check that U rises from point to point. Needs NI.
std::optional<Refusal> LayOutCurve(AirfoilWorkspace& ws, bool mapping, ChordFrame& frame);

// VI at the stations by Lagrange of degree `degree`, or by the piecewise
// cubic; every station must be placed. Sets nPoly for Lagrange.
std::optional<Refusal> InterpolateCurve(AirfoilWorkspace& ws, bool lagrange, int degree);

// The new points XI, YI (mapped back and taken out of `frame`, or VI copied
// into YI) and the camber line; every point must be a finite number.
std::optional<Refusal> CompleteNewPoints(AirfoilWorkspace& ws, bool mapping,
                                         const ChordFrame& frame);

// What a run writes before its last check, kept so that a refused run can put
// the workspace back exactly as it was. Only the used ranges are copied.
class RunSnapshot {
 public:
  RunSnapshot(const AirfoilWorkspace& ws, int new_ni);
  void Restore(AirfoilWorkspace& ws) const;

 private:
  int n_;
  int ni_;
  int camber_;
  Settable<int> saved_ni_;
  Settable<double> saved_ncamber_;
  int npoly_;
  int k_;
  double a_;
  double ka_;
  PointArray u_, v_, xc_, yc_, ui_, vi_, xi_, yi_, xcamber_, ycamber_;
};

}  // namespace quilane

#endif  // QUILANE_ENGINE_RUN_STEPS_H_
