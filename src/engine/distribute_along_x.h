// Distribution along the chord: the route without conformal mapping.
#ifndef QUILANE_ENGINE_DISTRIBUTE_ALONG_X_H_
#define QUILANE_ENGINE_DISTRIBUTE_ALONG_X_H_

#include "workspace/airfoil_workspace.h"

namespace quilane {

// Gives each input point the angle U(i) = arccos(2 X(i) - 1), computed as
// atan(sqrt(1 - t^2) / t) (+ Pi for x < 0.5) and reflected to 2 Pi - U(i) from
// the nose ILE on, so U runs 0 -> Pi -> 2 Pi around the contour; V(i) = Y(i).
// Places the NI stations UI(j) = (2 Pi / (NI - 1)) (j - 1) and their
// cosine-spaced x, XI(j) = (cos UI(j) + 1) * 0.5.
//
// Needs every X(i) within 0..1, 2 <= NI <= 1000 and Pi set.
void DistributeAlongX(AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_ENGINE_DISTRIBUTE_ALONG_X_H_
