#include "Exceptions.h"

namespace Velmora::Python {

namespace {

py::handle formulaError;
py::handle arithmeticFault;

py::handle newType(py::module_& m, const char* name, PyObject* base, const char* doc) {
  const std::string qualified = "velmora." + std::string(name);
  PyObject* type = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, base, nullptr);
  if (!type) throw py::error_already_set();
  // The module keeps the reference for as long as the interpreter lives.
  m.add_object(name, py::handle(type));
  return type;
}

}  // namespace

void addExceptions(py::module_& m) {
  formulaError = newType(m, "FormulaError", PyExc_ValueError,
                         "A syntax error in a formula.\n\n"
                         "``str(e)`` is the formula engine's message, ``e.position`` the 0-based index of\n"
                         "the offending token and ``e.formula`` the text.");
  arithmeticFault = newType(m, "ArithmeticFault", PyExc_ArithmeticError,
                            "A fault of the objective or of the arithmetic ended a run.\n\n"
                            "``str(e)`` is the user's text of the fault (``\"Division by zero\"``, ...);\n"
                            "``e.result`` is the SearchResult of the run up to the fault.");
}

py::handle formulaErrorType() { return formulaError; }
py::handle arithmeticFaultType() { return arithmeticFault; }

}  // namespace Velmora::Python
