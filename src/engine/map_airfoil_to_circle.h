// Airfoil-to-circle mapping: the inverse Karman-Trefftz transformation of
// exponent K = 2 (the inverse Joukowski transformation), with the trailing
// edge on the right singular point and the nose 1/121 of the chord to the left
// of the left singular point.
// Formula from von Karman and Trefftz, Z. Flugtech. Motorluftschiffahrt 9 (1918);
// also in Durand (ed.), Aerodynamic Theory, vol. II (1935), div. E, ch. II, sec. 19.
#ifndef QUILANE_ENGINE_MAP_AIRFOIL_TO_CIRCLE_H_
#define QUILANE_ENGINE_MAP_AIRFOIL_TO_CIRCLE_H_

#include "workspace/airfoil_workspace.h"

namespace quilane {

// Maps each input point X, Y (1..N) onto the near-circle plane and writes
// K = 2, A, KA, the images XC, YC, their polar angle U (clockwise from the
// positive xi axis, about 0 at point 1, Pi at the nose, 2 Pi at point N) and
// radius V, and the NI stations UI: evenly spaced from U(1) to Pi on the
// first half and from Pi to U(N) on the second, m = (NI + 1) / 2.
//
// Needs ILE of a lower-surface-first contour whose x is normalised to 0..1;
// the chord is taken as 1 (x arrives normalised), so the trailing edge lies on
// z = +KA. Needs 2 <= NI <= 1000 and Pi set.
//
// Returns 0, or the index of the first input point lying exactly on the left
// singular point z = -KA, where the mapping has no value; the arrays are then
// written only up to the point before it.
int MapAirfoilToCircle(AirfoilWorkspace& ws);

// The same for the contour X, Y (1..N) given in place of the workspace's, such
// as the input points taken into their chord frame (engine/chord_frame.h);
// everything else is read from and written to the workspace as above.
int MapAirfoilToCircle(AirfoilWorkspace& ws, const PointArray& X, const PointArray& Y);

}  // namespace quilane

#endif  // QUILANE_ENGINE_MAP_AIRFOIL_TO_CIRCLE_H_
