// Writer of the two result files: the new coordinates in the layout of the
// coordinate files, and the camber line.
#ifndef QUILANE_FILES_RESULT_FILE_WRITER_H_
#define QUILANE_FILES_RESULT_FILE_WRITER_H_

#include <string>

#include "files/file_result.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

// Name of the camber file for a typed coordinate-file name: "Camber_" in front
// of the file-name part, in the same folder ("out.arf" -> "Camber_out.arf",
// "dir/out.arf" -> "dir/Camber_out.arf").
std::string CamberFileName(const std::string& save_name);

// Text of a result file, lines ended by CR LF: the title; the count as one
// blank, the number (shortest plain form: "51", "25.5"), one blank (an empty
// line, and no point lines, for a count never set); then for i = 1 while
// i <= count and i <= kPointCapacity: two blanks, i ("####"), two blanks, x
// ("#0.####0"), two blanks, y ("#0.####0"). Defined for int and double counts.
template <typename Count>
std::string ResultFileText(const std::string& title, const Settable<Count>& count,
                           const PointArray& x, const PointArray& y);

// Writes PlotTitle, NI, XI, YI to SaveName, then PlotTitle, NCamber, XCamber,
// YCamber to CamberName (both UTF-8, used as they stand; the caller sets
// CamberName with CamberFileName). Each file is written to a temporary file
// beside it (".<name>.tmp-<random>", every write and the close checked) and
// renamed into place, so a failed save leaves an earlier file of that name
// intact and no temporary file behind; the camber file is not attempted after
// a failed coordinate file. An empty name, a name that is a folder and a
// folder that does not exist are refused before anything is written. A
// failure gives a message naming the file and the reason. Changes nothing in
// the workspace.
FileResult WriteResultFiles(const AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_FILES_RESULT_FILE_WRITER_H_
