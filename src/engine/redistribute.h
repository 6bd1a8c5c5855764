// The calculation as a plain value-level call: a contour and the settings in,
// the new points, the camber line and a quality report out, or one refusal.
// The command-line tool, the fuzz targets, the benchmarks and bindings call
// this; the window calls RunCalculation, which runs the same steps on its
// workspace, so both give the same numbers to the last bit.
#ifndef QUILANE_ENGINE_REDISTRIBUTE_H_
#define QUILANE_ENGINE_REDISTRIBUTE_H_

#include <optional>
#include <string>
#include <vector>

#include "engine/quality_report.h"
#include "engine/refusal.h"

namespace quilane {

// A contour as read from a coordinate file: points from the trailing edge
// along one surface (the lower one for the conformal mapping) to the nose and
// back along the other, in file units. x is normalised as the reader does
// (the nose found where x last falls, the chord from the last rise), so a
// contour whose x already runs from 0 at its nose to 1 is used as it stands.
struct Contour {
  std::vector<double> x;
  std::vector<double> y;
};

enum class Route {
  kAlongChord,        // cosine spacing in x, y interpolated over the angle
  kConformalMapping,  // even angles in the circle plane of the Joukowski map
};

enum class Method {
  kLagrange,  // Lagrange polynomial of `degree` on a sliding window
  kPwCubic,   // piecewise cubic Hermite with bisector slopes
};

struct RedistributeSettings {
  int points = 51;  // new points, 2..1000
  Route route = Route::kAlongChord;
  Method method = Method::kLagrange;
  int degree = 1;  // Lagrange only: 0 <= degree < number of input points
  bool report = true;  // measure the quality report (false leaves it empty, saving its cost)
};

struct RedistributeResult {
  // New points 1..NI as x[0..NI-1], y[0..NI-1], x normalised like the input.
  std::vector<double> x;
  std::vector<double> y;
  // Camber points: (NI + 1) / 2 of them for odd NI; camber_count is that
  // quotient, a half-integer for even NI (the whole camber points below it
  // are given).
  std::vector<double> camber_x;
  std::vector<double> camber_y;
  double camber_count = 0.0;
  QualityReport report;
};

// Either a result or a refusal.
struct RedistributeOutcome {
  std::optional<RedistributeResult> result;
  std::optional<Refusal> refusal;
  bool ok() const { return result.has_value(); }
};

// Redistributes the contour: normalises x, lays out the stations by the route,
// interpolates by the method, maps back (in the contour's chord frame on the
// mapping route), computes the camber line and measures the report against
// the normalised input points. Refusals are those of RunCalculation plus a
// contour the reader would refuse (code kNoContour). Re-entrant per thread.
RedistributeOutcome Redistribute(const Contour& contour, const RedistributeSettings& settings);

// The window's reading of typed settings (the value-of-a-string rule, then
// the range checks), for front ends that take text: the number of new points
// (a whole number 2..1000) and the Lagrange degree (a whole number of 0 or
// more; the check against N is Redistribute's). Refusals quote the text.
std::optional<Refusal> ReadPointCount(const std::string& text, int& points);
std::optional<Refusal> ReadDegree(const std::string& text, int& degree);

}  // namespace quilane

#endif  // QUILANE_ENGINE_REDISTRIBUTE_H_
