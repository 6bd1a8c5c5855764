// The calculation behind "Calculate and Show new airfoil points".
#ifndef QUILANE_ENGINE_RUN_CALCULATION_H_
#define QUILANE_ENGINE_RUN_CALCULATION_H_

#include "engine/run_host.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// Reads the settings from the host (Text_NI, Chk_Mapping, Option_Lagrange,
// Text_nPoly when Lagrange is selected, Option_PwCubic otherwise), lays out
// the curve and stations by the conformal mapping or along the chord,
// interpolates by Lagrange or the piecewise cubic, maps back or copies VI into
// YI, computes the camber line, sets PlotTitle to the title followed by
// " - redistributed", resets the view through the three scroll bars and plots.
//
// Every refusal shows one message through the host and leaves the workspace
// exactly as it was: no file loaded; NI not a whole number from 2 to 1000;
// nPoly not a whole number from 0 up, or not lower than N; a curve whose
// abscissae do not strictly increase; on the mapping route, a contour listed
// upper surface first, or a point or station on a singular point; a station
// no interval takes; a new point or camber point that is not a finite number.
// Returns true when the new points and the camber line were replaced.
bool RunCalculation(AirfoilWorkspace& ws, RunHost& host);

}  // namespace quilane

#endif  // QUILANE_ENGINE_RUN_CALCULATION_H_
