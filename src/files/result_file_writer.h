// Writer of the two result files: the new points, in the layout of the
// program's coordinate files or as a Selig .dat file, and the camber line,
// always in the program's layout.
#ifndef QUILANE_FILES_RESULT_FILE_WRITER_H_
#define QUILANE_FILES_RESULT_FILE_WRITER_H_

#include <optional>
#include <span>
#include <string>

#include "base/refusal.h"
#include "files/file_save.h"

namespace quilane {

// Layouts of the new-point file: the program's own *.arf, or a Selig .dat
// file (a name line and "x y" lines, upper surface first).
enum class ResultFormat { kArf, kSelig };

// A count and the points it lists. The count is a half-integer for the
// camber line of an even number of new points, and unset (an empty count
// line, no points) where nothing was ever calculated. x and y hold at least
// the whole points up to the count, at most kPointCapacity of them.
struct PointListing {
  std::optional<double> count;
  std::span<const double> x;
  std::span<const double> y;
};

// What a save writes: the title line of both files, the new points and the
// camber line, the layout of the new-point file and the two file names
// (UTF-8, used as they stand).
struct ResultFiles {
  std::string title;
  PointListing points;
  PointListing camber;
  ResultFormat format = ResultFormat::kArf;
  std::string points_path;
  std::string camber_path;
};

// Name of the camber file for a typed coordinate-file name: "Camber_" in front
// of the file-name part, in the same folder ("out.arf" -> "Camber_out.arf",
// "dir/out.arf" -> "dir/Camber_out.arf").
std::string CamberFileName(const std::string& save_name);

// The camber file beside the new-point file `output`: CamberFileName, with
// the extension ".arf" for a Selig result (the camber line is always written
// in the program's own layout).
std::string CamberOutputName(const std::string& output, ResultFormat format);

// Text of a result file in the program's layout, lines ended by CR LF: the
// title (between double quotes when it holds a comma, begins or ends with a
// blank or tab, or begins with the bytes of a UTF-8 or UTF-16 byte-order
// mark, and holds no double quote, so that the reader gets it back whole
// rather than cutting it at the comma and taking the rest for the count; a
// title with a double quote that begins with such bytes gets a blank in
// front instead, one with a double quote that needs the quotes otherwise has
// its double quotes written as apostrophes, and one that opens with a double
// quote has that quote written as an apostrophe); the count as one blank, the
// number (shortest plain form: "51", "25.5"), one blank (an empty line, and
// no point lines, for an unset count); then for i = 1 while i <= count and
// i <= kPointCapacity: two blanks, i ("####"), two blanks, x ("#0.####0"),
// two blanks, y ("#0.####0"). Needs finite values.
std::string ResultFileText(const std::string& title, const PointListing& listing);

// The text of the new-point file of `files`: ResultFileText, or SeligFileText
// (files/dat_file_writer.h), which needs a set count.
std::string PointsFileText(const ResultFiles& files);

// CheckFileName of the new-point file's name, then of the camber file's.
std::optional<Refusal> CheckResultFileNames(const ResultFiles& files);

// Writes the new-point file, then the camber file, each through WriteTextFile
// (a temporary file beside it renamed into place, with its refusals and
// messages), so a failed save leaves an earlier file of that name intact.
// Nothing is written when CheckResultFileNames refuses; the camber file is
// not attempted after a failed new-point file.
std::optional<Refusal> WriteResultFiles(const ResultFiles& files,
                                        SaveFileSystem& fs = SystemSaveFileSystem());

}  // namespace quilane

#endif  // QUILANE_FILES_RESULT_FILE_WRITER_H_
