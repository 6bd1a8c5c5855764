// The core as the web page calls it, through embind: a coordinate file's
// bytes or a NACA code in; the load summary, the plot's arrays, the report
// lines and the bytes of both result files out, or the refusal with its way
// out in the page's words. The page computes nothing itself.
//
// An input is a JS object {name, bytes} (bytes: a Uint8Array of the file) or
// {naca} (a 4- or 5-digit code). The settings are {points, mapping, method
// ("lagrange" or "pwcubic"), npoly, onSpline, format ("arf" or "selig")}, the
// numbers as typed. Every answer is an object with `ok`; a refusal carries
// `message` (with its way out), `file`, `line` and `index` (0 for none).
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/batch_output.h"
#include "app/naca_input.h"
#include "base/expected.h"
#include "base/refusal.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/result_file_writer.h"
#include "files/section.h"
#include "sections/naca_section.h"

namespace quilane::web {
namespace {

using emscripten::val;

// How the page turns conformal mapping on, for the way out of a refusal, and
// how it places new points on the curve through the input, for a warning.
constexpr std::string_view kMappingAction = "tick Conformal mapping and calculate again";
constexpr std::string_view kOnSplineAction = "tick Place new points on a spline through the input";

struct LoadedInput {
  Section section;
  LoadSummary summary;
  std::string label;  // the file's name, or the generated section's title
  std::string name;   // what the results are named after
  bool arf_input = false;
};

// The file name the page was given, without any folder a script may have
// put in front of it; "input" when nothing is left.
std::string PlainName(const std::string& given) {
  std::string name = given.substr(given.find_last_of('/') + 1);
  if (name.empty() || name == "." || name == "..") name = "input";
  return name;
}

Expected<LoadedInput> LoadGenerated(const std::string& code) {
  Expected<Section> generated = NacaInput(code, kNacaInputPoints, TrailingEdge::kSharp);
  if (!generated) return std::move(generated.error());
  LoadSummary summary;
  summary.format = "NACA";
  summary.points = static_cast<int>(generated->contour.x.size());
  summary.nose_index = generated->nose;
  summary.trailing_edge_gap = TrailingEdgeGap(*generated);
  std::string label = generated->title;
  std::string name = GeneratedInputName(label);
  return LoadedInput{std::move(*generated), summary, std::move(label), std::move(name), false};
}

// Reads the bytes as the tool reads a file of that name holding them.
Expected<LoadedInput> LoadBytes(const std::string& given_name, std::string bytes) {
  const std::string name = PlainName(given_name);
  Expected<LoadedFile> loaded = LoadCoordinateText(name, std::move(bytes));
  if (!loaded) return std::move(loaded.error());
  const bool arf_input = loaded->summary.format == "arf";
  return LoadedInput{std::move(loaded->section), loaded->summary, name, name, arf_input};
}

Expected<LoadedInput> LoadInput(const val& input) {
  if (input["naca"].isString()) return LoadGenerated(input["naca"].as<std::string>());
  return LoadBytes(input["name"].as<std::string>(), input["bytes"].as<std::string>());
}

val Doubles(const std::vector<double>& values) {
  return val::global("Float64Array")
      .new_(emscripten::typed_memory_view(values.size(), values.data()));
}

val Bytes(const std::string& text) {
  const auto* data = reinterpret_cast<const unsigned char*>(text.data());
  return val::global("Uint8Array").new_(emscripten::typed_memory_view(text.size(), data));
}

val Points(const std::vector<double>& x, const std::vector<double>& y) {
  val points = val::object();
  points.set("x", Doubles(x));
  points.set("y", Doubles(y));
  return points;
}

val Refused(const Refusal& refusal) {
  val answer = val::object();
  answer.set("ok", false);
  answer.set("message", MessageWithWayOut(refusal, kMappingAction));
  answer.set("file", refusal.file);
  answer.set("line", static_cast<double>(refusal.line));
  answer.set("index", refusal.index);
  return answer;
}

// The load line as --info prints it, and the contour to plot.
void SetLoaded(val& answer, const LoadedInput& loaded) {
  answer.set("label", loaded.label);
  answer.set("summary", loaded.label + ": " + DescribeLoad(loaded.summary));
  answer.set("title", loaded.section.title);
  answer.set("input", Points(loaded.section.contour.x, loaded.section.contour.y));
}

// describe(input): the input read, as --info reads it.
val Describe(const val& input) {
  const Expected<LoadedInput> loaded = LoadInput(input);
  if (!loaded) return Refused(loaded.error());
  val answer = val::object();
  answer.set("ok", true);
  SetLoaded(answer, *loaded);
  return answer;
}

Expected<RedistributeSettings> SettingsOf(const val& settings) {
  TypedSettings typed;
  typed.points = settings["points"].as<std::string>();
  typed.route = settings["mapping"].as<bool>() ? Route::kConformalMapping : Route::kAlongChord;
  typed.method =
      settings["method"].as<std::string>() == "pwcubic" ? Method::kPwCubic : Method::kLagrange;
  typed.degree = settings["npoly"].as<std::string>();
  typed.on_spline = settings["onSpline"].as<bool>();
  return ReadSettings(typed);
}

// calculate(input, settings): the input read and redistributed as the tool
// does with --report, and both result files as the tool writes them.
val Calculate(const val& input, const val& settings) {
  const Expected<LoadedInput> loaded = LoadInput(input);
  if (!loaded) return Refused(loaded.error());
  Expected<RedistributeSettings> read = SettingsOf(settings);
  Expected<RedistributeResult> result =
      read ? Redistribute(loaded->section, *read) : Expected<RedistributeResult>(read.error());
  if (!result) {
    val answer = Refused(result.error());
    SetLoaded(answer, *loaded);
    return answer;
  }
  const ResultFormat format =
      settings["format"].as<std::string>() == "selig" ? ResultFormat::kSelig : ResultFormat::kArf;
  const ResultFiles files =
      ResultFilesOf(*result, format, ResultFileName(loaded->name, loaded->arf_input, format));
  const QualityReport& report = result->report;

  val answer = val::object();
  answer.set("ok", true);
  SetLoaded(answer, *loaded);
  answer.set("report", ReportLines(loaded->label, report, kOnSplineAction));
  answer.set("reportText", DescribeReport(report));
  answer.set("warning", QualityWarning(report, kOnSplineAction));
  answer.set("maxDeviation", report.max_deviation);
  answer.set("resultTitle", result->title);
  answer.set("resultName", files.points_path);
  answer.set("camberName", files.camber_path);
  answer.set("resultBytes", Bytes(PointsFileText(files)));
  answer.set("camberBytes", Bytes(ResultFileText(files.title, files.camber)));
  answer.set("points", Points(result->x, result->y));
  answer.set("camber", Points(result->camber_x, result->camber_y));
  return answer;
}

// earlierResultMessage(name): the refusal of a file of a run of many whose
// result `name` would replace an earlier file's, as the tool words it.
std::string EarlierResultMessage(const std::string& name) {
  return EarlierResultRefusal(name).message;
}

}  // namespace
}  // namespace quilane::web

EMSCRIPTEN_BINDINGS(quilane) {
  emscripten::function("describe", &quilane::web::Describe);
  emscripten::function("earlierResultMessage", &quilane::web::EarlierResultMessage);
  emscripten::function("calculate", &quilane::web::Calculate);
  emscripten::constant("version", std::string(QUILANE_VERSION));
}
