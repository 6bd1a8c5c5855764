#include "engine/map_circle_to_airfoil.h"

#include <cmath>

#include "base/precondition.h"

namespace quilane {

int MapCircleToAirfoil(AirfoilWorkspace& ws) {
  const double Pi = ws.Pi;
  const int NI = ws.NI;
  const int K = ws.K;
  const double A = ws.A;
  const double KA = ws.KA;
  QUILANE_PRECONDITION(NI >= 1 && NI <= kPointCapacity && K == 2);

  for (int j = 1; j <= NI; ++j) {
    if (ws.VI[j] <= 0) return j;  // no circle-plane point
    const double R = ws.VI[j] / A;
    const double s = std::sin(ws.UI[j]);
    const double c = std::cos(ws.UI[j]);

    const double r1 = std::sqrt(R * R + 1 + 2 * R * c);
    const double r2 = std::sqrt(R * R + 1 - 2 * R * c);
    if (r1 == 0) return j;  // zeta = -A, the singular point
    const double q = r2 / r1;

    // Argument of (zeta' - A) / (zeta' + A) for the mirror point, up to turns
    // that K * psi does not see.
    double psi;
    if (R < 1) {
      psi = std::atan(2 * s / (R - 1 / R)) - Pi;
    } else if (R == 1) {
      psi = Pi / 2;
    } else {
      psi = std::atan(2 * s / (R - 1 / R));
    }

    // z' = KA (1 + W) / (1 - W), W = q^K e^(i K psi); shifted back by 1 - KA.
    // Each power is taken once and used in both places it appears.
    const double qK = std::pow(q, K);
    const double q2K = std::pow(q, 2 * K);
    const double D = 1 + q2K - 2 * qK * std::cos(K * psi);
    ws.XI[j] = (1 - KA) + KA * (1 - q2K) / D;
    ws.YI[j] = -2 * KA * qK * std::sin(K * psi) / D;
  }
  return 0;
}

}  // namespace quilane
