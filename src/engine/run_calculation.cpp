#include "engine/run_calculation.h"

#include <optional>
#include <span>
#include <string>

#include "engine/redistribute.h"
#include "engine/refusal.h"
#include "engine/run_steps.h"

namespace quilane {
namespace {

std::span<const double> Points(const PointArray& array, int count) {
  return std::span<const double>(array.data() + 1, static_cast<std::size_t>(count));
}

}  // namespace

bool RunCalculation(AirfoilWorkspace& ws, RunHost& host, QualityReport* report,
                    Refusal* refused) {
  // A refusal before anything is written: show it and end.
  const auto refuse = [&host, refused](const Refusal& refusal) {
    host.ShowMessage(refusal.message);
    if (refused != nullptr) *refused = refusal;
    return false;
  };
  if (!ws.FileLoaded) {
    return refuse(Refusal{RefusalCode::kNoContour, 0, "Open a file containing airfoil coordinates"});
  }
  if (auto refusal = CheckPi(ws)) return refuse(*refusal);

  // The settings in the order the window offers them.
  const std::string ni_text = host.TextNI();
  const bool mapping = host.MappingChecked();
  const bool lagrange = host.LagrangeSelected();
  const std::string npoly_text = lagrange ? host.TextNPoly() : std::string();

  // Every setting is checked before anything is written.
  int new_ni = 0;
  if (auto refusal = ReadPointCount(ni_text, new_ni)) return refuse(*refusal);
  int npoly = 0;
  if (lagrange) {
    if (auto refusal = ReadDegree(npoly_text, npoly)) return refuse(*refusal);
    if (auto refusal = CheckDegreeBelowN(npoly, ws.N)) return refuse(*refusal);
  }
  if (auto refusal = CheckContourForRoute(ws, mapping)) return refuse(*refusal);

  // From here on a refusal puts the workspace back after its message.
  const RunSnapshot snapshot(ws, new_ni);
  const auto refuse_and_restore = [&](const Refusal& refusal) {
    refuse(refusal);
    snapshot.Restore(ws);
    return false;
  };
  ws.NI = new_ni;
  ChordFrame frame;
  if (auto refusal = LayOutCurve(ws, mapping, frame)) return refuse_and_restore(*refusal);
  if (auto refusal = InterpolateCurve(ws, lagrange, npoly)) return refuse_and_restore(*refusal);
  if (host.MappingChecked() != mapping) {
    return refuse_and_restore(Refusal{RefusalCode::kRouteChanged, 0,
                                      "The Conformal Mapping box changed while the calculation "
                                      "ran; calculate again."});
  }
  if (auto refusal = CompleteNewPoints(ws, mapping, frame)) return refuse_and_restore(*refusal);

  ws.PlotTitle = ws.AirfoilTitle + " - redistributed";
  ws.PlotX0 = 0.0;
  ws.PlotY0 = 0.0;
  ws.PlotScale = 1.0;
  host.SetScrollX0(0);
  host.SetScrollOlcek(0);
  host.SetScrollY0(0);
  host.ShowAirfoil(ws.N, ws.X, ws.Y, ws.NI, ws.XI, ws.YI);
  if (report != nullptr) {
    *report = MeasureQuality(Points(ws.X, ws.N), Points(ws.Y, ws.N), Points(ws.XI, ws.NI),
                             Points(ws.YI, ws.NI));
  }
  return true;
}

}  // namespace quilane
