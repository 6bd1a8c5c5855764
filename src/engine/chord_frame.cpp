#include "engine/chord_frame.h"

#include <cmath>

#include "base/precondition.h"

namespace quilane {

ChordFrame ChordFrameOf(int N, const PointArray& X, const PointArray& Y, int ILE) {
  QUILANE_PRECONDITION(N >= 1 && N <= kPointCapacity && ILE >= 1 && ILE <= N);
  ChordFrame frame;
  frame.x0 = X[ILE];
  frame.y0 = Y[ILE];
  frame.x1 = (X[1] + X[N]) / 2;
  frame.y1 = (Y[1] + Y[N]) / 2;
  if (frame.x0 == 0.0 && frame.y0 == 0.0 && frame.x1 == 1.0 && frame.y1 == 0.0) return frame;
  frame.identity = false;
  const double dx = frame.x1 - frame.x0;
  const double dy = frame.y1 - frame.y0;
  frame.length = std::hypot(dx, dy);
  frame.c = dx / frame.length;
  frame.s = dy / frame.length;
  return frame;
}

bool IsUsable(const ChordFrame& frame) {
  if (frame.identity) return true;
  return std::isfinite(frame.length) && frame.length > 0.0 && std::isfinite(frame.c) &&
         std::isfinite(frame.s) && std::isfinite(frame.x0) && std::isfinite(frame.y0) &&
         std::isfinite(frame.x1) && std::isfinite(frame.y1);
}

void ToChordFrame(const ChordFrame& frame, int count, const PointArray& X, const PointArray& Y,
                  PointArray& FX, PointArray& FY) {
  QUILANE_PRECONDITION(count >= 0 && count <= kPointCapacity);
  for (int i = 1; i <= count; ++i) {
    if (X[i] == frame.x1 && Y[i] == frame.y1) {
      FX[i] = 1.0;
      FY[i] = 0.0;
      continue;
    }
    const double dx = X[i] - frame.x0;
    const double dy = Y[i] - frame.y0;
    FX[i] = (frame.c * dx + frame.s * dy) / frame.length;
    FY[i] = (frame.c * dy - frame.s * dx) / frame.length;
  }
}

void FromChordFrame(const ChordFrame& frame, int count, PointArray& X, PointArray& Y) {
  QUILANE_PRECONDITION(count >= 0 && count <= kPointCapacity);
  for (int i = 1; i <= count; ++i) {
    const double fx = X[i] * frame.length;
    const double fy = Y[i] * frame.length;
    X[i] = frame.x0 + (frame.c * fx - frame.s * fy);
    Y[i] = frame.y0 + (frame.s * fx + frame.c * fy);
  }
}

}  // namespace quilane
