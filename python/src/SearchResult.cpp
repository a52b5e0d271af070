#include "SearchResult.h"

#include <sstream>

#include <pybind11/stl.h>

#include "Arrays.h"
#include "NumberText.h"

namespace Velmora::Python {

namespace {

using VELMORAALG::TStepRecord;

py::dict stepColumns(std::vector<TStepRecord>&& records) {
  const RecordColumns<TStepRecord> columns(std::move(records));
  py::dict steps;
  steps["step"] = columns.column(&TStepRecord::Step);
  steps["interval"] = columns.column(&TStepRecord::Interval);
  steps["left"] = columns.column(&TStepRecord::Left);
  steps["right"] = columns.column(&TStepRecord::Right);
  steps["charact"] = columns.column(&TStepRecord::Charact);
  steps["constant"] = columns.column(&TStepRecord::Constant);
  steps["x"] = columns.column(&TStepRecord::X);
  steps["f"] = columns.column(&TStepRecord::Z);
  steps["precision"] = columns.column(&TStepRecord::Precision);
  return steps;
}

std::string described(const SearchResult& r) {
  std::ostringstream text;
  text << "     x: " << Lab::shortest(r.x) << "\n   fun: " << Lab::shortest(r.fun) << "\n   nit: " << r.nit
       << "\n  nfev: " << r.nfev << "\nsuccess: " << (r.success ? "True" : "False") << "\n  stop: " << r.stop
       << "\nmessage: " << r.message << "\nprecision: " << py::str(r.precision).cast<std::string>()
       << "\n param: " << Lab::shortest(r.param) << "\ntrials: " << py::len(r.trials.x) << " (x, f, order, charact)";
  if (!r.steps.is_none()) text << "\n steps: " << r.nit << " records";
  return text.str();
}

}  // namespace

Trials trialColumns(std::vector<Lab::Trial>&& trials, const std::vector<double>& slopes) {
  const RecordColumns<Lab::Trial> columns(std::move(trials));
  py::object df = py::none();
  if (!slopes.empty()) {
    py::array_t<double> values(static_cast<py::ssize_t>(slopes.size()));
    std::copy(slopes.begin(), slopes.end(), values.mutable_data());
    values.attr("flags").attr("writeable") = false;
    df = std::move(values);
  }
  return {columns.column(&Lab::Trial::x), columns.column(&Lab::Trial::f), columns.column(&Lab::Trial::placed),
          columns.column(&Lab::Trial::charact), std::move(df)};
}

SearchResult searchResult(Lab::SearchOutcome&& outcome, std::size_t evaluations, bool recordedSteps) {
  SearchResult r;
  r.x = outcome.bestX;
  r.fun = outcome.fBest;
  r.nit = outcome.stepCount;
  r.nfev = evaluations;
  r.success = Lab::succeeded(outcome);
  r.stop = Lab::stopReasonKey(outcome.stop);
  r.message = Lab::outcomeMessage(outcome);
  if (const auto& first = outcome.firstNonFinite) {
    py::dict trial;
    trial["order"] = first->placed;
    trial["x"] = first->x;
    trial["f"] = first->f;
    r.first_non_finite = std::move(trial);
  } else {
    r.first_non_finite = py::none();
  }
  r.precision = outcome.fault || outcome.stepCount == 0 ? py::object(py::none()) : py::float_(outcome.precision);
  r.param = outcome.paramUsed;
  r.trials = trialColumns(std::move(outcome.trials), outcome.slopes);
  r.trials_outside = outcome.trialsOutside;
  r.first_step_outside = outcome.firstStepOutside ? py::object(py::int_(outcome.firstStepOutside)) : py::none();
  r.engine_result = outcome.engineResult ? py::object(py::int_(*outcome.engineResult)) : py::none();
  r.engine_result_text = outcome.engineResult ? py::object(py::str(outcome.engineResultText)) : py::none();
  r.steps = recordedSteps ? py::object(stepColumns(std::move(outcome.stepRecords))) : py::none();
  r.reports = std::move(outcome.reports);
  r.seconds = outcome.seconds;
  return r;
}

void addSearchResult(py::module_& m) {
  py::class_<Trials>(m, "Trials", "The trials of a run in list order (increasing x), as read-only numpy arrays.")
      .def_readonly("x", &Trials::x, "The points.")
      .def_readonly("f", &Trials::f, "F at each point; NaN where a failed run never reached it.")
      .def_readonly("order", &Trials::order, "Each point's number in the order of placing: the ends 1 and 2, step k's point k + 2.")
      .def_readonly("charact", &Trials::charact, "The characteristic of the interval that begins at the point; 0 for the last.")
      .def_readonly("df", &Trials::df, "f' at each point for a method that used it (d-gl, d-lt, ...); None otherwise.")
      .def("__len__", [](const Trials& t) { return py::len(t.x); })
      .def("__repr__", [](const Trials& t) { return "Trials(" + std::to_string(py::len(t.x)) + " points)"; });

  py::class_<SearchResult>(m, "SearchResult", "The outcome of one search; the fields of scipy's OptimizeResult and Velmora's own.")
      .def_readonly("x", &SearchResult::x, "The point of the lowest value found.")
      .def_readonly("fun", &SearchResult::fun, "F at x.")
      .def_readonly("nit", &SearchResult::nit, "The steps made.")
      .def_readonly("nfev", &SearchResult::nfev, "The distinct points at which F was evaluated.")
      .def_readonly("success", &SearchResult::success,
                    "Whether the run did what was asked: its stop rule was met, or the callback asked for the stop,\n"
                    "and it met no point and no value that is not a finite number.")
      .def_property_readonly(
          "status", [](const SearchResult& r) { return r.success ? 0 : 1; }, "scipy's status: 0 for a success, 1 otherwise.")
      .def_readonly("stop", &SearchResult::stop,
                    "Why the run stopped, as velmora-run's stop says it: steps, precision, interval, bound, requested\n"
                    "(the callback asked), fault, left-interval, no-interval, unsplittable.")
      .def_readonly("message", &SearchResult::message, "The same in words, or the fault's text; then what the run met that is not a finite number.")
      .def_readonly("precision", &SearchResult::precision, "The last step's precision; None before a step and after a fault.")
      .def_readonly("param", &SearchResult::param, "The parameter the method worked with (L or r); 0 for scanning.")
      .def_readonly("trials", &SearchResult::trials, "The trials in list order.")
      .def_readonly("trials_outside", &SearchResult::trials_outside,
                    "How many trials lie outside the bounds (Piyavsky's with L below the slope).")
      .def_readonly("first_step_outside", &SearchResult::first_step_outside,
                    "The first step that placed a trial outside the bounds; None when none did.")
      .def_readonly("first_non_finite", &SearchResult::first_non_finite,
                    "None, or the first trial in the order of placing at a point or with a value that is not a finite\n"
                    "number, as a dict with its order, x and f; such a run is no success.")
      .def_readonly("engine_result", &SearchResult::engine_result,
                    "A peer library's own result code (NLopt's: 5 when the budget was spent); None for Velmora's methods.")
      .def_readonly("engine_result_text", &SearchResult::engine_result_text, "Its name: MAXEVAL_REACHED, FORCED_STOP, ...")
      .def_readonly("nlopt_result", &SearchResult::engine_result, "The same as engine_result.")
      .def_readonly("nlopt_result_text", &SearchResult::engine_result_text, "The same as engine_result_text.")
      .def_readonly("steps", &SearchResult::steps,
                    "With record_steps=True a dict of numpy arrays, one entry per step, with the columns of\n"
                    "velmora-run --steps-out: step, interval, left, right, charact, constant, x, f, precision.")
      .def_readonly("reports", &SearchResult::reports, "Each distinct report of the mathematical library once.")
      .def_readonly("seconds", &SearchResult::seconds, "The run's time in the core.")
      .def("__repr__", &described);
}

}  // namespace Velmora::Python
