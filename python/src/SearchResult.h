// What search() returns: the outcome of one run as Python reads it.
#pragma once

#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "Search.h"

namespace Velmora::Python {

namespace py = pybind11;

// The trials in list order: four read-only numpy columns over the core's own records.
struct Trials {
  py::object x, f, order, charact;
  py::object df;  ///< f' at each point for a method that used it; None otherwise
};

struct SearchResult {
  double x = 0;    ///< the best point
  double fun = 0;  ///< F there
  int nit = 0;     ///< steps made
  std::size_t nfev = 0;  ///< distinct points evaluated
  bool success = false;
  std::string stop;     ///< steps, precision, interval, bound, callback, fault, left-interval, no-interval, unsplittable
  std::string message;  ///< the reason in words
  py::object precision;  ///< the last step's; None before a step and after a fault
  double param = 0;      ///< the parameter the method worked with
  Trials trials;
  std::size_t trials_outside = 0;  ///< trials outside the bounds
  py::object first_step_outside;   ///< the first step that placed one; None when none did
  py::object first_non_finite;     ///< None, or a dict of the first trial at a point or with a value that is not finite
  py::object engine_result;       ///< a peer's own result code (NLopt's); None for Velmora's own methods
  py::object engine_result_text;  ///< its name, as the peer gives it
  py::object steps;  ///< None, or a dict of numpy arrays with the columns of velmora-run --steps-out
  std::vector<std::string> reports;
  double seconds = 0;
};

// The trials' columns, moving the trials into them, and f' at each where a method used it.
Trials trialColumns(std::vector<Lab::Trial>&& trials, const std::vector<double>& slopes = {});
// nfev is given apart: only runs whose method the core made count it.
SearchResult searchResult(Lab::SearchOutcome&& outcome, std::size_t evaluations, bool recordedSteps);

void addSearchResult(py::module_& m);

}  // namespace Velmora::Python
