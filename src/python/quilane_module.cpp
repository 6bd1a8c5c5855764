// The Python module quilane: airfoil contours from coordinate files, numpy
// arrays or the NACA generator, re-spaced by the program's own calculation and
// written by its own writers. Every refusal of the program is a ValueError
// carrying the program's message and its way out.
//
// The engine keeps tables of its own between calls (the spline's
// coefficients), so every call runs with the interpreter lock held.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
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

// How this module turns conformal mapping on, for the way out of a refusal.
constexpr const char* kMappingAction = "use mapping=True";
// And how it places new points on the curve through the input, for a warning.
constexpr const char* kOnSplineAction = "use on_spline=True";

// A contour as loaded, and what the load saw.
struct Section {
  std::shared_ptr<const quilane::Section> loaded;
  std::string format;                // "arf", "Selig", "Lednicer", "ISES", "naca" or "arrays"
  std::optional<int> ignored_lines;  // lines the reader passed over, when it tells
  std::optional<bool> reversed;      // whether the points were turned round, when known
  std::string path;                  // the file read, as given; "" for a generated section
  std::string absolute_path;         // the file read, made absolute when it was read
};

// A finished calculation, with the section and the settings it ran with.
struct Result {
  std::shared_ptr<const RedistributeResult> run;
  Section section;
  bool mapping = false;
  std::string method;
  int npoly = 0;
  bool on_spline = false;
};

[[noreturn]] void Refuse(const std::string& message) { throw py::value_error(message); }
[[noreturn]] void Refuse(const Refusal& refusal) {
  Refuse(MessageWithWayOut(refusal, kMappingAction));
}

template <typename T>
T Take(Expected<T> expected) {
  if (!expected) Refuse(expected.error());
  return std::move(expected).value();
}

// ---------------------------------------------------------------------------
// The load, the run and the report: each in one place.

