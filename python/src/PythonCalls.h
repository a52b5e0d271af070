// Python code called from inside a run (an objective, a callback, a method's
// rules, the signal check): the first Python exception it raises is kept and
// ends the run as a fault of the core, and the binding raises the kept
// exception, traceback and all, once the run has returned.
#pragma once

#include <exception>
#include <optional>

#include <pybind11/pybind11.h>

namespace Velmora::Python {

namespace py = pybind11;

class PythonCalls {
 public:
  // f() with the GIL held, wherever the run holds it or not. Once an
  // exception is kept, every later call ends its run at once: the runs of
  // other threads too end soon after the first exception.
  template <class F>
  auto call(F&& f) -> decltype(f()) {
    py::gil_scoped_acquire gil;
    if (kept_) throw RunEnded();
    try {
      return f();
    } catch (py::error_already_set& raised) {
      keep(std::move(raised));
      throw RunEnded();
    }
  }

  bool raised() const { return kept_.has_value(); }
  // Raises the kept exception, if any; the GIL must be held.
  void raiseKept();

 private:
  // What the core sees end the run; its text is never shown.
  struct RunEnded : std::exception {
    const char* what() const noexcept override { return "a Python exception"; }
  };

  void keep(py::error_already_set&& raised);

  std::optional<py::error_already_set> kept_;
};

// The float a Python object stands for (a float, an int, a numpy scalar);
// a Python error otherwise.
double asDouble(PyObject* value);

}  // namespace Velmora::Python
