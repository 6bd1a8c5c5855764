#include "window/status_text.h"

#include "files/number_text.h"

namespace quilane {

std::string StartHint() {
  return "Open a coordinate file: File > Open, or File > Import .dat\u2026";
}

std::string LoadStatus(const std::string& file_name, const LoadSummary& summary) {
  return "Read " + file_name + ": " + DescribeLoad(summary);
}

std::string RunStatus(const AirfoilWorkspace& ws, const RunChoice& choice,
                      const QualityReport& report) {
  std::string text = std::to_string(static_cast<int>(ws.NI)) + " new points, ";
  text += choice.mapping ? "conformal mapping, " : "cosine spacing along the chord, ";
  text += choice.lagrange ? "Lagrange nPoly = " + FormatMessageNumber(ValueOfString(choice.npoly))
                         : "PW cubic spline";
  const std::string warning = QualityWarning(report);
  if (!warning.empty()) text += "; warning: " + warning;
  text += "; " + DescribeReport(report);
  return text;
}

std::string SaveStatus(const std::string& coordinate_file, const std::string& camber_file) {
  return "Saved " + coordinate_file + " and " + camber_file;
}

std::string ExportStatus(const std::string& picture_file) {
  return "Exported the plot to " + picture_file;
}

std::string RefusalStatus(const std::string& message) {
  const auto end = message.find_first_of("\r\n");
  return end == std::string::npos ? message : message.substr(0, end);
}

std::string RouteRefusalStatus(const std::string& message) {
  return RefusalStatus(message) +
         " \u2014 tick Conformal Mapping and calculate again for this section";
}

}  // namespace quilane
