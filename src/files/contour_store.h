// Committing a contour read from any coordinate file to the workspace: the
// nose and chord found from neighbour steps and x normalised, exactly as a
// click in the file list does for a *.arf file. Shared by the *.arf and the
// .dat readers so that a section loads the same whichever file it came from.
#ifndef QUILANE_FILES_CONTOUR_STORE_H_
#define QUILANE_FILES_CONTOUR_STORE_H_

#include <string>
#include <vector>

#include "files/file_result.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// Where a contour came from, for the refusals: `file` opens the sentence
// ("The airfoil file \"wing.dat\"") and `lines` names the lines that held the
// points ("lines 3 to 63").
struct ContourOrigin {
  std::string file;
  std::string lines;
};

// A contour read from a coordinate file, in the program's point order, with
// what its reader saw; not yet stored.
struct FileContour {
  std::string title;
  std::vector<double> x;
  std::vector<double> y;
  long long first_line = 0;  // the lines that held the coordinates
  long long last_line = 0;
  std::string format;        // "arf", "Selig", "Lednicer" or "ISES"
  int header_lines = 0;      // lines of text before the coordinates, besides the name
  int ignored_lines = 0;     // lines of notes after the contour (blank lines not counted)
  int dropped = 0;           // points dropped as exact repeats of their neighbour
  bool reversed = false;     // listed the other way round from the layout's usual order
  bool unnamed = false;      // no name line: the title is the file's name without extension
};

// Stores title and the points x[0..n-1], y[0..n-1] (in the program's order,
// as read) as AirfoilTitle, N = n, X(1..n), Y(1..n), then finds the nose and
// chord on x as read: Xmin = Xmax = x(1); for i = 2..n, if x(i) < x(i-1) then
// ILE = i and Xmin = x(i); then, separately, if x(i) > x(i-1) then
// Xmax = x(i); Chord = Xmax - Xmin; X(i) = (x(i) - Xmin) / Chord, Y(i) = y(i).
//
// Refuses, changing nothing in the workspace: x and y of different lengths,
// fewer than 2 or more than kPointCapacity points; the same x in every point
// (chord 0); x that never decreases (no nose: ILE would keep an earlier
// file's nose); a chord too large for a double; a point whose normalised x
// is not a finite number (far beyond the chord, or a chord near zero); first
// and last points so far apart that TrailingEdgeGap is not a finite number.
// Only AirfoilTitle, N, ILE, Xmin, Chord and entries 1..n of X and Y change
// on success.
FileResult StoreContour(AirfoilWorkspace& ws, std::string title, const std::vector<double>& x,
                        const std::vector<double>& y, const ContourOrigin& origin);

// The distance from point 1 to point N in chords, x normalised and y as
// stored: hypot(X(1) - X(N), (Y(1) - Y(N)) / Chord). Infinite when it does
// not fit a double; StoreContour refuses such a contour.
double TrailingEdgeGap(const AirfoilWorkspace& ws);

// What a reader makes of a closed loop of points listed from the trailing
// edge around the contour in either direction.
struct LoopOrder {
  int dropped = 0;          // points dropped as exact repeats of the one before
  double twice_area = 0.0;  // signed area of the loop, times 2, before reversing
  bool reversed = false;    // the points were reversed
};

// Puts the loop x[0..n-1], y[0..n-1] into the program's order: a point equal
// in x and y to the one before it is dropped; then the loop's signed area,
// sum of x(i) y(i+1) - x(i+1) y(i) with the loop closed, is negative for the
// program's order (clockwise: lower surface first), and a positive or zero
// area reverses the points (a loop of zero area is taken as listed upper
// surface first, the usual layout). x and y must have the same length.
LoopOrder PutLoopInProgramOrder(std::vector<double>& x, std::vector<double>& y);

// StoreContour of `contour`, the refusals naming the file `path` and the
// lines that held the coordinates.
FileResult StoreFileContour(AirfoilWorkspace& ws, const std::string& path,
                            const FileContour& contour);

// What choosing a file does after its contour was stored: the points read
// become the first set of new points (NI = N, XI = X, YI = Y), the zoom
// factor is 1, PlotTitle is empty and the file counts as loaded. The camber
// line, the view offsets and the curve of the last calculation stay.
void MakeStoredContourCurrent(AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_FILES_CONTOUR_STORE_H_
