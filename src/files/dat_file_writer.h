// Writer of the new points as a Selig coordinate file (.dat), the form that
// airfoil analysis tools read: a name line, then one "x y" line per point
// from the trailing edge over the upper surface to the nose and back over the
// lower surface.
#ifndef QUILANE_FILES_DAT_FILE_WRITER_H_
#define QUILANE_FILES_DAT_FILE_WRITER_H_

#include <string>

#include "files/file_result.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// The name line for `title`: the title without blanks and tabs at either end
// and without '#' in front (a reader takes a line that starts with '#' for a
// comment); "Airfoil" when nothing is left, since the readers of these files
// expect a name.
std::string SeligNameLine(const std::string& title);

// Text of a Selig file, lines ended by LF: SeligNameLine(title), then for
// i = count down to 1 (the program's order reversed, so the upper surface
// comes first): x(i) and y(i), each as FormatFixed(v, 6) with a blank in
// front when it has no minus sign, joined by one blank
// (" 1.000000  0.001260", " 0.500000 -0.031250"). Needs 0 <= count <=
// kPointCapacity and finite values.
std::string SeligFileText(const std::string& title, int count, const PointArray& x,
                          const PointArray& y);

// Writes NI, XI, YI as a Selig file named `path` (UTF-8, used as it stands),
// with PlotTitle as its name, or AirfoilTitle when PlotTitle is empty (right
// after a file was loaded). The file is saved like the result files
// (WriteTextFile: a temporary file beside it renamed into place, so a failure
// leaves an earlier file intact). Refused: no new points yet (NI never set or
// outside 1..kPointCapacity), a value that is not finite, and the writer's
// own refusals (empty name, folder, missing folder, a failed write), each
// with a message naming the file. Changes nothing in the workspace.
FileResult WriteSeligFile(const AirfoilWorkspace& ws, const std::string& path);

}  // namespace quilane

#endif  // QUILANE_FILES_DAT_FILE_WRITER_H_
