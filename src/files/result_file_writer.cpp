#include "files/result_file_writer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "base/capacity.h"
#include "base/precondition.h"
#include "files/dat_file_writer.h"
#include "files/file_save.h"
#include "files/number_text.h"

namespace quilane {
namespace {

constexpr const char* kLineEnd = "\r\n";

const char* PointsFileKind(ResultFormat format) {
  return format == ResultFormat::kSelig ? "Selig file" : "coordinate file";
}

// Characters that end the folder part of a typed name.
#ifdef _WIN32
constexpr const char* kFolderSeparators = "\\/:";
#else
constexpr const char* kFolderSeparators = "/";
#endif

// The title line, written so that the reader gets the title back: between
// double quotes when it holds a comma (which ends an unquoted title), begins
// or ends with a blank or tab (dropped around an unquoted one) or begins with
// the bytes of a byte-order mark (at the start of a file the UTF-8 one is
// passed over, a UTF-16 one refused). A quoted title cannot hold a double
// quote: one that needs the quotes only for the mark's bytes gets a blank in
// front instead; otherwise (a name line of a .dat file with both a comma and
// a double quote) its double quotes are written as apostrophes, the one
// change that lets the file open again.
std::string TitleLine(const std::string& title) {
  const bool mark_first = title.starts_with("\xEF\xBB\xBF") || title.starts_with("\xFF\xFE") ||
                          title.starts_with("\xFE\xFF");
  const bool cut_unquoted =
      title.find(',') != std::string::npos ||
      (!title.empty() && (title.front() == ' ' || title.front() == '\t' ||
                          title.back() == ' ' || title.back() == '\t'));
  // The reader takes a title that opens with a double quote for a quoted
  // one and keeps only the text up to the next: that quote is written as an
  // apostrophe.
  if (!cut_unquoted && !title.empty() && title.front() == '"') return '\'' + title.substr(1);
  if (!mark_first && !cut_unquoted) return title;
  if (title.find('"') == std::string::npos) return '"' + title + '"';
  if (!cut_unquoted) return ' ' + title;
  std::string quoted = title;
  std::replace(quoted.begin(), quoted.end(), '"', '\'');
  return '"' + quoted + '"';
}

}  // namespace

std::string CamberFileName(const std::string& save_name) {
  const std::size_t separator = save_name.find_last_of(kFolderSeparators);
  const std::size_t name_start = separator == std::string::npos ? 0 : separator + 1;
  return save_name.substr(0, name_start) + "Camber_" + save_name.substr(name_start);
}

std::string CamberOutputName(const std::string& output, ResultFormat format) {
  if (format == ResultFormat::kArf) return CamberFileName(output);
  std::filesystem::path arf = output;
  arf.replace_extension(".arf");
  return CamberFileName(arf.string());
}

std::string ResultFileText(const std::string& title, const PointListing& listing) {
  std::string text = TitleLine(title) + kLineEnd;
  if (!listing.count) return text + kLineEnd;
  const double count = *listing.count;
  QUILANE_PRECONDITION(std::isfinite(count));
  text += " " + FormatShortest(count) + " " + kLineEnd;
  // i <= count, so a count of 25.5 gives 25 lines; no listing holds more
  // than the capacity.
  const std::size_t lines =
      count < 1 ? 0 : static_cast<std::size_t>(std::min<double>(count, kPointCapacity));
  QUILANE_PRECONDITION(listing.x.size() >= lines && listing.y.size() >= lines);
  for (std::size_t i = 0; i < lines; ++i) {
    text += "  ";
    text += FormatWhole(static_cast<long long>(i) + 1);
    text += "  ";
    text += FormatFixed5(listing.x[i]);
    text += "  ";
    text += FormatFixed5(listing.y[i]);
    text += kLineEnd;
  }
  return text;
}

std::string PointsFileText(const ResultFiles& files) {
  if (files.format == ResultFormat::kArf) return ResultFileText(files.title, files.points);
  QUILANE_PRECONDITION(files.points.count.has_value());
  const auto count = static_cast<std::size_t>(*files.points.count);
  return SeligFileText(files.title, files.points.x.first(count), files.points.y.first(count));
}

std::optional<Refusal> CheckResultFileNames(const ResultFiles& files) {
  if (auto refused = CheckFileName(files.points_path, PointsFileKind(files.format))) {
    return refused;
  }
  return CheckFileName(files.camber_path, "camber file");
}

std::optional<Refusal> WriteResultFiles(const ResultFiles& files, SaveFileSystem& fs) {
  // Both names first: a camber name no file can have must not leave a new
  // coordinate file behind.
  if (auto refused = CheckResultFileNames(files)) return refused;
  const char* what = PointsFileKind(files.format);
  if (auto refused = WriteTextFile(files.points_path, PointsFileText(files), what, fs)) {
    return refused;
  }
  return WriteTextFile(files.camber_path, ResultFileText(files.title, files.camber), "camber file",
                       fs);
}

}  // namespace quilane
