// quilane._core: the calculation, the readers and the writers for the Python
// package quilane (src/python/quilane), which gives them their public names,
// signatures, types and documentation. Every refusal leaves as quilane.Error
// (python/refusal_error.h).
//
// The interpreter lock is released while a file is read or written and while
// the engine runs; the engine keeps its working tables per thread, so calls
// from several Python threads, and redistribute_many's own threads, run side
// by side.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <filesystem>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "app/naca_input.h"
#include "base/capacity.h"
#include "base/expected.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/file_save.h"
#include "files/number_text.h"
#include "files/result_file_writer.h"
#include "files/section.h"
#include "python/numpy_arrays.h"
#include "python/refusal_error.h"
#include "sections/naca_section.h"

namespace quilane::python {
namespace {

namespace py = pybind11;

// Longest section name, in characters: the longest title the *.arf reader
// takes back, so that a written result always reads again.
constexpr std::size_t kMaxNameCharacters = 1000;
// Values per array at most: the coordinate lines a .dat file may hold
// (every point twice, before exact repeats are dropped).
constexpr std::size_t kMaxArrayValues = 2 * kPointCapacity;
// How this module places new points on the curve through the input, for a
// report's warning.
constexpr const char* kOnSplineAction = "use on_spline=True";

// A contour as loaded, and what the load saw.
struct CoreSection {
  std::shared_ptr<const quilane::Section> loaded;
  std::string format;                // "arf", "Selig", "Lednicer", "ISES", "naca" or "arrays"
  std::optional<int> ignored_lines;  // lines the reader passed over, when it tells
  std::optional<bool> reversed;      // whether the points were turned round, when known
  std::string path;                  // the file read, as given; "" for a generated section
  std::string absolute_path;         // the file read, made absolute when it was read
};

// A finished calculation.
struct CoreResult {
  std::shared_ptr<const RedistributeResult> run;
};

template <typename T>
T Take(Expected<T> expected, const std::string& section = std::string()) {
  if (!expected) Refuse(std::move(expected).error(), section);
  return std::move(expected).value();
}

std::size_t CharacterCount(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string Count(std::size_t n) { return FormatWhole(static_cast<long long>(n)); }

// ---------------------------------------------------------------------------
// Sections: from a file, from the NACA generator, from arrays.

CoreSection LoadSection(const std::string& path) {
  std::optional<Expected<LoadedFile>> read;
  {
    py::gil_scoped_release unlocked;
    read.emplace(LoadCoordinateFile(path));
  }
  LoadedFile loaded = Take(std::move(*read));
  CoreSection section;
  section.format = loaded.summary.format;
  section.ignored_lines = loaded.summary.ignored_lines;
  section.reversed = loaded.summary.reversed;
  section.path = loaded.path;
  section.loaded = std::make_shared<const quilane::Section>(std::move(loaded.section));
  std::error_code error;
  section.absolute_path = std::filesystem::absolute(path, error).string();
  if (error) section.absolute_path = path;
  return section;
}

CoreSection NacaSection(const std::string& code, int points, bool blunt) {
  CoreSection section;
  section.format = "naca";
  section.ignored_lines = 0;
  section.reversed = false;
  section.loaded = std::make_shared<const quilane::Section>(
      Take(NacaInput(code, points, blunt ? TrailingEdge::kBlunt : TrailingEdge::kSharp)));
  return section;
}

void CheckName(const std::string& name) {
  if (name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    RefuseCall(
        "The section name holds a line break or a NUL character; a coordinate file's "
        "name is one line of text, so give the name without them.");
  }
  if (CharacterCount(name) > kMaxNameCharacters) {
    RefuseCall("The section name has more than " + Count(kMaxNameCharacters) +
               " characters; give a shorter name.");
  }
}

// The arrays as a .dat reader takes a listing (exact repeats dropped, turned
// round when the upper surface comes first), then stored as every reader
// stores a contour.
CoreSection SectionFromArrays(const py::handle& x_values, const py::handle& y_values,
                              const std::string& name) {
  CheckName(name);
  Contour contour{RealVector(x_values, "x"), RealVector(y_values, "y")};
  const std::vector<double>& x = contour.x;
  const std::vector<double>& y = contour.y;
  const std::string label =
      name.empty() ? "The section given as arrays" : "The section \"" + name + "\"";
  if (x.size() != y.size()) {
    RefuseCall(label + " has " + Count(x.size()) + " x values and " + Count(y.size()) +
               " y values; give one x and one y per point.");
  }
  if (x.size() > kMaxArrayValues) {
    RefuseCall(label + " has " + Count(x.size()) + " points; the program holds at most " +
               FormatWhole(kPointCapacity) + " points.");
  }
  for (std::size_t i = 0; i < x.size(); ++i) {
    for (const auto& [axis, value] : {std::pair("x", x[i]), std::pair("y", y[i])}) {
      if (!std::isfinite(value)) {
        Refusal refusal(RefusalCode::kUnusableContour,
                        label + " has " + axis + "[" + Count(i) +
                            "] = " + FormatMessageNumber(value) +
                            ", which is not a finite number; every point needs finite x and y.");
        Refuse(std::move(refusal));
      }
    }
  }
  const std::size_t given = x.size();
  const LoopOrder order = PutLoopInProgramOrder(contour);
  const ContourOrigin origin{label, "given as arrays of " + Count(given) + " values", std::string(),
                             0};
  CoreSection section;
  section.format = "arrays";
  section.ignored_lines = 0;
  section.reversed = order.reversed;
  section.loaded =
      std::make_shared<const quilane::Section>(Take(MakeSection(name, std::move(contour), origin)));
  return section;
}

// ---------------------------------------------------------------------------
// The settings of a run.

// A whole number given from Python (an int, a numpy integer, anything
// operator.index takes) as the setting `what`, refused by `check` when out of
// its range, in the engine's words quoting its digits. Without a check, a
// number beyond an int is taken as the nearest int. Anything else is a
// TypeError.
int WholeNumber(const py::handle& value, const char* what,
                std::optional<Refusal> (*check)(double, const std::string&)) {
  if (py::isinstance<py::bool_>(value)) {
    throw py::type_error(std::string(what) + " must be an integer, not a bool.");
  }
  py::int_ whole;
  try {
    whole = py::module_::import("operator").attr("index")(value);
  } catch (const py::error_already_set&) {
    throw py::type_error(std::string(what) + " must be an integer, not " +
                         py::str(py::type::handle_of(value).attr("__name__")).cast<std::string>() +
                         ".");
  }
  const py::int_ lowest(std::numeric_limits<int>::min());
  const py::int_ highest(std::numeric_limits<int>::max());
  const bool beyond_int = whole < lowest || whole > highest;
  // Beyond an int: whole, finite and beyond every setting's range, as the
  // number itself is.
  const double checked = beyond_int
                             ? (whole > highest ? 1 : -1) * std::numeric_limits<double>::max()
                             : whole.cast<double>();
  if (check != nullptr) {
    if (auto refusal = check(checked, py::str(whole).cast<std::string>())) Refuse(*refusal);
  }
  if (beyond_int) {
    return whole > highest ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
  }
  return whole.cast<int>();
}

// n, the route, the method and npoly (an int, ignored with "pwcubic") as the
// engine takes them.
RedistributeSettings SettingsOf(const py::object& n, bool mapping, const std::string& method,
                                const py::object& npoly, bool on_spline) {
  if (method != "lagrange" && method != "pwcubic") {
    RefuseCall("method must be \"lagrange\" or \"pwcubic\", not \"" + method + "\".");
  }
  RedistributeSettings settings;
  settings.points = WholeNumber(n, "n", CheckPointCount);
  settings.route = mapping ? Route::kConformalMapping : Route::kAlongChord;
  settings.method = method == "lagrange" ? Method::kLagrange : Method::kPwCubic;
  if (settings.method == Method::kLagrange) {
    settings.degree = WholeNumber(npoly, "npoly", CheckDegree);
  }
  settings.report = true;
  settings.on_spline = on_spline;
  return settings;
}

CoreResult Redistribute(const CoreSection& section, const py::object& n, bool mapping,
                        const std::string& method, const py::object& npoly, bool on_spline) {
  const RedistributeSettings settings = SettingsOf(n, mapping, method, npoly, on_spline);
  std::optional<Expected<RedistributeResult>> run;
  {
    py::gil_scoped_release unlocked;
    run.emplace(quilane::Redistribute(*section.loaded, settings));
  }
  return CoreResult{
      std::make_shared<const RedistributeResult>(Take(std::move(*run), section.loaded->title))};
}

// Each section with the same settings, on `threads` threads (the calling one
// among them) taking the next section as they finish; the answers in the
// order of the sections: a CoreResult, or a quilane.Error naming the section.
py::list RedistributeMany(const std::vector<const CoreSection*>& sections, const py::object& n,
                          bool mapping, const std::string& method, const py::object& npoly,
                          bool on_spline, int threads) {
  const RedistributeSettings settings = SettingsOf(n, mapping, method, npoly, on_spline);
  const std::size_t count = sections.size();
  std::vector<std::optional<Expected<RedistributeResult>>> runs(count);
  std::exception_ptr failure;
  {
    py::gil_scoped_release unlocked;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr first_failure;
    std::mutex failure_lock;
    const auto work = [&] {
      for (std::size_t i = next++; i < count && !failed; i = next++) {
        try {
          runs[i].emplace(quilane::Redistribute(*sections[i]->loaded, settings));
        } catch (...) {  // out of memory: stop every thread, raise it once all are done
          const std::lock_guard<std::mutex> hold(failure_lock);
          if (!first_failure) first_failure = std::current_exception();
          failed = true;
        }
      }
    };
    const std::size_t helpers =
        std::min(count, static_cast<std::size_t>(std::max(threads, 1))) - (count > 0 ? 1 : 0);
    std::vector<std::jthread> pool;
    pool.reserve(helpers);
    for (std::size_t t = 0; t < helpers; ++t) pool.emplace_back(work);
    work();
    pool.clear();
    failure = first_failure;
  }
  if (failure) std::rethrow_exception(failure);
  py::list answers;
  for (std::size_t i = 0; i < count; ++i) {
    Expected<RedistributeResult>& run = *runs[i];
    if (run) {
      answers.append(
          CoreResult{std::make_shared<const RedistributeResult>(std::move(run).value())});
    } else {
      answers.append(ErrorObject(run.error(), sections[i]->loaded->title));
    }
  }
  return answers;
}

// ---------------------------------------------------------------------------
// Results: the report, the file text, the written files.

py::dict PanelsOf(const PanelFigures& panels) {
  py::dict d;
  d["largest_angle"] = panels.largest_angle;
  d["largest_angle_point"] = panels.largest_angle_point;
  d["shortest"] = panels.shortest;
  d["shortest_panel"] = panels.shortest_panel;
  d["longest"] = panels.longest;
  d["longest_panel"] = panels.longest_panel;
  return d;
}

py::dict ReportOf(const CoreResult& result) {
  const QualityReport& report = result.run->report;
  py::dict d;
  d["max_deviation"] = report.max_deviation;
  d["max_deviation_point"] = report.max_deviation_point;
  d["mean_deviation"] = report.mean_deviation;
  d["max_deviation_x"] = report.max_deviation_x;
  d["blunt_trailing_edge"] = report.blunt_trailing_edge;
  d["new_points"] = PanelsOf(report.new_points);
  d["input_points"] = PanelsOf(report.input_points);
  d["text"] = DescribeReport(report);
  d["warning"] = QualityWarning(report, kOnSplineAction);
  return d;
}

ResultFormat FormatNamed(const std::string& format) {
  if (format == "arf") return ResultFormat::kArf;
  if (format == "selig") return ResultFormat::kSelig;
  RefuseCall("format must be \"arf\" or \"selig\", not \"" + format + "\".");
}

py::tuple Write(const CoreResult& result, const std::string& input_path, const std::string& path,
                const std::string& format_name) {
  const ResultFiles files = ResultFilesOf(*result.run, FormatNamed(format_name), path);
  std::optional<Refusal> refused;
  {
    py::gil_scoped_release unlocked;
    for (const std::string* target : {&files.points_path, &files.camber_path}) {
      if (!refused) refused = CheckNotTheInput(*target, input_path);
    }
    if (!refused) refused = WriteResultFiles(files);
  }
  if (refused) Refuse(*refused);
  return py::make_tuple(files.points_path, files.camber_path);
}

// ---------------------------------------------------------------------------
// Pickling: every field as plain Python values; a state is checked before it
// is taken, so that a damaged one is refused instead of reaching the engine.

py::tuple SectionState(const CoreSection& s) {
  const quilane::Section& loaded = *s.loaded;
  return py::make_tuple(loaded.title, ReadOnlyCopy(loaded.contour.x),
                        ReadOnlyCopy(loaded.contour.y), loaded.nose, loaded.x_min, loaded.chord,
                        s.format, s.ignored_lines, s.reversed, s.path, s.absolute_path);
}

void CheckState(bool sound, const char* what) {
  if (!sound) RefuseCall(std::string("The pickled ") + what + " is damaged; pickle it again.");
}

CoreSection SectionFromState(const py::tuple& state) {
  CheckState(state.size() == 11, "section");
  quilane::Section loaded;
  loaded.title = state[0].cast<std::string>();
  loaded.contour = {RealVector(state[1], "x"), RealVector(state[2], "y")};
  loaded.nose = state[3].cast<int>();
  loaded.x_min = state[4].cast<double>();
  loaded.chord = state[5].cast<double>();
  const std::vector<double>& x = loaded.contour.x;
  const auto finite = [](double v) { return std::isfinite(v); };
  CheckState(x.size() == loaded.contour.y.size() && x.size() >= 2 &&
                 x.size() <= static_cast<std::size_t>(kPointCapacity) && loaded.nose >= 1 &&
                 static_cast<std::size_t>(loaded.nose) <= x.size() &&
                 std::all_of(x.begin(), x.end(), finite) &&
                 std::all_of(loaded.contour.y.begin(), loaded.contour.y.end(), finite) &&
                 std::isfinite(loaded.x_min) && std::isfinite(loaded.chord) && loaded.chord > 0,
             "section");
  CoreSection section;
  section.loaded = std::make_shared<const quilane::Section>(std::move(loaded));
  section.format = state[6].cast<std::string>();
  section.ignored_lines = state[7].cast<std::optional<int>>();
  section.reversed = state[8].cast<std::optional<bool>>();
  section.path = state[9].cast<std::string>();
  section.absolute_path = state[10].cast<std::string>();
  return section;
}

py::tuple PanelState(const PanelFigures& p) {
  return py::make_tuple(p.largest_angle, p.largest_angle_point, p.shortest, p.shortest_panel,
                        p.longest, p.longest_panel);
}

PanelFigures PanelsFromState(const py::handle& state) {
  const auto t = state.cast<py::tuple>();
  CheckState(t.size() == 6, "result");
  return {t[0].cast<double>(), t[1].cast<int>(),    t[2].cast<double>(),
          t[3].cast<int>(),    t[4].cast<double>(), t[5].cast<int>()};
}

py::tuple ResultState(const CoreResult& r) {
  const RedistributeResult& run = *r.run;
  const QualityReport& q = run.report;
  const py::tuple report = py::make_tuple(
      q.max_deviation, q.max_deviation_point, q.mean_deviation, q.max_deviation_x,
      q.blunt_trailing_edge, PanelState(q.new_points), PanelState(q.input_points), q.on_spline);
  return py::make_tuple(run.title, ReadOnlyCopy(run.x), ReadOnlyCopy(run.y),
                        ReadOnlyCopy(run.camber_x), ReadOnlyCopy(run.camber_y), run.camber_count,
                        report);
}

CoreResult ResultFromState(const py::tuple& state) {
  CheckState(state.size() == 7, "result");
  RedistributeResult run;
  run.title = state[0].cast<std::string>();
  run.x = RealVector(state[1], "x");
  run.y = RealVector(state[2], "y");
  run.camber_x = RealVector(state[3], "camber_x");
  run.camber_y = RealVector(state[4], "camber_y");
  run.camber_count = state[5].cast<double>();
  const auto report = state[6].cast<py::tuple>();
  CheckState(report.size() == 8 && run.x.size() == run.y.size() &&
                 run.camber_x.size() == run.camber_y.size() && run.x.size() >= 2 &&
                 run.x.size() <= static_cast<std::size_t>(kPointCapacity),
             "result");
  QualityReport& q = run.report;
  q.max_deviation = report[0].cast<double>();
  q.max_deviation_point = report[1].cast<int>();
  q.mean_deviation = report[2].cast<double>();
  q.max_deviation_x = report[3].cast<double>();
  q.blunt_trailing_edge = report[4].cast<bool>();
  q.new_points = PanelsFromState(report[5]);
  q.input_points = PanelsFromState(report[6]);
  q.on_spline = report[7].cast<bool>();
  return CoreResult{std::make_shared<const RedistributeResult>(std::move(run))};
}

}  // namespace
}  // namespace quilane::python

namespace {

namespace qp = quilane::python;
namespace py = pybind11;
using qp::CoreResult;
using qp::CoreSection;

}  // namespace

PYBIND11_MODULE(_core, m) {
  m.doc() = "The engine of the package quilane; use the package, not this module.";
  m.attr("VERSION") = QUILANE_VERSION;
  m.attr("MAX_POINTS") = quilane::kPointCapacity;
  qp::RegisterRefusalTranslator();

  py::class_<CoreSection>(m, "CoreSection")
      .def_property_readonly("name", [](const CoreSection& s) { return s.loaded->title; })
      .def_property_readonly("nose_index", [](const CoreSection& s) { return s.loaded->nose - 1; })
      .def_property_readonly("chord", [](const CoreSection& s) { return s.loaded->chord; })
      .def_property_readonly("x_min", [](const CoreSection& s) { return s.loaded->x_min; })
      .def_readonly("format", &CoreSection::format)
      .def_readonly("path", &CoreSection::path)
      .def_readonly("absolute_path", &CoreSection::absolute_path)
      .def_readonly("ignored_lines", &CoreSection::ignored_lines)
      .def_readonly("reversed", &CoreSection::reversed)
      .def("points",
           [](const CoreSection& s) {
             return qp::ReadOnlyPoints(s.loaded->contour.x, s.loaded->contour.y);
           })
      .def("state", &qp::SectionState);

  py::class_<CoreResult>(m, "CoreResult")
      .def_property_readonly("title", [](const CoreResult& r) { return r.run->title; })
      .def("points", [](const CoreResult& r) { return qp::ReadOnlyPoints(r.run->x, r.run->y); })
      .def("camber",
           [](const CoreResult& r) { return qp::ReadOnlyPoints(r.run->camber_x, r.run->camber_y); })
      .def("report", &qp::ReportOf)
      .def("text",
           [](const CoreResult& r, const std::string& format) {
             return py::bytes(quilane::PointsFileText(
                 quilane::ResultFilesOf(*r.run, qp::FormatNamed(format), std::string())));
           })
      .def("state", &qp::ResultState);

  m.def("load", &qp::LoadSection);
  m.def("naca", &qp::NacaSection);
  m.def("section_from_arrays", &qp::SectionFromArrays);
  m.def("section_from_state", &qp::SectionFromState);
  m.def("redistribute", &qp::Redistribute);
  m.def("redistribute_many", &qp::RedistributeMany);
  m.def("result_from_state", &qp::ResultFromState);
  m.def("write", &qp::Write);
}
