// What a search evaluates: a formula, compiled and evaluated in the core with
// the same bits as velmora-run, or a Python callable from float to float.
#pragma once

#include <array>
#include <optional>
#include <string>

#include <pybind11/pybind11.h>

#include "Charact_opt.h"
#include "FormulaFunction.h"
#include "PythonCalls.h"

namespace Velmora::Python {

namespace py = pybind11;

class Objective {
 public:
  // A str or a test function is a formula; anything else must be callable.
  // Throws FormulaError for a syntax error, TypeError for a non-callable.
  // jac: None, a callable giving f'(x), or True for an objective that
  // returns (f, f') (TypeError otherwise); a formula has its own slope.
  Objective(py::handle objective, const std::array<double, 9>& params, PythonCalls& calls,
            py::handle jac = py::none());

  bool isFormula() const { return formula_.has_value(); }
  // Valid while this object lives; a callable's GIL is taken for each value.
  VELMORAALG::TOptFunc function();
  // F with its slope; empty for a callable without jac.
  VELMORAALG::TSlopeFunc slopeFunction();

 private:
  std::optional<Lab::FormulaFunction> formula_;
  py::object callable_;
  py::object jac_ = py::none();  ///< f' as a callable; None without one
  bool returnsSlope_ = false;  ///< jac=True: the callable returns (f, f')
  PythonCalls& calls_;
};

// The formula engine's syntax error as velmora.FormulaError, with .position.
[[noreturn]] void raiseFormulaError(const std::string& formula, const Math_Parser::TError& error);

// The formula of a velmora.test_function object, if objective is one.
std::optional<std::string> testFunctionFormula(py::handle objective);

}  // namespace Velmora::Python
