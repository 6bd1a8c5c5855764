#include "window/workspace_values.h"

#include <algorithm>
#include <optional>
#include <span>

#include "base/precondition.h"

namespace quilane {
namespace {

template <typename Count>
std::optional<double> CountOf(const Settable<Count>& count) {
  if (!count.IsSet()) return std::nullopt;
  return static_cast<double>(static_cast<Count>(count));
}

}  // namespace

void LoadIntoWorkspace(const LoadedFile& file, AirfoilWorkspace& ws) {
  const Section& section = file.section;
  const auto n = static_cast<int>(section.contour.x.size());
  QUILANE_PRECONDITION(n >= 2 && n <= kPointCapacity &&
                       section.contour.y.size() == section.contour.x.size());
  ws.InputPath = file.path;
  ws.AirfoilTitle = section.title;
  ws.N = n;
  std::copy(section.contour.x.begin(), section.contour.x.end(), ws.X.begin() + 1);
  std::copy(section.contour.y.begin(), section.contour.y.end(), ws.Y.begin() + 1);
  ws.ILE = section.nose;
  ws.Xmin = section.x_min;
  ws.Chord = section.chord;
  ws.NI = n;
  std::copy_n(ws.X.begin() + 1, n, ws.XI.begin() + 1);
  std::copy_n(ws.Y.begin() + 1, n, ws.YI.begin() + 1);
  ws.PlotScale = 1.0;
  ws.PlotTitle.clear();
  ws.FileLoaded = true;
  ws.NCamber = Settable<double>();
}

Section SectionOfWorkspace(const AirfoilWorkspace& ws) {
  QUILANE_PRECONDITION(ws.FileLoaded && ws.N >= 2 && ws.N <= kPointCapacity);
  Section section;
  section.title = ws.AirfoilTitle;
  section.contour.x.assign(ws.X.begin() + 1, ws.X.begin() + 1 + ws.N);
  section.contour.y.assign(ws.Y.begin() + 1, ws.Y.begin() + 1 + ws.N);
  section.nose = ws.ILE;
  section.x_min = ws.Xmin;
  section.chord = ws.Chord;
  return section;
}

void StoreResult(const RedistributeResult& result, AirfoilWorkspace& ws) {
  QUILANE_PRECONDITION(result.x.size() <= kPointCapacity && result.y.size() == result.x.size());
  ws.NI = static_cast<int>(result.x.size());
  std::copy(result.x.begin(), result.x.end(), ws.XI.begin() + 1);
  std::copy(result.y.begin(), result.y.end(), ws.YI.begin() + 1);
  ws.NCamber = result.camber_count;
  std::copy(result.camber_x.begin(), result.camber_x.end(), ws.XCamber.begin() + 1);
  std::copy(result.camber_y.begin(), result.camber_y.end(), ws.YCamber.begin() + 1);
  ws.PlotTitle = result.title;
}

ResultFiles SaveRequestOf(const AirfoilWorkspace& ws) {
  return ResultFiles{ws.PlotTitle,
                     {CountOf(ws.NI), Entries(ws.XI), Entries(ws.YI)},
                     {CountOf(ws.NCamber), Entries(ws.XCamber), Entries(ws.YCamber)},
                     ResultFormat::kArf,
                     ws.SaveName,
                     ws.CamberName};
}

}  // namespace quilane
