#include "python/refusal_error.h"

#include <utility>

namespace quilane::python {

namespace py = pybind11;

namespace {

// How this module turns conformal mapping on, for the way out.
constexpr const char* kMappingAction = "use mapping=True";

const char* CodeName(RefusalCode code) {
  switch (code) {
    case RefusalCode::kUsage:
      return "usage";
    case RefusalCode::kUnreadableFile:
      return "unreadable_file";
    case RefusalCode::kNotPlainText:
      return "not_plain_text";
    case RefusalCode::kMalformedFile:
      return "malformed_file";
    case RefusalCode::kUnusableContour:
      return "unusable_contour";
    case RefusalCode::kUnknownSection:
      return "unknown_section";
    case RefusalCode::kNoContour:
      return "no_contour";
    case RefusalCode::kPointCount:
      return "point_count";
    case RefusalCode::kDegree:
      return "degree";
    case RefusalCode::kDegreeNotBelowN:
      return "degree_not_below_n";
    case RefusalCode::kNoseAtEnd:
      return "nose_at_end";
    case RefusalCode::kSurfacesCross:
      return "surfaces_cross";
    case RefusalCode::kUpperSurfaceFirst:
      return "upper_surface_first";
    case RefusalCode::kOutsideChord:
      return "outside_chord";
    case RefusalCode::kNoChordLine:
      return "no_chord_line";
    case RefusalCode::kSingularPoint:
      return "singular_point";
    case RefusalCode::kOutOfOrder:
      return "out_of_order";
    case RefusalCode::kStationOutOfRange:
      return "station_out_of_range";
    case RefusalCode::kSingularStation:
      return "singular_station";
    case RefusalCode::kNonFinitePoint:
      return "non_finite_point";
    case RefusalCode::kNonFiniteCamber:
      return "non_finite_camber";
    case RefusalCode::kDeviationTooLarge:
      return "deviation_too_large";
    case RefusalCode::kBadFileName:
      return "bad_file_name";
    case RefusalCode::kWriteFailed:
      return "write_failed";
    case RefusalCode::kReplacesInput:
      return "replaces_input";
    case RefusalCode::kReplacesResult:
      return "replaces_result";
  }
  return "usage";
}

// What the refusal's index counts, by its code (refusal.h).
const char* IndexName(RefusalCode code) {
  switch (code) {
    case RefusalCode::kSurfacesCross:
      return "panel";
    case RefusalCode::kStationOutOfRange:
    case RefusalCode::kSingularStation:
      return "station";
    case RefusalCode::kNonFinitePoint:
    case RefusalCode::kDeviationTooLarge:
      return "new_point";
    case RefusalCode::kNonFiniteCamber:
      return "camber_point";
    default:
      return "point";
  }
}

}  // namespace

void Refuse(Refusal refusal, std::string section) {
  Refused refused;
  refused.refusal = std::move(refusal);
  refused.section = std::move(section);
  throw refused;
}

void RefuseCall(std::string message) { Refuse(Refusal(RefusalCode::kUsage, std::move(message))); }

py::object ErrorObject(const Refusal& refusal, const std::string& section) {
  std::string message = MessageWithWayOut(refusal, kMappingAction);
  if (!section.empty()) message = "Section \"" + section + "\": " + message;
  py::dict where;
  if (!refusal.file.empty()) where["file"] = refusal.file;
  if (refusal.line > 0) where["line"] = refusal.line;
  if (refusal.index > 0) where[IndexName(refusal.code)] = refusal.index;
  const py::object error_type = py::module_::import("quilane").attr("Error");
  return error_type(
      message, py::arg("code") = CodeName(refusal.code), py::arg("where") = where,
      py::arg("way_out") = WayOutText(refusal, kMappingAction),
      py::arg("section") = section.empty() ? py::object(py::none()) : py::object(py::str(section)));
}

void RegisterRefusalTranslator() {
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const Refused& refused) {
      const py::object error = ErrorObject(refused.refusal, refused.section);
      PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    }
  });
}

}  // namespace quilane::python
