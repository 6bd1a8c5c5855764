// Reader of the coordinate files in circulation among aerodynamicists (.dat):
// the Selig layout (a name line, then one "x y" line per point from the
// trailing edge over the upper surface to the nose and back over the lower
// surface) and the Lednicer layout (a name line, a line with the two surface
// counts such as "61.       61.", then the upper surface from the nose to the
// trailing edge and the lower surface from the nose to the trailing edge,
// usually with blank lines between). The section is turned into the program's
// own point order and stored exactly as a *.arf file would be.
#ifndef QUILANE_FILES_DAT_FILE_READER_H_
#define QUILANE_FILES_DAT_FILE_READER_H_

#include <string>
#include <vector>

#include "files/file_result.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

enum class DatLayout { kSelig, kLednicer };

// A section read from a .dat file, in the program's point order (trailing
// edge, lower surface, nose, upper surface, trailing edge), not yet stored.
struct DatContour {
  std::string title;
  DatLayout layout = DatLayout::kSelig;
  std::vector<double> x;
  std::vector<double> y;
  bool reversed = false;  // the listing ran the other way round from its layout's rule
  int dropped = 0;        // points dropped as exact repeats of their neighbour
  long long first_line = 0;  // lines that held the coordinates
  long long last_line = 0;
};

// Reads the .dat file `path` (UTF-8) into `contour`.
//
// Lines: LF, CR LF or CR ends, an optional UTF-8 byte-order mark. A line whose
// first character other than blanks and tabs is '#' is a comment, wherever it
// stands, and blank lines are passed over. The first other line is the name
// line; the title is its text without blanks and tabs at either end. Every other line holds exactly two numbers, x and y, separated by
// blanks, tabs or a comma ("-.003160" and "1E-3" are numbers).
//
// Layout, from the content: the file is Lednicer when its first coordinate
// line holds two whole numbers of at least 2 (written "61", "61." or "61.0")
// and exactly that many coordinate lines follow; the first count belongs to
// the surface listed first. Otherwise it is Selig.
//
// Order: the points are joined into one loop as listed (Selig) or as the
// first surface reversed followed by the second (Lednicer), so that both give
// trailing edge -> first surface -> nose -> second surface -> trailing edge;
// a point equal in x and y to the one before it is dropped (the doubled nose
// of a Lednicer file, repeated points of a Selig file). The loop's signed
// area, sum of x(i) y(i+1) - x(i+1) y(i) with the loop closed, is negative
// for the program's order (clockwise: lower surface first); a positive area
// reverses the points. A loop of zero area keeps the layout's rule (the
// upper surface listed first, so it is reversed).
//
// Refuses, with a message naming the file, the line and the reason: a file
// that cannot be opened, a folder, UTF-16 or a NUL byte, a read error; a line
// over 1000 characters or a number over 400; no name line; a name line that
// holds just two numbers (a file without a name, whose first point would be
// lost); a coordinate line with other than two fields or with a field that is
// not a finite number; counts that do not match the coordinate lines that
// follow; more than 2000 coordinate lines or more than 1000 points after the
// repeats are dropped; fewer than 2 points.
FileResult ReadDatContour(const std::string& path, DatContour& contour);

// Reads the .dat file `path` and stores its contour as the *.arf reader
// does (StoreContour: AirfoilTitle, N, X, Y, ILE, Xmin, Chord, the same nose
// and chord rule and the same refusals: chord 0, x never decreasing). Sets
// nothing else: InputPath stays as it is. A refused file changes nothing.
FileResult ReadDatFile(AirfoilWorkspace& ws, const std::string& path);

// What importing a .dat file does, the counterpart of choosing a *.arf file
// in the file list: ReadDatFile, then on success InputPath = path, NI = N,
// XI = X, YI = Y, the zoom factor 1, PlotTitle empty, the file loaded. The
// caller plots afterwards. A refused file changes nothing.
FileResult LoadDatFile(AirfoilWorkspace& ws, const std::string& path);

// The two kinds of coordinate file the program reads.
enum class CoordinateFormat { kArf, kDat };

// Tells a .dat file from a *.arf file by its content, whatever its name:
// after the first line that is neither blank nor a '#' comment (the title or
// name line), the next such line decides: exactly two numbers ("x y", or the
// two surface counts of a Lednicer file) make it kDat; anything else (the
// point count of a *.arf file alone, or with a record after it) kArf. A file
// that cannot be read, or ends before that line, counts as kArf, whose reader
// then tells what is wrong. Reads up to that line, no line held beyond 1000
// characters.
CoordinateFormat DetectCoordinateFormat(const std::string& path);

// Loads a coordinate file of either kind: LoadDatFile for kDat, for kArf
// InputPath = path and LoadAirfoilFile. When the reader of the detected kind
// refuses the file and the other one reads it, the other one's result is
// kept (a *.arf file with its count and a label on one line reads as kDat);
// when both refuse, the detected kind's refusal is returned. Either way a
// refused file changes nothing, InputPath included. `format`, when given,
// receives the kind that was loaded.
FileResult LoadCoordinateFile(AirfoilWorkspace& ws, const std::string& path,
                              CoordinateFormat* format = nullptr);

}  // namespace quilane

#endif  // QUILANE_FILES_DAT_FILE_READER_H_
