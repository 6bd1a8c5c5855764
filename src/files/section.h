// A section ready for the calculation: the points of a contour in the
// program's order with x normalised to the chord, as every reader, the NACA
// generator and the arrays of the Python module make it, so that a section
// loads the same whichever way it came.
#ifndef QUILANE_FILES_SECTION_H_
#define QUILANE_FILES_SECTION_H_

#include <string>
#include <vector>

#include "base/expected.h"

namespace quilane {

// Points 1..n as x[0..n-1], y[0..n-1], from the trailing edge along one
// surface (the lower one for the conformal mapping) to the nose and back
// along the other.
struct Contour {
  std::vector<double> x;
  std::vector<double> y;
};

struct Section {
  std::string title;   // AirfoilTitle
  Contour contour;     // x normalised: (x - x_min) / chord; y as given
  int nose = 0;        // ILE: the nose point, from 1
  double x_min = 0.0;  // Xmin: the smallest x as given
  double chord = 0.0;  // Chord: largest minus smallest x as given
};

// Where a contour came from, for the refusals: `subject` opens the sentence
// ("The airfoil file \"wing.dat\""), `lines` names what held the points
// ("lines 3 to 63"); `file` and `line` are the refusal's place.
struct ContourOrigin {
  std::string subject;
  std::string lines;
  std::string file;
  long long line = 0;
};

// Makes the section of `contour` (taken over, not copied) as the program
// reads a file: the nose and the chord from neighbour steps on x as given,
// Xmin = Xmax = x(1); for i = 2..n, if x(i) < x(i-1) then ILE = i and
// Xmin = x(i); then, separately, if x(i) > x(i-1) then Xmax = x(i);
// Chord = Xmax - Xmin; x(i) becomes (x(i) - Xmin) / Chord. A contour whose x
// already runs from 0 at its nose to 1 comes out unchanged.
//
// Refused (kUnusableContour): x and y of different lengths, fewer than 2 or
// more than kPointCapacity points; the same x in every point (chord 0); x
// that never decreases (no nose); a chord too large for a double; a point
// whose normalised x is not a finite number (far beyond the chord, or a
// chord near zero); first and last points so far apart that the
// trailing-edge gap is not a finite number.
Expected<Section> MakeSection(std::string title, Contour contour, const ContourOrigin& origin);

// The distance from point 1 to point N in chords, x normalised:
// hypot(x(1) - x(N), (y(1) - y(N)) / Chord). MakeSection refuses a contour
// for which it is not a finite number.
double TrailingEdgeGap(const Section& section);

// What a reader makes of a closed loop of points listed from the trailing
// edge around the contour in either direction.
struct LoopOrder {
  int dropped = 0;          // points dropped as exact repeats of the one before
  double twice_area = 0.0;  // signed area of the loop, times 2, before reversing
  bool reversed = false;    // the points were reversed
};

// Puts the loop into the program's order: a point equal in x and y to the
// one before it is dropped; then the loop's signed area, sum of
// x(i) y(i+1) - x(i+1) y(i) with the loop closed, is negative for the
// program's order (clockwise: lower surface first), and a positive or zero
// area reverses the points (a loop of zero area is taken as listed upper
// surface first, the usual layout). x and y must have the same length.
LoopOrder PutLoopInProgramOrder(Contour& contour);

}  // namespace quilane

#endif  // QUILANE_FILES_SECTION_H_
