#include "app/batch_run.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine/run_calculation.h"
#include "engine/run_host.h"
#include "files/contour_store.h"
#include "files/dat_file_writer.h"
#include "files/number_text.h"
#include "files/result_file_writer.h"

namespace quilane {
namespace {

// Serves fixed settings to the run and keeps its messages. There are no
// scroll bars or plot: the run sets the view itself.
class FixedSettingsHost : public RunHost {
 public:
  FixedSettingsHost(const BatchSettings& settings, std::vector<std::string>& messages)
      : settings_(settings), messages_(messages) {}

  std::string TextNI() override { return settings_.ni_text; }
  bool MappingChecked() override { return settings_.mapping; }
  bool LagrangeSelected() override { return settings_.lagrange; }
  std::string TextNPoly() override { return settings_.npoly_text; }
  bool PwCubicSelected() override { return !settings_.lagrange; }
  void ShowMessage(const std::string& text) override { messages_.push_back(text); }
  void SetScrollX0(int) override {}
  void SetScrollOlcek(int) override {}
  void SetScrollY0(int) override {}
  void ShowAirfoil(int, const PointArray&, const PointArray&, int, const PointArray&,
                   const PointArray&) override {}

 private:
  const BatchSettings& settings_;
  std::vector<std::string>& messages_;
};

}  // namespace

bool RunBatchCalculation(AirfoilWorkspace& ws, const BatchSettings& settings,
                         std::vector<std::string>& messages) {
  const std::size_t first_message = messages.size();
  FixedSettingsHost host(settings, messages);
  if (RunCalculation(ws, host)) return true;
  // The along-chord stations run from x = 1 to x = 1, so a contour whose
  // ends are not both at the trailing edge's x cannot take them.
  const bool out_of_range =
      messages.size() > first_message &&
      messages.back().find("is not in the given interpolation range") != std::string::npos;
  if (!settings.mapping && out_of_range && (ws.X[1] != 1.0 || ws.X[ws.N] != 1.0)) {
    messages.push_back("The contour's first and last points lie at x = " +
                       FormatMessageNumber(ws.X[1]) + " and x = " +
                       FormatMessageNumber(ws.X[ws.N]) +
                       " of the chord (an open trailing edge); the route along the chord "
                       "needs both at x = 1; use " +
                       settings.mapping_choice + " for this section.");
  }
  return false;
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
