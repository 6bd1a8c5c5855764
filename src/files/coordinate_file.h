// Loading a coordinate file of any kind the program reads, told by its
// content rather than its name, into a section with what the load saw. The
// kinds are the rows of one table (coordinate_file.cpp): how to recognise
// the file, how to read it into a contour, and the format's name; adding a
// format adds a row and the unit that reads it.
#ifndef QUILANE_FILES_COORDINATE_FILE_H_
#define QUILANE_FILES_COORDINATE_FILE_H_

#include <string>

#include "base/expected.h"
#include "files/section.h"

namespace quilane {

// What a load saw, beside the section it made.
struct LoadSummary {
  std::string format;              // "Selig", "Lednicer", "ISES" or "arf"
  int points = 0;                  // N
  int nose_index = 0;              // ILE
  double trailing_edge_gap = 0.0;  // distance from point 1 to point N, in chords
  int header_lines = 0;            // lines of text before the coordinates, besides the name
  int ignored_lines = 0;           // lines of notes after the contour (blank lines not counted)
  int dropped_points = 0;          // points dropped as exact repeats of their neighbour
  // The file listed its points the other way round from its layout's usual
  // order (a Selig file from the lower surface), and they were turned round.
  bool reversed = false;
  // The file began with its coordinates: the section is named after the file.
  bool unnamed = false;
};

// A file read: its section (the title from the file, x normalised), the
// path as given and what the load saw.
struct LoadedFile {
  std::string path;
  Section section;
  LoadSummary summary;
};

// The name of the format whose row recognises the file `path` ("Selig",
// "Lednicer", "ISES", "arf"): the first row, in the table's order, whose
// test of the file's first lines holds. A file that cannot be opened gives
// "arf", the last row, which takes whatever the others do not.
std::string DetectCoordinateFormat(const std::string& path);

// Loads the coordinate file `path`: opens it once, takes the format that
// DetectCoordinateFormat names, reads its contour and makes its section
// (MakeSection). When that format's reader refuses the file and the reader
// of another row whose test the file passes reads it (a *.arf file with its
// count and a label on one line looks like a .dat file), the other one's
// result is kept; otherwise the refusal of the format the file looked like
// is returned, so that it speaks of that format.
Expected<LoadedFile> LoadCoordinateFile(const std::string& path);

// Loads `bytes`, the whole content of a file named `name` handed over rather
// than read from disk (the web page is given files, not paths), exactly as
// LoadCoordinateFile loads a file of that name holding them; refusals name it.
Expected<LoadedFile> LoadCoordinateText(const std::string& name, std::string bytes);

// Loads `path` with the *.arf reader alone, as the window's file list does
// with the files it lists.
Expected<LoadedFile> LoadArfFile(const std::string& path);

// The summary in words, as the --info line shows it after the path: the
// format, the points, the nose, the trailing-edge gap (five decimals), then
// when they occur the lines of header, the order turned round, the repeated points
// dropped and the notes ignored ("Selig, 61 points, nose at point 31,
// trailing edge gap 0.00000, 2 lines of notes ignored").
std::string DescribeLoad(const LoadSummary& summary);

}  // namespace quilane

#endif  // QUILANE_FILES_COORDINATE_FILE_H_
