// A method of the user's own, its rules written in Python, run under the
// characteristic scheme like the built-in methods: the scheme keeps the
// trials, chooses the interval of largest characteristic and records every
// step; the rules give the characteristic, the new point and the constant.
#pragma once

#include <memory>
#include <string>

#include <pybind11/pybind11.h>

#include "Charact_opt.h"
#include "PythonCalls.h"

namespace Velmora::Python {

namespace py = pybind11;

// velmora.Method: the rules as Python callables.
struct UserMethod {
  py::object charact;    ///< (xl, xr, zl, zr, c) -> float
  py::object newPoint;   ///< (xl, xr, zl, zr, c) -> float
  py::object constant;   ///< (trials) -> float, or None for c = 0
  std::string name;
};

// The scheme's engine for a UserMethod; the GIL is taken for every rule.
std::unique_ptr<VELMORAALG::TCharactOpt> makeUserEngine(const UserMethod& rules, VELMORAALG::TOptFunc objective,
                                                        PythonCalls& calls);

void addUserMethod(py::module_& m);

}  // namespace Velmora::Python
