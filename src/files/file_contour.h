// A contour as a reader of coordinate files found it, before it becomes a
// section (files/section.h): the points in the program's order, as given,
// and what the reader saw on the way.
#ifndef QUILANE_FILES_FILE_CONTOUR_H_
#define QUILANE_FILES_FILE_CONTOUR_H_

#include <string>

#include "files/section.h"

namespace quilane {

struct FileContour {
  std::string title;
  Contour points;            // in the program's order, x and y as given
  long long first_line = 0;  // the lines that held the coordinates
  long long last_line = 0;
  std::string format;     // "arf", "Selig", "Lednicer" or "ISES"
  int header_lines = 0;   // lines of text before the coordinates, besides the name
  int ignored_lines = 0;  // lines of notes after the contour (blank lines not counted)
  int dropped = 0;        // points dropped as exact repeats of their neighbour
  bool reversed = false;  // listed the other way round from the layout's usual order
  bool unnamed = false;   // no name line: the title is the file's name without extension
};

}  // namespace quilane

#endif  // QUILANE_FILES_FILE_CONTOUR_H_
