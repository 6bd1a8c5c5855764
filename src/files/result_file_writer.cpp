#include "files/result_file_writer.h"

#include <algorithm>
#include <string>

#include "files/file_save.h"
#include "files/number_text.h"

namespace quilane {
namespace {

constexpr const char* kLineEnd = "\r\n";

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

template <typename Count>
std::string ResultFileText(const std::string& title, const Settable<Count>& count,
                           const PointArray& x, const PointArray& y) {
  std::string text = TitleLine(title) + kLineEnd;
  if (!count.IsSet()) return text + kLineEnd;
  const Count value = count;
  text += " " + FormatShortest(static_cast<double>(value)) + " " + kLineEnd;
  // i <= count, so a count of 25.5 gives 25 lines; the arrays end at the capacity.
  for (int i = 1; i <= value && i <= kPointCapacity; ++i) {
    text += "  ";
    text += FormatWhole(i);
    text += "  ";
    text += FormatFixed5(x[static_cast<std::size_t>(i)]);
    text += "  ";
    text += FormatFixed5(y[static_cast<std::size_t>(i)]);
    text += kLineEnd;
  }
  return text;
}

template std::string ResultFileText<int>(const std::string&, const Settable<int>&,
                                         const PointArray&, const PointArray&);
template std::string ResultFileText<double>(const std::string&, const Settable<double>&,
                                            const PointArray&, const PointArray&);

FileResult WriteResultFiles(const AirfoilWorkspace& ws) {
  return WriteResultFiles(ws, SystemSaveFileSystem());
}

FileResult WriteResultFiles(const AirfoilWorkspace& ws, SaveFileSystem& fs) {
  const FileResult coordinates =
      WriteTextFile(ws.SaveName, ResultFileText(ws.PlotTitle, ws.NI, ws.XI, ws.YI),
                 "coordinate file", fs);
  if (!coordinates.ok) return coordinates;
  return WriteTextFile(ws.CamberName,
                    ResultFileText(ws.PlotTitle, ws.NCamber, ws.XCamber, ws.YCamber),
                    "camber file", fs);
}

}  // namespace quilane
