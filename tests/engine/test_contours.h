// Contours for the engine tests: the five-point diamond and NACA four-digit
// sections, lower surface first, x normalised to 0..1.
#ifndef QUILANE_TESTS_ENGINE_TEST_CONTOURS_H_
#define QUILANE_TESTS_ENGINE_TEST_CONTOURS_H_

#include <cmath>

#include "workspace/airfoil_workspace.h"

namespace quilane::test_contours {

inline const double kPi = 4 * std::atan(1.0);

// (1, 0), (0.5, -0.05), (0, 0), (0.5, 0.05), (1, 0); nose at point 3.
inline AirfoilWorkspace Diamond(int NI = 5) {
  AirfoilWorkspace ws;
  ws.Pi = kPi;
  ws.N = 5;
  const double x[] = {1, 0.5, 0, 0.5, 1};
  const double y[] = {0, -0.05, 0, 0.05, 0};
  for (int i = 1; i <= 5; ++i) {
    ws.X[i] = x[i - 1];
    ws.Y[i] = y[i - 1];
  }
  ws.ILE = 3;
  ws.Chord = 1;
  ws.NI = NI;
  return ws;
}

// NACA four-digit section (camber, its position, thickness as fractions of
// the chord) with a closed trailing edge: 2 * half + 1 cosine-spaced points,
// from the trailing edge along the lower surface to the nose at half + 1 and
// back along the upper surface. NI is set to N.
inline AirfoilWorkspace NacaContour(double camber, double camber_at, double thickness,
                                    int half) {
  AirfoilWorkspace ws;
  ws.Pi = kPi;
  ws.N = 2 * half + 1;
  for (int i = 1; i <= ws.N; ++i) {
    const double x = (std::cos(kPi * (i - 1) / half) + 1) / 2;
    const double yt = 5 * thickness *
                      (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x +
                       0.2843 * x * x * x - 0.1036 * x * x * x * x);
    double yc = 0;
    if (camber > 0) {
      yc = x < camber_at
               ? camber / (camber_at * camber_at) * (2 * camber_at * x - x * x)
               : camber / ((1 - camber_at) * (1 - camber_at)) *
                     ((1 - 2 * camber_at) + 2 * camber_at * x - x * x);
    }
    ws.X[i] = x;
    ws.Y[i] = i <= half ? yc - yt : yc + yt;
  }
  ws.Y[half + 1] = 0;
  ws.ILE = half + 1;
  ws.Chord = 1;
  ws.NI = ws.N;
  return ws;
}

}  // namespace quilane::test_contours

#endif  // QUILANE_TESTS_ENGINE_TEST_CONTOURS_H_
