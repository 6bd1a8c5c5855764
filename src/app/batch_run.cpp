#include "app/batch_run.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/redistribute.h"
#include "engine/refusal.h"
#include "engine/workspace_result.h"
#include "files/contour_store.h"
#include "files/dat_file_writer.h"
#include "files/number_text.h"
#include "files/result_file_writer.h"

namespace quilane {
bool RunBatchCalculation(AirfoilWorkspace& ws, const BatchSettings& settings,
                         std::vector<std::string>& messages, QualityReport* report) {
  if (!ws.FileLoaded) {
    messages.push_back("Open a file containing airfoil coordinates");
    return false;
  }
  RedistributeSettings run;
  run.route = settings.mapping ? Route::kConformalMapping : Route::kAlongChord;
  run.method = settings.lagrange ? Method::kLagrange : Method::kPwCubic;
  run.report = settings.report;
  std::optional<Refusal> refusal = ReadPointCount(settings.ni_text, run.points);
  if (!refusal && settings.lagrange) refusal = ReadDegree(settings.npoly_text, run.degree);
  if (refusal) {
    messages.push_back(refusal->message);
    return false;
  }
  const Contour contour{std::vector<double>(ws.X.begin() + 1, ws.X.begin() + 1 + ws.N),
                        std::vector<double>(ws.Y.begin() + 1, ws.Y.begin() + 1 + ws.N)};
  RedistributeOutcome outcome = Redistribute(contour, run);
  if (!outcome.ok()) {
    messages.push_back(outcome.refusal->message);
    if (MappingIsTheWayOut(*outcome.refusal, settings.mapping)) {
      messages.push_back("For this section use " + settings.mapping_choice + ".");
    }
    return false;
  }
  StoreRedistribution(*outcome.result, ws);
  if (report != nullptr) *report = outcome.result->report;
  return true;
}

FileResult LoadNacaInput(AirfoilWorkspace& ws, std::string_view code, int points,
                         TrailingEdge trailing_edge) {
  const SectionResult section = NacaSection(code, points, trailing_edge);
  if (!section.ok) return FileResult::Failure(section.message + ".");
  const ContourOrigin origin{"The generated section " + section.section.name,
                             FormatWhole(points) + " points"};
  FileResult stored =
      StoreContour(ws, section.section.name, section.section.x, section.section.y, origin);
  if (stored.ok) MakeStoredContourCurrent(ws);
  return stored;
}

std::string CamberOutputName(const std::string& output, ResultFormat format) {
  if (format == ResultFormat::kArf) return CamberFileName(output);
  std::filesystem::path arf = output;
  arf.replace_extension(".arf");
  return CamberFileName(arf.string());
}

std::string ResultText(const AirfoilWorkspace& ws, ResultFormat format) {
  return format == ResultFormat::kSelig ? SeligFileText(ws.PlotTitle, ws.NI, ws.XI, ws.YI)
                                        : ResultFileText(ws.PlotTitle, ws.NI, ws.XI, ws.YI);
}

FileResult WriteResult(const AirfoilWorkspace& ws, ResultFormat format) {
  if (format == ResultFormat::kArf) return WriteResultFiles(ws);
  const FileResult written = WriteSeligFile(ws, ws.SaveName);
  if (!written.ok) return written;
  return WriteTextFile(ws.CamberName,
                       ResultFileText(ws.PlotTitle, ws.NCamber, ws.XCamber, ws.YCamber),
                       "camber file");
}

FileResult CheckNotTheInput(const std::string& target, const std::string& input) {
  if (input.empty()) return FileResult::Success();
  std::error_code error;
  if (!std::filesystem::equivalent(target, input, error)) return FileResult::Success();
  return FileResult::Failure("The output \"" + target + "\" is the input file " + input +
                             "; choose another output name so the input is not overwritten.");
}

}  // namespace quilane
