#include "engine/map_airfoil_to_circle.h"

#include <cmath>

#include "base/precondition.h"

namespace quilane {

namespace {

// Thickness offset: the nose lies eps / (1 + eps) squared, 1/121 of the
// chord, to the left of the left singular point.
constexpr double kThicknessOffset = 0.1;

}  // namespace

int MapAirfoilToCircle(AirfoilWorkspace& ws) { return MapAirfoilToCircle(ws, ws.X, ws.Y); }

int MapAirfoilToCircle(AirfoilWorkspace& ws, const PointArray& X, const PointArray& Y) {
  const double Pi = ws.Pi;
  const int N = ws.N;
  const int NI = ws.NI;
  const int ILE = ws.ILE;
  QUILANE_PRECONDITION(N >= 1 && N <= kPointCapacity && ILE >= 1 && ILE <= N);
  QUILANE_PRECONDITION(NI >= 2 && NI <= kPointCapacity && Pi == 4 * std::atan(1.0));

  // Parameters; the chord is 1 because x arrives normalised.
  ws.K = 2;
  const int K = ws.K;
  const double eps = kThicknessOffset;
  const double p = std::pow(eps / (1 + eps), K);
  ws.A = (1.0 / (K * 2)) * (1 - p);
  ws.KA = ws.A * K;
  const double A = ws.A;
  const double KA = ws.KA;

  for (int i = 1; i <= N; ++i) {
    // Into the mapping's frame: trailing edge on z = +KA.
    const double x = X[i] - (1 - KA);
    const double y = Y[i];

    const double r0 = std::sqrt(x * x + y * y);
    const double r1 = std::sqrt((x + KA) * (x + KA) + y * y);
    const double r2 = std::sqrt((x - KA) * (x - KA) + y * y);
    if (r1 == 0) return i;  // on the left singular point: no image
    const double rho = r2 / r1;

    // Argument of (z - KA) / (z + KA), its branch chosen by the surface.
    double theta;
    if (r0 < KA) {
      theta = std::atan(2 * KA * y / (r0 * r0 - KA * KA));
      if (i > ILE) theta = theta + Pi;
      if (i < ILE) theta = theta - Pi;
    } else if (r0 == KA) {
      theta = Pi / 2;
    } else {
      theta = std::atan(2 * KA * y / (r0 * r0 - KA * KA));
    }

    // zeta = A (1 + w) / (1 - w), w the principal K-th root.
    const double t = theta / K;
    // Each power is taken once and used in both places it appears.
    const double s = std::pow(rho, 1.0 / K);
    const double rho2K = std::pow(rho, 2.0 / K);
    const double D = 1 + rho2K - 2 * s * std::cos(t);
    ws.XC[i] = A * (1 - rho2K) / D;
    ws.YC[i] = 2 * A * s * std::sin(t) / D;

    // Polar form, angle clockwise from the positive xi axis.
    const double xc = ws.XC[i];
    const double yc = ws.YC[i];
    ws.V[i] = std::sqrt(xc * xc + yc * yc);
    if (i >= ILE) {
      if (xc > 0) {
        ws.U[i] = 2 * Pi - std::atan(yc / xc);
      } else if (xc == 0) {
        ws.U[i] = 3 * Pi / 2;
      } else {
        ws.U[i] = Pi - std::atan(yc / xc);
      }
    } else {
      if (xc > 0) {
        ws.U[i] = -std::atan(yc / xc);
      } else if (xc == 0) {
        ws.U[i] = Pi / 2;
      } else {
        ws.U[i] = Pi - std::atan(yc / xc);
      }
    }
  }

  // Stations: even steps from U(1) to Pi, then from Pi to U(N).
  const double m = (NI + 1) / 2.0;
  const double d1 = (Pi - ws.U[1]) / (m - 1);
  const double d2 = (ws.U[N] - Pi) / (m - 1);
  ws.UI[1] = ws.U[1];
  for (int j = 2; j <= NI; ++j) {
    if (j <= m) {
      ws.UI[j] = ws.U[1] + d1 * (j - 1);
    } else {
      ws.UI[j] = Pi + d2 * (j - m);
    }
  }
  return 0;
}

}  // namespace quilane
