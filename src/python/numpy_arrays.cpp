#include "python/numpy_arrays.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace quilane::python {

namespace py = pybind11;

namespace {

std::string ShapeText(const py::array& array) {
  std::string text = "(";
  for (py::ssize_t k = 0; k < array.ndim(); ++k) {
    if (k > 0) text += ", ";
    text += std::to_string(array.shape(k));
  }
  if (array.ndim() == 1) text += ",";
  return text + ")";
}

}  // namespace

std::vector<double> RealVector(const py::handle& values, const char* what) {
  const py::module_ numpy = py::module_::import("numpy");
  if (py::isinstance(values, numpy.attr("ma").attr("MaskedArray"))) {
    throw py::type_error(std::string(what) +
                         " is a masked array, whose mask would be passed over; give a plain "
                         "array of the points to use (for example the compressed rows of the "
                         "stacked x and y).");
  }
  const py::array array = numpy.attr("asarray")(values);
  const char kind = array.dtype().kind();
  if (kind != 'f' && kind != 'i' && kind != 'u') {
    throw py::value_error(std::string(what) + " must hold real numbers; got an array of dtype " +
                          py::str(array.dtype()).cast<std::string>() + ".");
  }
  if (array.ndim() != 1) {
    throw py::value_error(std::string(what) +
                          " must be a one-dimensional array, one value per point; got shape " +
                          ShapeText(array) + ".");
  }
  // Casts to contiguous float64 (a copy when the layout or type differs).
  const auto doubles = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
  if (!doubles) {
    throw py::value_error(std::string(what) + " could not be read as float64 values.");
  }
  const double* data = doubles.data();
  return std::vector<double>(data, data + doubles.size());
}

py::array_t<double> ReadOnlyCopy(std::span<const double> values) {
  py::array_t<double> copy(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), copy.mutable_data());
  copy.attr("setflags")(py::arg("write") = false);
  return copy;
}

py::array_t<double> ReadOnlyPoints(std::span<const double> x, std::span<const double> y) {
  const auto n = static_cast<py::ssize_t>(x.size());
  py::array_t<double> points({n, py::ssize_t{2}});
  auto out = points.mutable_unchecked<2>();
  for (py::ssize_t i = 0; i < n; ++i) {
    out(i, 0) = x[static_cast<std::size_t>(i)];
    out(i, 1) = y[static_cast<std::size_t>(i)];
  }
  points.attr("setflags")(py::arg("write") = false);
  return points;
}

}  // namespace quilane::python
