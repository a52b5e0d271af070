#include "PythonCalls.h"

namespace Velmora::Python {

void PythonCalls::keep(py::error_already_set&& raised) {
  if (!kept_) kept_.emplace(std::move(raised));
}

void PythonCalls::raiseKept() {
  if (!kept_) return;
  py::error_already_set raised = std::move(*kept_);
  kept_.reset();
  throw std::move(raised);
}

double asDouble(PyObject* value) {
  if (!value) throw py::error_already_set();
  const double result = PyFloat_AsDouble(value);
  Py_DECREF(value);
  if (result == -1.0 && PyErr_Occurred()) throw py::error_already_set();
  return result;
}

}  // namespace Velmora::Python
