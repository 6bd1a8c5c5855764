#include "files/dat_file_writer.h"

#include <cmath>
#include <string>

#include "files/number_text.h"
#include "files/file_save.h"

namespace quilane {
namespace {

constexpr int kDecimals = 6;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A coordinate in a column of its own: a blank takes the place of the sign.
std::string Column(double value) {
  std::string text = FormatFixed(value, kDecimals);
  if (text.front() != '-') text.insert(text.begin(), ' ');
  return text;
}

}  // namespace

std::string SeligNameLine(const std::string& title) {
  std::size_t start = 0;
  std::size_t end = title.size();
  while (start < end && (IsBlank(title[start]) || title[start] == '#')) ++start;
  while (end > start && IsBlank(title[end - 1])) --end;
  if (start == end) return "Airfoil";
  return title.substr(start, end - start);
}

std::string SeligFileText(const std::string& title, int count, const PointArray& x,
                          const PointArray& y) {
  std::string text = SeligNameLine(title) + "\n";
  text.reserve(text.size() + static_cast<std::size_t>(count) * 20);
  for (int i = count; i >= 1; --i) {
    text += Column(x[static_cast<std::size_t>(i)]);
    text += ' ';
    text += Column(y[static_cast<std::size_t>(i)]);
    text += '\n';
  }
  return text;
}

FileResult WriteSeligFile(const AirfoilWorkspace& ws, const std::string& path) {
  const int count = ws.NI;
  if (!ws.NI.IsSet() || count < 1 || count > kPointCapacity) {
    return FileResult::Failure("The Selig file \"" + path +
                               "\" was not written: there are no new points yet; open a "
                               "coordinate file first.");
  }
  for (int i = 1; i <= count; ++i) {
    if (!std::isfinite(ws.XI[i]) || !std::isfinite(ws.YI[i])) {
      return FileResult::Failure("The Selig file \"" + path + "\" was not written: new point " +
                                 FormatWhole(i) + " is not a finite number (x " +
                                 FormatMessageNumber(ws.XI[i]) + ", y " +
                                 FormatMessageNumber(ws.YI[i]) +
                                 "); calculate again with other settings.");
    }
  }
  const std::string& title = ws.PlotTitle.empty() ? ws.AirfoilTitle : ws.PlotTitle;
  return WriteTextFile(path, SeligFileText(title, count, ws.XI, ws.YI), "Selig file");
}

}  // namespace quilane
