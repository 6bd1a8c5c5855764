// Writer of the new points as a Selig coordinate file (.dat), the form that
// airfoil analysis tools read: a name line, then one "x y" line per point
// from the trailing edge over the upper surface to the nose and back over the
// lower surface.
#ifndef QUILANE_FILES_DAT_FILE_WRITER_H_
#define QUILANE_FILES_DAT_FILE_WRITER_H_

#include <span>
#include <string>

namespace quilane {

// The name line for `title`: the title without blanks and tabs at either end
// and without '#' in front (a reader takes a line that starts with '#' for a
// comment); "Airfoil" when nothing is left, since the readers of these files
// expect a name.
std::string SeligNameLine(const std::string& title);

// Text of a Selig file, lines ended by LF: SeligNameLine(title), then the
// points from the last to the first (the program's order reversed, so the
// upper surface comes first): x and y, each as FormatFixed(v, 6) with a blank
// in front when it has no minus sign, joined by one blank (" 1.000000
// 0.001260", " 0.500000 -0.031250"). Needs x and y of equal length, at most
// kPointCapacity, and finite values.
std::string SeligFileText(const std::string& title, std::span<const double> x,
                          std::span<const double> y);

}  // namespace quilane

#endif  // QUILANE_FILES_DAT_FILE_WRITER_H_
