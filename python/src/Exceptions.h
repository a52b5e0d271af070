// The module's own exception types, made when it is imported.
#pragma once

#include <pybind11/pybind11.h>

namespace Velmora::Python {

namespace py = pybind11;

void addExceptions(py::module_& m);
// velmora.FormulaError, a ValueError: a syntax error in a formula.
py::handle formulaErrorType();
// velmora.ArithmeticFault, an ArithmeticError: a fault of F or of the arithmetic ended the run.
py::handle arithmeticFaultType();

}  // namespace Velmora::Python
