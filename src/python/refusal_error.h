// The program's refusals as quilane.Error, the module's one exception of its
// own (a ValueError with the refusal's code, where it happened and its way
// out), whether raised by a call or handed back by redistribute_many.
#ifndef QUILANE_PYTHON_REFUSAL_ERROR_H_
#define QUILANE_PYTHON_REFUSAL_ERROR_H_

#include <pybind11/pybind11.h>

#include <exception>
#include <string>

#include "base/refusal.h"

namespace quilane::python {

// A refusal on its way out of the module: thrown by the module's C++ code,
// with or without the interpreter lock, and turned into quilane.Error by the
// translator RegisterRefusalTranslator installs.
struct Refused : std::exception {
  Refusal refusal;
  std::string
      section;  // the name of the section refused, "" for none or when the message names a file
  const char* what() const noexcept override { return refusal.message.c_str(); }
};

// Throws Refused. `section` is named in front of the message when not empty.
[[noreturn]] void Refuse(Refusal refusal, std::string section = std::string());
// Throws Refused for a call the module does not take (code "usage").
[[noreturn]] void RefuseCall(std::string message);

// The quilane.Error for `refusal` (needs the lock): the message, led by
// 'Section "<section>": ' when `section` is not empty, and its way out on a
// line of its own; code, where ({"file", "line"} and the index as "point",
// "panel", "station", "new_point" or "camber_point", each only when known;
// numbers from 1 as the message gives them), way_out and section.
pybind11::object ErrorObject(const Refusal& refusal, const std::string& section);

// Makes every Refused that leaves a bound function a quilane.Error. Call once,
// when the module is made.
void RegisterRefusalTranslator();

}  // namespace quilane::python

#endif  // QUILANE_PYTHON_REFUSAL_ERROR_H_
