// The calculation behind "Calculate and Show new airfoil points".
#ifndef QUILANE_ENGINE_RUN_CALCULATION_H_
#define QUILANE_ENGINE_RUN_CALCULATION_H_

#include "engine/quality_report.h"
#include "engine/refusal.h"
#include "engine/run_host.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// Reads the settings from the host (Text_NI, Chk_Mapping, Option_Lagrange,
// Text_nPoly when Lagrange is selected; the spline otherwise), lays out the
// curve and stations by the conformal mapping (in the contour's chord frame)
// or along the chord, interpolates by Lagrange or the piecewise cubic, reads
// Chk_Mapping again, maps back or copies VI into YI, computes the camber
// line, sets PlotTitle to the title followed by " - redistributed", resets
// the view through the three scroll bars and plots. The steps are those of
// Redistribute (engine/redistribute.h), so the numbers are the same.
//
// Every refusal shows one message through the host and leaves the workspace
// exactly as it was: no file loaded; Pi not set; NI not a whole number from 2
// to 1000; nPoly not a whole number from 0 up, or not lower than N; on the
// mapping route, a contour listed upper surface first, without a chord line,
// or a point or station on a singular point; a curve whose abscissae do not
// strictly increase; a station no interval takes; a new point or camber
// point that is not a finite number; the mapping box changed during the run.
// Returns true when the new points and the camber line were replaced; then
// `report`, when given, receives their quality report. On a refusal
// `refused`, when given, receives it (code, point and the message shown).
bool RunCalculation(AirfoilWorkspace& ws, RunHost& host, QualityReport* report = nullptr,
                    Refusal* refused = nullptr);

}  // namespace quilane

#endif  // QUILANE_ENGINE_RUN_CALCULATION_H_
