// Reader of the coordinate files in circulation among aerodynamicists (.dat):
// the Selig layout (a name line, then one "x y" line per point from the
// trailing edge over the upper surface to the nose and back over the lower
// surface), the Lednicer layout (a name line, a line with the two surface
// counts such as "61.       61.", then the upper surface from the nose to the
// trailing edge and the lower surface from the nose to the trailing edge,
// usually with blank lines between) and the ISES layout (a Selig file whose
// second line is the four numbers of the domain box). The section is turned
// into the program's own point order, as a *.arf file lists it.
#ifndef QUILANE_FILES_DAT_FILE_READER_H_
#define QUILANE_FILES_DAT_FILE_READER_H_

#include <optional>
#include <string>
#include <vector>

#include "base/expected.h"
#include "files/file_contour.h"

namespace quilane {

class TextSource;

enum class DatLayout { kSelig, kLednicer, kIses };

// A contour read from a .dat file, in the program's point order (trailing
// edge, lower surface, nose, upper surface, trailing edge); `format` is
// "Selig", "Lednicer" or "ISES".
struct DatContour : FileContour {
  DatLayout layout = DatLayout::kSelig;
  std::vector<std::string> header;  // the header's lines of text (the first 100)
};

// Reads the .dat file `path`.
//
// Lines: LF, CR LF or CR ends, an optional UTF-8 byte-order mark; NUL bytes
// and 0x1A marks that pad the very end of the file are passed over. Blank
// lines are passed over wherever they stand; lines whose first character
// other than blanks and tabs is '#' (comments) are passed over from the first
// coordinate line on, and before it are header lines, even ahead of the name
// line. The first other line is the name line: the title is its text without blanks and tabs at either end
// (Latin-1 text is turned into UTF-8); when that line is already a coordinate
// line, the file has no name line, the line is the first point and the title
// is the file's name without its extension. A field is a run of characters between
// blanks, tabs and commas; a number is a decimal number ("-.003160",
// "1E-3", "0.4000000E-03", "0.4D-03"). A coordinate line holds exactly two
// numbers, x and y.
//
// Header: after the name, lines that are not all numbers are header lines,
// kept as text, up to the first coordinate line. A line of exactly four
// numbers right after the name, followed by a coordinate line, is the domain
// box of the ISES layout and is passed over. A line of one whole number (3
// or more) right after the name, followed by a coordinate line, is the
// number of points, counted as a header line: exactly that many coordinate
// lines must follow.
//
// Contour: from the first coordinate line on, coordinate lines (with blank
// lines and comments between them). The first other line ends it, and every
// line from there to the end of the file is a note, ignored and counted
// (blank lines not counted) - unless a coordinate line comes after it, or it
// directly follows the last coordinate line and looks like a damaged one
// (all its fields numbers, or two fields of which the first is a number).
//
// Layout, from the content: the file is Lednicer when its first coordinate
// line holds two whole numbers of at least 2 (written "61", "61." or "61.0")
// and exactly that many coordinate lines follow; the first count belongs to
// the surface listed first. Otherwise it is Selig (or ISES, after a box).
//
// Order: the points are joined into one loop as listed (Selig, ISES) or as
// the first surface reversed followed by the second (Lednicer), so that all
// give trailing edge -> first surface -> nose -> second surface -> trailing
// edge; a point equal in x and y to the one before it is dropped (the doubled
// nose of a Lednicer file, repeated points of a Selig file). The loop's
// signed area, sum of x(i) y(i+1) - x(i+1) y(i) with the loop closed, is
// negative for the program's order (clockwise: lower surface first); a
// positive area reverses the points. A loop of zero area keeps the layout's
// rule (the upper surface listed first, so it is reversed).
//
// Refuses, with a message naming the file, the line and the reason: a file
// that cannot be opened, a folder, a read error (kUnreadableFile); UTF-16 or
// a NUL byte before the end (kNotPlainText); a line over 1000 characters before or inside the
// contour or a number over 400; no name line and no coordinates; a first line of two whole numbers
// of 2 or more (the surface counts of a Lednicer file without its name); a line of numbers other
// than the domain box before the contour; a line inside the contour that is not a coordinate line
// (a value that is not a finite number, other than two fields, text between the coordinates); a
// damaged line right after the contour; the element separator "999 999" of a file of several
// elements; counts (surface counts, a point count) that do not match the coordinate lines that
// follow (kMalformedFile); more than 2000 coordinate lines or more than 1000 points after the
// repeats are dropped; fewer than 3 points (kUnusableContour).
Expected<DatContour> ReadDatContour(const std::string& path);

// ReadDatContour on the text of the file `path` from `source`, at its start.
Expected<DatContour> ReadDatSource(const std::string& path, TextSource& source);

// ReadDatSource, the part of the contour that every format shares.
Expected<FileContour> ReadDatFileContour(const std::string& path, TextSource& source);

// The layout of the .dat file whose text `source` holds (at its start), told
// from its first lines: after the name line, a coordinate line (Lednicer
// when it holds two surface counts, otherwise Selig) or a line of text (a
// header: Selig, unless a Lednicer count line follows it) makes it a .dat
// file; four numbers there make it ISES, and a whole number there followed
// by a coordinate line (a point count) Selig. Nothing when a line of other
// numbers stands right after the name (the point count or first record of a
// *.arf file) or nothing follows the name. Does not check the rest of the
// file: the reader does.
std::optional<DatLayout> DetectDatLayout(TextSource& source);

// Whether the file whose text `source` holds (at its start) gives a point
// count on the line after its name followed by "x y" lines: a .dat file that
// a *.arf reader would misread, taking every two points for one record.
bool HasPointCountLine(TextSource& source);

}  // namespace quilane

#endif  // QUILANE_FILES_DAT_FILE_READER_H_
