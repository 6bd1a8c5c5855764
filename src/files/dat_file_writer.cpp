#include "files/dat_file_writer.h"

#include <cmath>
#include <string>

#include "base/capacity.h"
#include "base/precondition.h"
#include "files/number_text.h"

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

std::string SeligFileText(const std::string& title, std::span<const double> x,
                          std::span<const double> y) {
  QUILANE_PRECONDITION(x.size() == y.size() && x.size() <= kPointCapacity);
  std::string text = SeligNameLine(title) + "\n";
  text.reserve(text.size() + x.size() * 20);
  for (std::size_t i = x.size(); i-- > 0;) {
    QUILANE_PRECONDITION(std::isfinite(x[i]) && std::isfinite(y[i]));
    text += Column(x[i]);
    text += ' ';
    text += Column(y[i]);
    text += '\n';
  }
  return text;
}

}  // namespace quilane