// load(path): the reader of the kind the content shows, as the command-line
// tool loads a file.
Section LoadSection(const std::string& path) {
  LoadedFile loaded = Take(LoadCoordinateFile(path));
  Section section;
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

// Result.report: the quality report of the run as a dict, with the line the
// command-line tool prints and its warning.
py::dict ReportOf(const Result& result) {
  const QualityReport& report = result.run->report;
  py::dict d;
  d["max_deviation"] = report.max_deviation;
  d["max_deviation_point"] = report.max_deviation_point;
  d["max_deviation_x"] = report.max_deviation_x;
  d["mean_deviation"] = report.mean_deviation;
  d["blunt_trailing_edge"] = report.blunt_trailing_edge;
  d["new_points"] = PanelsOf(report.new_points);
  d["input_points"] = PanelsOf(report.input_points);
  d["text"] = DescribeReport(report);
  d["warning"] = QualityWarning(report, kOnSplineAction);
  return d;
}

// ---------------------------------------------------------------------------

std::size_t CharacterCount(const std::string& utf8) {
  std::size_t count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string SectionLabel(const std::string& name) {
  return name.empty() ? "The section given as arrays" : "The section \"" + name + "\"";
}

// Section(x, y, name): the arrays as a .dat reader takes a listing (exact
// repeats dropped, turned round when the upper surface comes first), then
// stored as every reader stores a contour.
Section SectionFromArrays(const py::handle& x_values, const py::handle& y_values,
                          const std::string& name) {
  if (name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    Refuse("The section name holds a line break or a NUL character; a coordinate file's "
           "name is one line of text, so give the name without them.");
  }
  if (CharacterCount(name) > kMaxNameCharacters) {
    Refuse("The section name has more than " + FormatWhole(kMaxNameCharacters) +
           " characters; give a shorter name.");
  }
  Contour contour{RealVector(x_values, "x"), RealVector(y_values, "y")};
  const std::vector<double>& x = contour.x;
  const std::vector<double>& y = contour.y;
  const std::string label = SectionLabel(name);
  if (x.size() != y.size()) {
    Refuse(label + " has " + FormatWhole(static_cast<long long>(x.size())) + " x values and " +
           FormatWhole(static_cast<long long>(y.size())) +
           " y values; give one x and one y per point.");
  }
  if (x.size() > kMaxArrayValues) {
    Refuse(label + " has " + FormatWhole(static_cast<long long>(x.size())) +
           " points; the program holds at most " + FormatWhole(kPointCapacity) + " points.");
  }
  for (std::size_t i = 0; i < x.size(); ++i) {
    for (const auto& [axis, value] : {std::pair("x", x[i]), std::pair("y", y[i])}) {
      if (!std::isfinite(value)) {
        Refuse(label + " has " + axis + "[" + FormatWhole(static_cast<long long>(i)) + "] = " +
               FormatMessageNumber(value) +
               ", which is not a finite number; every point needs finite x and y.");
      }
    }
  }
  const std::size_t given = x.size();
  const LoopOrder order = PutLoopInProgramOrder(contour);
  const ContourOrigin origin{
      label, "given as arrays of " + FormatWhole(static_cast<long long>(given)) + " values",
      std::string(), 0};
  Section section;
  section.format = "arrays";
  section.ignored_lines = 0;
  section.reversed = order.reversed;
  section.loaded =
      std::make_shared<const quilane::Section>(Take(MakeSection(name, std::move(contour), origin)));
  return section;
}

Section NacaSectionOf(const std::string& code, int points, bool blunt) {
  Section section;
  section.format = "naca";
  section.ignored_lines = 0;
  section.reversed = false;
  section.loaded = std::make_shared<const quilane::Section>(
      Take(NacaInput(code, points, blunt ? TrailingEdge::kBlunt : TrailingEdge::kSharp)));
  return section;
}

// A whole number given from Python (an int, a numpy integer, anything
// operator.index takes) as the setting `what`. A number beyond an int is
// refused by `check` in the engine's words, quoting its digits, or without a
// check (a setting the run does not read) taken as the nearest int. Anything
// else is a TypeError.
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
  if (whole < lowest || whole > highest) {
    // Whole, finite and beyond every setting's range, as the number itself is.
    const double beyond = (whole > highest ? 1 : -1) * std::numeric_limits<double>::max();
    if (check != nullptr) {
      if (auto refusal = check(beyond, py::str(whole).cast<std::string>())) Refuse(*refusal);
    }
    return whole > highest ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
  }
  return whole.cast<int>();
}

Result Redistribute(const Section& section, const py::object& n, bool mapping,
                    const std::string& method, const py::object& npoly, bool on_spline) {
  if (method != "lagrange" && method != "pwcubic") {
    Refuse("method must be \"lagrange\" or \"pwcubic\", not \"" + method + "\".");
  }
  RedistributeSettings settings;
  settings.points = WholeNumber(n, "n", CheckPointCount);
  settings.route = mapping ? Route::kConformalMapping : Route::kAlongChord;
  settings.method = method == "lagrange" ? Method::kLagrange : Method::kPwCubic;
  settings.degree =
      WholeNumber(npoly, "npoly", settings.method == Method::kLagrange ? CheckDegree : nullptr);
  settings.report = true;
  settings.on_spline = on_spline;
  Result result;
  result.run = std::make_shared<const RedistributeResult>(
      Take(quilane::Redistribute(*section.loaded, settings)));
  result.section = section;
  result.mapping = mapping;
  result.method = method;
  result.npoly = settings.method == Method::kLagrange ? settings.degree : 0;
  result.on_spline = on_spline;
  return result;
}

ResultFormat FormatNamed(const std::string& format) {
  if (format == "arf") return ResultFormat::kArf;
  if (format == "selig") return ResultFormat::kSelig;
  Refuse("format must be \"arf\" or \"selig\", not \"" + format + "\".");
}

std::string PathText(const py::handle& path) {
  return py::str(py::module_::import("os").attr("fspath")(path)).cast<std::string>();
}

py::tuple Write(const Result& result, const py::handle& path, const std::string& format_name) {
  const ResultFiles files = ResultFilesOf(*result.run, FormatNamed(format_name), PathText(path));
  for (const std::string* target : {&files.points_path, &files.camber_path}) {
    if (auto kept = CheckNotTheInput(*target, result.section.absolute_path)) Refuse(*kept);
  }
  if (auto refused = WriteResultFiles(files)) Refuse(*refused);
  return py::make_tuple(files.points_path, files.camber_path);
}

int PointCount(const Section& s) { return static_cast<int>(s.loaded->contour.x.size()); }

std::string SectionRepr(const Section& s) {
  return "<quilane.Section \"" + s.loaded->title + "\", " + FormatWhole(PointCount(s)) +
         " points, " + s.format + ">";
}

std::string ResultRepr(const Result& r) {
  std::string settings = r.mapping ? "mapping, " : "along the chord, ";
  settings += r.method == "lagrange" ? "lagrange npoly=" + FormatWhole(r.npoly) : "pwcubic";
  if (r.on_spline) settings += ", on spline";
  return "<quilane.Result \"" + r.run->title + "\", " +
         FormatWhole(static_cast<long long>(r.run->x.size())) + " points, " + settings + ">";
}

}  // namespace
}  // namespace quilane::python

