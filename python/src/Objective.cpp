#include "Objective.h"

#include "Exceptions.h"

namespace Velmora::Python {

namespace {

// The pair a jac=True objective returns.
VELMORAALG::TValueSlope asPair(PyObject* value) {
  if (!value) throw py::error_already_set();
  const py::object pair = py::reinterpret_steal<py::object>(value);
  if (!py::isinstance<py::tuple>(pair) || py::len(pair) != 2) {
    // As a Python error, so that it leaves the run as itself, like the objective's own.
    PyErr_SetString(PyExc_TypeError, "with jac=True the objective must return a pair (f, df)");
    throw py::error_already_set();
  }
  return {asDouble(py::object(pair[py::int_(0)]).release().ptr()), asDouble(py::object(pair[py::int_(1)]).release().ptr())};
}

PyObject* callWith(PyObject* f, double x) {
  PyObject* arg = PyFloat_FromDouble(x);
  if (!arg) throw py::error_already_set();
  PyObject* value = PyObject_CallOneArg(f, arg);
  Py_DECREF(arg);
  return value;
}

}  // namespace

Objective::Objective(py::handle objective, const std::array<double, 9>& params, PythonCalls& calls, py::handle jac)
    : calls_(calls) {
  if (!jac.is_none() && !py::isinstance<py::bool_>(jac) && !PyCallable_Check(jac.ptr()))
    throw py::type_error("jac must be a callable giving f'(x), True for an objective returning (f, df), or None");
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
  returnsSlope_ = py::isinstance<py::bool_>(jac) && jac.cast<bool>();
  if (!jac.is_none() && !py::isinstance<py::bool_>(jac)) jac_ = py::reinterpret_borrow<py::object>(jac);
}

VELMORAALG::TOptFunc Objective::function() {
  if (formula_) return [this](double x) { return (*formula_)(x); };
  // The raw calls: the objective's cost is what this module adds to a callable.
  if (returnsSlope_)
    return [this, f = callable_.ptr()](double x) { return calls_.call([f, x] { return asPair(callWith(f, x)).Value; }); };
  return [this, f = callable_.ptr()](double x) { return calls_.call([f, x] { return asDouble(callWith(f, x)); }); };
}

VELMORAALG::TSlopeFunc Objective::slopeFunction() {
  if (formula_) return [this](double x) { return formula_->withSlope(x); };
  if (returnsSlope_) return [this, f = callable_.ptr()](double x) { return calls_.call([f, x] { return asPair(callWith(f, x)); }); };
  if (jac_.is_none()) return {};
  return [this, f = callable_.ptr(), df = jac_.ptr()](double x) {
    return calls_.call([f, df, x] { return VELMORAALG::TValueSlope{asDouble(callWith(f, x)), asDouble(callWith(df, x))}; });
  };
}

void raiseFormulaError(const std::string& formula, const Math_Parser::TError& error) {
  py::object raised = formulaErrorType()(error.Message);
  raised.attr("position") = error.Position;
  raised.attr("formula") = formula;
  PyErr_SetObject(formulaErrorType().ptr(), raised.ptr());
  throw py::error_already_set();
}

}  // namespace Velmora::Python
