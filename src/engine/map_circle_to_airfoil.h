// Circle-to-airfoil mapping: the forward Karman-Trefftz transformation of
// exponent K that undoes MapAirfoilToCircle.
// Formula from von Karman and Trefftz (1918), as cited in map_airfoil_to_circle.h.
#ifndef QUILANE_ENGINE_MAP_CIRCLE_TO_AIRFOIL_H_
#define QUILANE_ENGINE_MAP_CIRCLE_TO_AIRFOIL_H_

#include "workspace/airfoil_workspace.h"

namespace quilane {

// Maps each station (angle UI(j), radius VI(j)), j = 1..NI, back into the
// airfoil plane and writes the new points XI(j), YI(j) in normalised chord
// units. Uses K, A and KA of MapAirfoilToCircle in the same run.
//
// Returns 0, or the first station whose radius is not positive or which lies
// on the singular point zeta = -A (radius A at angle Pi), where the mapping
// has no value; XI, YI are then written only up to the station before it.
int MapCircleToAirfoil(AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_ENGINE_MAP_CIRCLE_TO_AIRFOIL_H_