namespace {

using quilane::python::Result;
using quilane::python::Section;
namespace qp = quilane::python;
namespace py = pybind11;

}  // namespace

PYBIND11_MODULE(quilane, m) {
  m.doc() = R"doc(Re-space the points of airfoil contours with the QuilaneConfMap engine.

Points run in the program's order: point 0 at the trailing edge, along the
lower surface to the nose, along the upper surface back to the trailing edge.
x is normalised to the chord, 0 at the nose and 1 at the trailing edge; y is
in the units of the input, neither shifted nor divided by the chord.
Every refusal raises ValueError with the program's message.

    >>> import quilane
    >>> s = quilane.naca("2412")
    >>> r = quilane.redistribute(s, n=161, mapping=True)
    >>> quilane.write(r, "naca2412_161.dat", format="selig")
)doc";
  m.attr("__version__") = QUILANE_VERSION;
  m.attr("MAX_POINTS") = quilane::kPointCapacity;

  py::class_<Section>(m, "Section", R"doc(An airfoil contour in the program's point order.

Section(x, y, name="") takes the points from two sequences of real numbers
(numpy arrays of any integer or float type and layout, or lists), one x and
one y per point, listed from the trailing edge around the contour in either
direction: a point equal to the one before it is dropped and an upper-surface-
first listing (the Selig order) is turned round, as the .dat reader does;
then the nose is the last point where x decreases, and x is normalised to
(x - x_min) / chord. 2 to 1000 points.)doc")
      .def(py::init(&qp::SectionFromArrays), py::arg("x"), py::arg("y"), py::arg("name") = "")
      .def_property_readonly(
          "name", [](const Section& s) { return s.loaded->title; },
          "The section's name (the title of its file).")
      .def_property_readonly(
          "x", [](const Section& s) { return qp::ReadOnlyCopy(s.loaded->contour.x); },
          "x of the points in chord units, 0 at the nose and 1 at the trailing edge "
          "(float64, read-only, program order).")
      .def_property_readonly(
          "y", [](const Section& s) { return qp::ReadOnlyCopy(s.loaded->contour.y); },
          "y of the points in the input's units (float64, read-only, program order).")
      .def_property_readonly(
          "nose_index", [](const Section& s) { return s.loaded->nose - 1; },
          "Index into x and y of the nose (leading-edge) point, counted from 0.")
      .def_property_readonly(
          "chord", [](const Section& s) { return s.loaded->chord; },
          "Largest minus smallest x of the input, in the input's units, before normalising.")
      .def_property_readonly(
          "x_min", [](const Section& s) { return s.loaded->x_min; },
          "x of the nose in the input's units, before normalising.")
      .def_property_readonly(
          "format", [](const Section& s) { return s.format; },
          "Where the points came from: the file's layout (\"arf\", \"Selig\", \"Lednicer\", "
          "\"ISES\"), \"naca\" or \"arrays\".")
      .def_property_readonly(
          "path", [](const Section& s) { return s.path; },
          "The file that was read, \"\" for a generated section or arrays.")
      .def_property_readonly(
          "ignored_lines", [](const Section& s) { return s.ignored_lines; },
          "Lines of notes after the contour that the reader passed over (0 for arrays and NACA).")
      .def_property_readonly(
          "reversed", [](const Section& s) { return s.reversed; },
          "Whether the points were listed the other way round from the layout's usual order "
          "and turned round.")
      .def("__len__", &qp::PointCount)
      .def("__repr__", &qp::SectionRepr);

  py::class_<Result>(m, "Result", "New points and camber line of one calculation.")
      .def_property_readonly(
          "x", [](const Result& r) { return qp::ReadOnlyCopy(r.run->x); },
          "x of the new points in chord units (float64, read-only, program order; the nose "
          "is point n // 2 for odd n).")
      .def_property_readonly(
          "y", [](const Result& r) { return qp::ReadOnlyCopy(r.run->y); },
          "y of the new points in the input's units (float64, read-only, program order).")
      .def_property_readonly(
          "camber_x", [](const Result& r) { return qp::ReadOnlyCopy(r.run->camber_x); },
          "x of the camber line, midpoints of the new points paired about the middle one, "
          "from the trailing edge to the nose.")
      .def_property_readonly(
          "camber_y", [](const Result& r) { return qp::ReadOnlyCopy(r.run->camber_y); },
          "y of the camber line, in the input's units.")
      .def_property_readonly(
          "report", &qp::ReportOf,
          "The quality report of the run, a dict: max_deviation and mean_deviation (chord "
          "units) with max_deviation_point (1-based new point) and "
          "max_deviation_x; blunt_trailing_edge; new_points and input_points "
          "(largest panel angle in degrees and its 1-based point, shortest and "
          "longest panel in chord units and their 1-based panels); text, the "
          "line quilane-redistribute --report prints; warning, empty up to "
          "0.5 % of the chord.")
      .def_property_readonly(
          "title", [](const Result& r) { return r.run->title; },
          "Title line of the written files: the section's name and \" - redistributed\".")
      .def_property_readonly(
          "section", [](const Result& r) { return r.section; }, "The section re-spaced.")
      .def_property_readonly(
          "n", [](const Result& r) { return static_cast<int>(r.run->x.size()); },
          "Number of new points.")
      .def_property_readonly(
          "mapping", [](const Result& r) { return r.mapping; },
          "Whether conformal mapping was used.")
      .def_property_readonly(
          "method", [](const Result& r) { return r.method; }, "\"lagrange\" or \"pwcubic\".")
      .def_property_readonly(
          "npoly", [](const Result& r) { return r.npoly; },
          "Degree of the Lagrange polynomial (0 for pwcubic).")
      .def_property_readonly(
          "on_spline", [](const Result& r) { return r.on_spline; },
          "Whether the new points were placed on the curve through the input points.")
      .def(
          "text",
          [](const Result& r, const std::string& format) {
            return py::bytes(quilane::PointsFileText(
                quilane::ResultFilesOf(*r.run, qp::FormatNamed(format), std::string())));
          },
          py::arg("format") = "arf",
          "The bytes write() puts in the new-point file: \"arf\" (CR LF lines, 5 decimals) or "
          "\"selig\" (LF lines, 6 decimals, upper surface first).")
      .def("__len__", [](const Result& r) { return static_cast<int>(r.run->x.size()); })
      .def("__repr__", &qp::ResultRepr);

  m.def(
      "load", [](const py::handle& path) { return qp::LoadSection(qp::PathText(path)); },
      py::arg("path"),
      R"doc(Read a coordinate file (*.arf, or a Selig or Lednicer .dat file, told by
its content) into a Section, as the program's readers do. path: str or os.PathLike.)doc");

  m.def("naca", &qp::NacaSectionOf, py::arg("code"), py::arg("n") = 201,
        py::arg("blunt") = false,
        R"doc(Generate the NACA 4- or 5-digit section code ("2412", "NACA 23012") with n
points, cosine spaced, chord 1; blunt=True gives the published open trailing
edge, else a sharp one.)doc");

  m.def("redistribute", &qp::Redistribute, py::arg("section"), py::arg("n") = 51,
        py::arg("mapping") = false, py::arg("method") = "lagrange", py::arg("npoly") = 1,
        py::arg("on_spline") = false,
        R"doc(Re-space section to n new points (2 to 1000) exactly as the program does.

mapping=True lays the points out by conformal mapping (they crowd at the nose
and the trailing edge); False places them along the chord at cosine spacing
(both ends of the contour must lie at x = 1). method "lagrange" interpolates
with a polynomial of degree npoly (lower than the section's point count),
"pwcubic" with the piecewise cubic spline. on_spline=True then places each
new point on a smooth curve through the input points (a cubic spline in arc
length), where the method and the route put it; the ends stay the input's
trailing-edge points. Returns a Result.)doc");

  m.def("write", &qp::Write, py::arg("result"), py::arg("path"), py::arg("format") = "arf",
        R"doc(Write result's new points to path and its camber line beside it, as the
command-line tool does: format "arf" (the program's layout) or "selig" (.dat,
upper surface first); the camber file is "Camber_" and the name, always *.arf.
Each file goes through a temporary file renamed into place; the file the
section was read from is never replaced. Returns (path, camber_path).)doc");
}
