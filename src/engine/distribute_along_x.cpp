#include "engine/distribute_along_x.h"

#include <cmath>

#include "base/precondition.h"

namespace quilane {

void DistributeAlongX(AirfoilWorkspace& ws) {
  const double Pi = ws.Pi;
  const int N = ws.N;
  const int NI = ws.NI;
  const int ILE = ws.ILE;
  QUILANE_PRECONDITION(N >= 1 && N <= kPointCapacity && NI >= 2 && NI <= kPointCapacity);
  QUILANE_PRECONDITION(Pi == 4 * std::atan(1.0));

  // Angle of each input point: arccos(2x - 1) on the first surface, reflected
  // from the nose on.
  for (int i = 1; i <= N; ++i) {
    const double t = 2 * ws.X[i] - 1;
    const double s = std::pow(1 - t * t, 0.5);
    if (t == 0) {
      ws.U[i] = Pi / 2;
    } else {
      ws.U[i] = std::atan(s / t);
    }
    if (ws.X[i] < 0.5) ws.U[i] = ws.U[i] + Pi;
    if (i >= ILE) ws.U[i] = 2 * Pi - ws.U[i];
    ws.V[i] = ws.Y[i];
  }

  // Stations at equal angle steps, cosine-spaced in x.
  const double delta = (2 * Pi) / (NI - 1);
  for (int j = 1; j <= NI; ++j) {
    ws.UI[j] = delta * (j - 1);
    ws.XI[j] = (std::cos(ws.UI[j]) + 1) * 0.5;
  }
}

}  // namespace quilane
