#include "app/batch_output.h"

#include <filesystem>

namespace quilane {

std::string GeneratedInputName(const std::string& title) {
  std::string name = "naca";
  for (const char c : title) {
    if (c >= '0' && c <= '9') name.push_back(c);
  }
  return name;
}

std::string ResultFileName(const std::string& name, bool arf_input, ResultFormat format) {
  std::filesystem::path file = name;
  if (format != ResultFormat::kArf || !arf_input) {
    file.replace_extension(format == ResultFormat::kSelig ? ".dat" : ".arf");
  }
  return file.string();
}

Refusal EarlierResultRefusal(const std::string& target) {
  return FileRefusal(RefusalCode::kReplacesResult, target, 0,
                     "The output \"" + target +
                         "\" already holds the result of an earlier input of this run; give "
                         "inputs of the same name separate runs or folders.");
}

std::string ReportLines(const std::string& label, const QualityReport& report,
                        std::string_view on_spline_action) {
  std::string text = label + ": " + DescribeReport(report) + "\n";
  const std::string warning = QualityWarning(report, on_spline_action);
  if (!warning.empty()) text += label + ": warning: " + warning + "\n";
  return text;
}

}  // namespace quilane
