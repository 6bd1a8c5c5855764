// Point arrays between numpy and the program: arrays taken from Python are
// checked before a value is read, arrays handed back are read-only copies.
// Needs the interpreter lock.
#ifndef QUILANE_PYTHON_NUMPY_ARRAYS_H_
#define QUILANE_PYTHON_NUMPY_ARRAYS_H_

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <span>
#include <string>
#include <vector>

namespace quilane::python {

// The values of `values` (a numpy array or anything numpy.asarray takes) as
// doubles, in order. Refuses with ValueError, naming the argument `what`:
// anything that is not one-dimensional, and values that are not real
// numbers (integers, unsigned integers and floats are taken; bool, complex,
// strings and objects are not). Any memory layout and stride is accepted.
// A masked array is a TypeError: its mask would be passed over.
std::vector<double> RealVector(const pybind11::handle& values, const char* what);

// A new read-only float64 array holding `values`.
pybind11::array_t<double> ReadOnlyCopy(std::span<const double> values);

// A new read-only float64 array of shape (n, 2) holding the points
// (x[i], y[i]); x and y have the same length n.
pybind11::array_t<double> ReadOnlyPoints(std::span<const double> x, std::span<const double> y);

}  // namespace quilane::python

#endif  // QUILANE_PYTHON_NUMPY_ARRAYS_H_
