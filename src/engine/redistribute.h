// The calculation as a plain value-level call: a section and the settings
// in, the new points, the camber line and a quality report out, or one
// refusal. Every front end calls it: the window, the command-line tool, the
// Python module, the fuzz targets and the benchmarks.
#ifndef QUILANE_ENGINE_REDISTRIBUTE_H_
#define QUILANE_ENGINE_REDISTRIBUTE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "engine/quality_report.h"
#include "files/result_file_writer.h"
#include "files/section.h"

namespace quilane {

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
  // Place the new points on the smooth curve through the input points
  // (engine/place_on_spline.h) instead of the route's own curve.
  bool on_spline = false;
};

// What a result's title adds to the section's.
inline constexpr std::string_view kRedistributedSuffix = " - redistributed";

struct RedistributeResult {
  // The section's title followed by kRedistributedSuffix: the title line of
  // the written files and the plot's second title.
  std::string title;
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

// Redistributes `section` (as MakeSection makes it: 2..kPointCapacity points,
// the nose among them, x normalised): checks the settings, lays out the
// stations by the route, interpolates by the method, maps back (in the
// contour's chord frame on the mapping route), places the new points on the
// curve through the input if asked, computes the camber line and measures
// the report against the section's points. The calculation works on the
// shape in chord units, y divided by the chord as x is, so that a section
// gives the same points in any units; the new y and the camber line's y are
// handed out in the section's units again (for a chord of 1 every number is
// the same to the bit as without the division).
//
// Refusals, in this order: the number of new points not a whole number
// 2..1000 (kPointCount); with Lagrange, a degree that is no whole number of 0
// or more (kDegree) or not lower than N (kDegreeNotBelowN: "nPoly must be
// lower then N"); a contour whose first or last point is its nose
// (kNoseAtEnd); a contour whose panels cross (kSurfacesCross); on the
// mapping route a contour listed upper surface first;
// along the chord an x outside 0..1; a nose on the trailing edge, points or
// stations on a singular point, a curve whose abscissae do not rise, a
// station no interval takes ("xI(i) = ... is not in the given interpolation
// range"), new or camber points that are not finite numbers. Along the
// chord, a station out of range, an x outside the chord and abscissae that
// do not rise have conformal mapping as their way out. Threads may call it
// at once: each keeps working tables of its own.
Expected<RedistributeResult> Redistribute(const Section& section,
                                          const RedistributeSettings& settings);

// The settings as a front end that takes text has them: the boxes Text_NI
// and Text_nPoly as typed, the route and the method.
struct TypedSettings {
  std::string points = "51";
  Route route = Route::kAlongChord;
  Method method = Method::kLagrange;
  std::string degree = "1";  // read only with Lagrange
  bool on_spline = false;
};

// Reads typed settings as the window reads its boxes: the value-of-a-string
// rule, then the number of new points (kPointCount) and, with Lagrange, the
// degree (kDegree), each refusal quoting the text; a degree whose text does
// not begin with a number is refused, not read as 0. The check of the degree
// against N is Redistribute's; a degree beyond every contour's N is kept
// beyond it.
Expected<RedistributeSettings> ReadSettings(const TypedSettings& typed);

// The range checks of the settings for a front end that takes numbers, with
// `shown` as the message quotes the setting: the number of new points a
// whole number 2..1000, the degree a whole number of 0 or more.
std::optional<Refusal> CheckPointCount(double value, const std::string& shown);
std::optional<Refusal> CheckDegree(double value, const std::string& shown);

// What a save of `result` writes: its title, new points and camber line,
// the new points to `points_path` in `format` and the camber line beside
// them (CamberOutputName).
ResultFiles ResultFilesOf(const RedistributeResult& result, ResultFormat format,
                          const std::string& points_path);

}  // namespace quilane

#endif  // QUILANE_ENGINE_REDISTRIBUTE_H_
