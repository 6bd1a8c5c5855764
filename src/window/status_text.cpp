#include "window/status_text.h"

#include <filesystem>

#include "files/file_path.h"
#include "files/number_text.h"

namespace quilane {
namespace {

// How the window places new points on the curve through the input, for a warning.
constexpr std::string_view kOnSplineAction =
    "choose Calculation > Place new points on a spline through the input";

}  // namespace

std::string StartHint() {
  return "Open a coordinate file: File > Open, or File > Import .dat\u2026";
}

std::string LoadStatus(const std::string& file_name, const LoadSummary& summary) {
  return "Read " + file_name + ": " + DescribeLoad(summary);
}

std::string RunStatus(const RedistributeSettings& settings, const QualityReport& report) {
  std::string text = FormatWhole(settings.points) + " new points, ";
  text += settings.route == Route::kConformalMapping ? "conformal mapping, "
                                                     : "cosine spacing along the chord, ";
  text += settings.method == Method::kLagrange ? "Lagrange nPoly = " + FormatWhole(settings.degree)
                                               : "PW cubic spline";
  if (settings.on_spline) text += ", on a spline through the input";
  const std::string warning = QualityWarning(report, kOnSplineAction);
  if (!warning.empty()) text += "; warning: " + warning;
  // The settings above name the placement on the spline; the report need not again.
  QualityReport figures = report;
  figures.on_spline = false;
  text += "; " + DescribeReport(figures);
  return text;
}

std::string SaveStatus(const std::string& coordinate_file, const std::string& camber_file) {
  const std::filesystem::path coordinates = PathFromUtf8(coordinate_file);
  return "Saved " + Utf8FromPath(coordinates.filename()) + " and " +
         Utf8FromPath(PathFromUtf8(camber_file).filename()) + " in " +
         Utf8FromPath(coordinates.parent_path());
}

std::string KeptStatus(const std::string& existing_file) {
  return "Nothing saved; " + existing_file + " is kept as it was";
}

std::string ExportStatus(const std::string& picture_file) {
  return "Exported the plot to " + picture_file;
}

std::string RefusalStatus(const Refusal& refusal) {
  const std::string way_out = WayOutText(refusal, "tick Conformal Mapping and calculate again");
  return way_out.empty() ? FirstLine(refusal.message)
                         : FirstLine(refusal.message) + " \u2014 " + way_out;
}

}  // namespace quilane
