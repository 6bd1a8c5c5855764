// The chord frame of a contour: the similarity (shift, turn, uniform scale)
// that puts its nose at (0, 0) and the midpoint of its trailing edge at
// (1, 0). The conformal mapping is laid out for a contour in that frame, with
// the trailing edge on the right singular point; a section whose chord line
// is tilted or shifted (cambered sections whose nose is not at y = 0, a
// trailing edge above or below the x axis) is mapped in its own chord frame
// and its new points are taken back afterwards.
#ifndef QUILANE_ENGINE_CHORD_FRAME_H_
#define QUILANE_ENGINE_CHORD_FRAME_H_

#include "workspace/airfoil_workspace.h"

namespace quilane {

// z' = (z - P0) * conj(e) / L, with P0 the nose, e = (c, s) the unit vector
// from P0 to P1 and L = |P1 - P0|; back: z = P0 + L * e * z'.
struct ChordFrame {
  double x0 = 0.0;  // nose P0
  double y0 = 0.0;
  double c = 1.0;  // direction of the chord line, a unit vector
  double s = 0.0;
  double length = 1.0;  // |P1 - P0|
  double x1 = 1.0;      // trailing-edge midpoint P1
  double y1 = 0.0;
  // P0 = (0, 0) and P1 = (1, 0) exactly: the contour is used as it stands
  // and nothing is transformed, so the numbers are those of an unframed run.
  bool identity = true;
};

// The frame of points 1..N of X, Y: P0 = (X(ILE), Y(ILE)),
// P1 = ((X(1) + X(N)) / 2, (Y(1) + Y(N)) / 2). Needs 1 <= ILE <= N.
ChordFrame ChordFrameOf(int N, const PointArray& X, const PointArray& Y, int ILE);

// Whether the frame can be used: a finite, positive chord length and a
// finite direction (the nose does not coincide with the trailing edge).
bool IsUsable(const ChordFrame& frame);

// Points 1..count of X, Y taken into the frame, written to FX, FY. The nose
// and a point exactly at P1 (the trailing edge of a sharp section) land
// exactly on (0, 0) and (1, 0): the mapping puts the trailing edge on its
// singular point, where it takes the square root of the point's distance, so
// a rounding error of 1e-16 there would move the new points by 1e-11.
void ToChordFrame(const ChordFrame& frame, int count, const PointArray& X, const PointArray& Y,
                  PointArray& FX, PointArray& FY);

// Points 1..count of X, Y taken back from the frame, in place.
void FromChordFrame(const ChordFrame& frame, int count, PointArray& X, PointArray& Y);

}  // namespace quilane

#endif  // QUILANE_ENGINE_CHORD_FRAME_H_
