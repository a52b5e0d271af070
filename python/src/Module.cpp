// velmora._core: the core's search, catalogue, test classes and class runs
// for Python; the package velmora re-exports them beside its Python parts.
#include <pybind11/pybind11.h>

#include "ClassBinding.h"
#include "Exceptions.h"
#include "ReadNumber.h"
#include "TestSet.h"
#include "SearchBinding.h"
#include "SearchResult.h"
#include "UserMethod.h"

namespace py = pybind11;

PYBIND11_MODULE(_core, m) {
  using namespace Velmora::Python;
  m.doc() = "The core of Velmora: one-dimensional global minimisation by Lipschitz methods.";
  addExceptions(m);
  // A bad value or file by the core's rules, and a fault met outside a run (a
  // test function's value, a meeting point).
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const Velmora::Lab::BadValue& bad) {
      PyErr_SetString(PyExc_ValueError, bad.what());
    } catch (const Velmora::Lab::FileError& bad) {
      PyErr_SetString(PyExc_ValueError, bad.what());
    } catch (const Velmora::ArithmeticFault& fault) {
      PyErr_SetString(arithmeticFaultType().ptr(), fault.what());
    }
  });
  addSearchResult(m);
  addSearch(m);
  addUserMethod(m);
  addCatalogue(m);
  addClassRuns(m);
}
