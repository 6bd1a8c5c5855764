// Camber line from the new points.
#ifndef QUILANE_ENGINE_CAMBER_LINE_H_
#define QUILANE_ENGINE_CAMBER_LINE_H_

#include "workspace/airfoil_workspace.h"

namespace quilane {

// NCamber = (NI + 1) / 2 (a half-integer for even NI). Camber point i, for
// whole i <= NCamber, is the midpoint of new points a = NCamber - i + 1 and
// b = NCamber + i - 1, each rounded to the nearest whole number with halves
// going to the even neighbour. Needs 1 <= NI <= 1000.
void ComputeCamber(AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_ENGINE_CAMBER_LINE_H_
