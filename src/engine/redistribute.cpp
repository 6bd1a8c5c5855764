#include "engine/redistribute.h"

#include <cmath>
#include <memory>
#include <span>
#include <string>

#include "engine/run_steps.h"
#include "files/contour_store.h"
#include "files/number_text.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// One workspace per thread, reused: every entry a run reads it writes first.
AirfoilWorkspace& ThreadWorkspace() {
  thread_local std::unique_ptr<AirfoilWorkspace> ws = std::make_unique<AirfoilWorkspace>();
  return *ws;
}

RedistributeOutcome Refused(Refusal refusal) {
  RedistributeOutcome outcome;
  outcome.refusal = std::move(refusal);
  return outcome;
}

// The stations along the chord run from x = 1 to x = 1, so a contour whose
// ends are not both at the trailing edge's x cannot take them.
void AddWayOut(const AirfoilWorkspace& ws, bool mapping, Refusal& refusal) {
  if (mapping || refusal.code != RefusalCode::kStationOutOfRange) return;
  if (ws.X[1] == 1.0 && ws.X[ws.N] == 1.0) return;
  refusal.message += "; the contour's first and last points lie at x = " +
                     FormatMessageNumber(ws.X[1]) + " and x = " + FormatMessageNumber(ws.X[ws.N]) +
                     " of the chord (an open trailing edge), and the route along the chord "
                     "needs both at x = 1: use conformal mapping for this section.";
}

std::span<const double> Points(const PointArray& array, int count) {
  return std::span<const double>(array.data() + 1, static_cast<std::size_t>(count));
}

}  // namespace

std::optional<Refusal> ReadPointCount(const std::string& text, int& points) {
  const double value = ValueOfString(text);
  if (auto refusal = CheckPointCount(value, Quoted(text))) return refusal;
  points = static_cast<int>(value);
  return std::nullopt;
}

std::optional<Refusal> ReadDegree(const std::string& text, int& degree) {
  const double value = ValueOfString(text);
  if (auto refusal = CheckDegree(value, Quoted(text))) return refusal;
  // A degree beyond every contour's N stays beyond it, for Redistribute to refuse.
  degree = value > kPointCapacity ? kPointCapacity : static_cast<int>(value);
  return std::nullopt;
}

RedistributeOutcome Redistribute(const Contour& contour, const RedistributeSettings& settings) {
  AirfoilWorkspace& ws = ThreadWorkspace();
  ws.Pi = 4 * std::atan(1.0);
  const ContourOrigin origin{"The contour",
                             FormatWhole(static_cast<long long>(contour.x.size())) + " points"};
  const FileResult stored = StoreContour(ws, std::string(), contour.x, contour.y, origin);
  if (!stored.ok) return Refused(Refusal{RefusalCode::kNoContour, 0, stored.message});
  MakeStoredContourCurrent(ws);

  const bool mapping = settings.route == Route::kConformalMapping;
  const bool lagrange = settings.method == Method::kLagrange;
  if (auto refusal = CheckPointCount(settings.points, FormatWhole(settings.points))) {
    return Refused(std::move(*refusal));
  }
  if (lagrange) {
    if (auto refusal = CheckDegree(settings.degree, FormatWhole(settings.degree))) {
      return Refused(std::move(*refusal));
    }
    if (auto refusal = CheckDegreeBelowN(settings.degree, ws.N)) {
      return Refused(std::move(*refusal));
    }
  }
  if (auto refusal = CheckContourForRoute(ws, mapping)) return Refused(std::move(*refusal));

  ws.NI = settings.points;
  ChordFrame frame;
  std::optional<Refusal> refusal = LayOutCurve(ws, mapping, frame);
  if (!refusal) refusal = InterpolateCurve(ws, lagrange, settings.degree);
  if (!refusal) refusal = CompleteNewPoints(ws, mapping, frame);
  if (refusal) {
    AddWayOut(ws, mapping, *refusal);
    return Refused(std::move(*refusal));
  }

  RedistributeResult result;
  const std::span<const double> x = Points(ws.XI, ws.NI);
  const std::span<const double> y = Points(ws.YI, ws.NI);
  result.x.assign(x.begin(), x.end());
  result.y.assign(y.begin(), y.end());
  result.camber_count = ws.NCamber;
  const int camber_points = static_cast<int>(ws.NCamber);
  const std::span<const double> cx = Points(ws.XCamber, camber_points);
  const std::span<const double> cy = Points(ws.YCamber, camber_points);
  result.camber_x.assign(cx.begin(), cx.end());
  result.camber_y.assign(cy.begin(), cy.end());
  if (settings.report) {
    result.report = MeasureQuality(Points(ws.X, ws.N), Points(ws.Y, ws.N), x, y);
  }
  RedistributeOutcome outcome;
  outcome.result = std::move(result);
  return outcome;
}

}  // namespace quilane
