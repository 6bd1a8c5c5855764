#include "engine/redistribute.h"

#include <cmath>
#include <memory>
#include <span>
#include <string>

#include "base/capacity.h"
#include "engine/run_steps.h"
#include "files/number_text.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {
namespace {

// One workspace per thread, reused: every entry a run reads it writes first.
AirfoilWorkspace& ThreadWorkspace() {
  thread_local std::unique_ptr<AirfoilWorkspace> ws = std::make_unique<AirfoilWorkspace>();
  return *ws;
}

bool IsWholeNumber(double value, double lowest, double highest) {
  return std::isfinite(value) && value == std::floor(value) && value >= lowest && value <= highest;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Along the chord, a section that the route cannot take and the mapping can:
// a station out of range (the stations run from x = 1 to x = 1, so an open
// trailing edge cannot take them), an x outside the chord, or angles that do
// not rise.
void AddWayOut(const AirfoilWorkspace& ws, bool mapping, Refusal& refusal) {
  if (mapping) return;
  if (refusal.code != RefusalCode::kStationOutOfRange &&
      refusal.code != RefusalCode::kOutsideChord && refusal.code != RefusalCode::kOutOfOrder) {
    return;
  }
  refusal.way_out = WayOut::kConformalMapping;
  if (refusal.code != RefusalCode::kStationOutOfRange) return;
  if (ws.X[1] == 1.0 && ws.X[ws.N] == 1.0) return;
  refusal.way_out_reason =
      "The contour's first and last points lie at x = " + FormatMessageNumber(ws.X[1]) +
      " and x = " + FormatMessageNumber(ws.X[ws.N]) +
      " of the chord (an open trailing edge), and the route along the "
      "chord needs both at x = 1";
}

std::vector<double> Vector(const PointArray& array, int count) {
  const std::span<const double> points = Entries(array, count);
  return std::vector<double>(points.begin(), points.end());
}

}  // namespace

std::optional<Refusal> CheckPointCount(double value, const std::string& shown) {
  if (IsWholeNumber(value, kMinNewPoints, kPointCapacity)) return std::nullopt;
  return Refusal(RefusalCode::kPointCount,
                 "Number of new points " + shown +
                     " is not a whole number from 2 to 1000; type such a number and calculate "
                     "again.");
}

std::optional<Refusal> CheckDegree(double value, const std::string& shown) {
  if (IsWholeNumber(value, 0, HUGE_VAL)) return std::nullopt;
  return Refusal(RefusalCode::kDegree,
                 "nPoly " + shown +
                     " is not a whole number of 0 or more; type the degree of the Lagrange "
                     "polynomial, such as 1 or 3, and calculate again.");
}

Expected<RedistributeSettings> ReadSettings(const TypedSettings& typed) {
  RedistributeSettings settings;
  settings.route = typed.route;
  settings.method = typed.method;
  settings.on_spline = typed.on_spline;
  const double points = ValueOfString(typed.points);
  if (auto refusal = CheckPointCount(points, Quoted(typed.points))) return *std::move(refusal);
  settings.points = static_cast<int>(points);
  if (typed.method == Method::kLagrange) {
    const double degree = BeginsWithNumber(typed.degree) ? ValueOfString(typed.degree) : NAN;
    if (auto refusal = CheckDegree(degree, Quoted(typed.degree))) return *std::move(refusal);
    // A degree beyond every contour's N stays beyond it, for Redistribute to refuse.
    settings.degree = degree > kPointCapacity ? kPointCapacity : static_cast<int>(degree);
  }
  return settings;
}

Expected<RedistributeResult> Redistribute(const Section& section,
                                          const RedistributeSettings& settings) {
  const bool mapping = settings.route == Route::kConformalMapping;
  const bool lagrange = settings.method == Method::kLagrange;
  const int n = static_cast<int>(section.contour.x.size());
  if (auto refusal = CheckPointCount(settings.points, FormatWhole(settings.points))) {
    return *std::move(refusal);
  }
  if (lagrange) {
    if (auto refusal = CheckDegree(settings.degree, FormatWhole(settings.degree))) {
      return *std::move(refusal);
    }
    if (auto refusal = CheckDegreeBelowN(settings.degree, n)) return *std::move(refusal);
  }

  AirfoilWorkspace& ws = ThreadWorkspace();
  StoreSection(ws, section);
  std::optional<Refusal> refusal = CheckContourForRoute(ws, mapping);
  ChordFrame frame;
  if (!refusal) {
    ws.NI = settings.points;
    refusal = LayOutCurve(ws, mapping, frame);
  }
  if (!refusal) refusal = InterpolateCurve(ws, lagrange, settings.degree);
  if (!refusal) refusal = CompleteNewPoints(ws, mapping, frame, settings.on_spline);
  if (refusal) {
    AddWayOut(ws, mapping, *refusal);
    return *std::move(refusal);
  }

  RedistributeResult result;
  result.title = section.title + std::string(kRedistributedSuffix);
  result.x = Vector(ws.XI, ws.NI);
  result.y = Vector(ws.YI, ws.NI);
  if (settings.report) {
    // In chord units, as the run worked.
    result.report = MeasureQuality(Entries(ws.X, ws.N), Entries(ws.Y, ws.N), result.x, result.y);
    result.report.on_spline = settings.on_spline;
  }
  result.camber_count = ws.NCamber;
  const int camber_points = static_cast<int>(ws.NCamber);
  result.camber_x = Vector(ws.XCamber, camber_points);
  result.camber_y = Vector(ws.YCamber, camber_points);
  for (double& y : result.y) y *= ws.Chord;
  for (double& y : result.camber_y) y *= ws.Chord;
  return result;
}

ResultFiles ResultFilesOf(const RedistributeResult& result, ResultFormat format,
                          const std::string& points_path) {
  return ResultFiles{result.title,
                     {static_cast<double>(result.x.size()), result.x, result.y},
                     {result.camber_count, result.camber_x, result.camber_y},
                     format,
                     points_path,
                     CamberOutputName(points_path, format)};
}

}  // namespace quilane
