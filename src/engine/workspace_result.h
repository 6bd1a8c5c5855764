// Putting a value-level result into the workspace that the file writers and
// the plot read.
#ifndef QUILANE_ENGINE_WORKSPACE_RESULT_H_
#define QUILANE_ENGINE_WORKSPACE_RESULT_H_

#include "engine/redistribute.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// What a successful run leaves: NI, XI, YI, NCamber, XCamber, YCamber from the
// result and PlotTitle = AirfoilTitle + " - redistributed". Needs a result of
// Redistribute (at most kPointCapacity points).
void StoreRedistribution(const RedistributeResult& result, AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_ENGINE_WORKSPACE_RESULT_H_
