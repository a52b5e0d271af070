#include "Objective.h"

#include "Exceptions.h"

namespace Velmora::Python {

Objective::Objective(py::handle objective, const std::array<double, 9>& params, PythonCalls& calls) : calls_(calls) {
  std::optional<std::string> text = testFunctionFormula(objective);
  if (!text && py::isinstance<py::str>(objective)) text = objective.cast<std::string>();
  if (text) {
    try {
      formula_.emplace(*text, params);
    } catch (const Math_Parser::TError& error) {
      raiseFormulaError(*text, error);
    }
    return;
  }
  if (!PyCallable_Check(objective.ptr()))
    throw py::type_error("the objective must be a formula (str) or a callable from float to float");
  callable_ = py::reinterpret_borrow<py::object>(objective);
}

VELMORAALG::TOptFunc Objective::function() {
  if (formula_) return [this](double x) { return (*formula_)(x); };
  // The raw calls: the objective's cost is what this module adds to a callable.
  return [this, f = callable_.ptr()](double x) {
    return calls_.call([f, x] {
      PyObject* arg = PyFloat_FromDouble(x);
      if (!arg) throw py::error_already_set();
      PyObject* value = PyObject_CallOneArg(f, arg);
      Py_DECREF(arg);
      return asDouble(value);
    });
  };
}

VELMORAALG::TSlopeFunc Objective::slopeFunction() {
  if (formula_) return [this](double x) { return formula_->withSlope(x); };
  return {};
}

void raiseFormulaError(const std::string& formula, const Math_Parser::TError& error) {
  py::object raised = formulaErrorType()(error.Message);
  raised.attr("position") = error.Position;
  raised.attr("formula") = formula;
  PyErr_SetObject(formulaErrorType().ptr(), raised.ptr());
  throw py::error_already_set();
}

}  // namespace Velmora::Python
