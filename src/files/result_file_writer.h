// Writer of the two result files: the new coordinates in the layout of the
// coordinate files, and the camber line.
#ifndef QUILANE_FILES_RESULT_FILE_WRITER_H_
#define QUILANE_FILES_RESULT_FILE_WRITER_H_

#include <string>

#include "files/file_result.h"
#include "files/file_save.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// Name of the camber file for a typed coordinate-file name: "Camber_" in front
// of the file-name part, in the same folder ("out.arf" -> "Camber_out.arf",
// "dir/out.arf" -> "dir/Camber_out.arf").
std::string CamberFileName(const std::string& save_name);

// Text of a result file, lines ended by CR LF: the title (between double
// quotes when it holds a comma, begins or ends with a blank or tab, or begins
// with the bytes of a UTF-8 or UTF-16 byte-order mark, and holds no double
// quote, so that the reader gets it back whole rather than cutting it at the
// comma and taking the rest for the count; a title with a double quote that
// begins with such bytes gets a blank in front instead, and one with a double
// quote that needs the quotes otherwise has its double quotes written as
// apostrophes); the count as one
// blank, the number (shortest plain form: "51", "25.5"), one blank (an empty
// line, and no point lines, for a count never set); then for i = 1 while
// i <= count and i <= kPointCapacity: two blanks, i ("####"), two blanks, x
// ("#0.####0"), two blanks, y ("#0.####0"). Defined for int and double counts.
template <typename Count>
std::string ResultFileText(const std::string& title, const Settable<Count>& count,
                           const PointArray& x, const PointArray& y);

// Writes PlotTitle, NI, XI, YI to SaveName, then PlotTitle, NCamber, XCamber,
// YCamber to CamberName (both UTF-8, used as they stand; the caller sets
// CamberName with CamberFileName). Each file is saved by WriteTextFile (a
// temporary file beside it renamed into place, with its refusals and
// messages), so a failed save leaves an earlier file of that name intact; the
// camber file is not attempted after a failed coordinate file. Changes
// nothing in the workspace.
FileResult WriteResultFiles(const AirfoilWorkspace& ws);

// WriteResultFiles with the file-system steps of `fs`.
FileResult WriteResultFiles(const AirfoilWorkspace& ws, SaveFileSystem& fs);

}  // namespace quilane

#endif  // QUILANE_FILES_RESULT_FILE_WRITER_H_
