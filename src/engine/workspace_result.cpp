#include "engine/workspace_result.h"

#include <algorithm>

namespace quilane {

void StoreRedistribution(const RedistributeResult& result, AirfoilWorkspace& ws) {
  ws.NI = static_cast<int>(result.x.size());
  std::copy(result.x.begin(), result.x.end(), ws.XI.begin() + 1);
  std::copy(result.y.begin(), result.y.end(), ws.YI.begin() + 1);
  ws.NCamber = result.camber_count;
  std::copy(result.camber_x.begin(), result.camber_x.end(), ws.XCamber.begin() + 1);
  std::copy(result.camber_y.begin(), result.camber_y.end(), ws.YCamber.begin() + 1);
  ws.PlotTitle = ws.AirfoilTitle + " - redistributed";
}

}  // namespace quilane
