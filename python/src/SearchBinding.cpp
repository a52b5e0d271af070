#include "SearchBinding.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include <pybind11/stl.h>

#include "Arguments.h"
#include "Exceptions.h"
#include "Interrupt.h"
#include "Objective.h"
#include "OutsideWarning.h"
#include "SearchResult.h"
#include "UserMethod.h"

namespace Velmora::Python {

namespace {

// A step as the callback sees it.
struct StepView {
  VELMORAALG::TStepRecord record;
};

// Distinct points among the trials, -0 and +0 one: what the core counts
// for the methods it makes, for a method the binding made.
std::size_t distinctPoints(const std::vector<Lab::Trial>& trials) {
  std::vector<std::uint64_t> bits;
  bits.reserve(trials.size());
  for (const Lab::Trial& t : trials) bits.push_back(std::bit_cast<std::uint64_t>(t.x == 0 ? 0.0 : t.x));
  std::sort(bits.begin(), bits.end());
  return static_cast<std::size_t>(std::unique(bits.begin(), bits.end()) - bits.begin());
}


// A search called from inside an objective nests on the native stack, which
// Python's own recursion limit does not see: a few thousand levels overflow
// it. Far fewer than that raise RecursionError instead.
constexpr int MaxNestedSearches = 100;
thread_local int nestedSearches = 0;

class NestedSearch {
 public:
  NestedSearch() {
    if (nestedSearches == MaxNestedSearches) {
      PyErr_SetString(PyExc_RecursionError, ("velmora.search nested more than " + std::to_string(MaxNestedSearches) +
                                             " deep, from inside its objectives")
                                                .c_str());
      throw py::error_already_set();
    }
    ++nestedSearches;
  }
  ~NestedSearch() { --nestedSearches; }
  NestedSearch(const NestedSearch&) = delete;
  NestedSearch& operator=(const NestedSearch&) = delete;
};

SearchResult search(py::handle objective, py::handle bounds, py::handle method, std::optional<double> param,
                    std::optional<long long> steps, std::optional<double> precision, std::optional<double> eps,
                    const std::vector<double>& params, bool recordSteps, py::handle callback, py::handle jac) {
  const NestedSearch nesting;
  const auto [a, b] = boundsOf(bounds);
  const UserMethod* user = py::isinstance<UserMethod>(method) ? &method.cast<const UserMethod&>() : nullptr;
  const Lab::MethodInfo* info = user ? nullptr : &methodNamed(methodKey(method, "method"));
  if (user && param) throw py::value_error("param is not used by a Method of your own (its constant gives it)");
  const std::array<double, 9> values = formulaParams(params);
  if (!callback.is_none() && !PyCallable_Check(callback.ptr())) throw py::type_error("callback must be callable");

  Lab::SearchRequest request;
  request.xmin = a;
  request.xmax = b;
  request.method = info ? std::optional(info->id) : std::nullopt;
  request.param = param;
  setStopRule(request, steps, precision, eps);
  checkRequest(request);
  request.recordSteps = recordSteps;
  PythonCalls calls;
  Objective f(objective, values, calls, jac);
  request.objective = f.function();
  request.slopeObjective = f.slopeFunction();
  if (request.method && Lab::methodInfo(*request.method).makeWithSlope && !request.slopeObjective)
    throw py::value_error("objective: " + Lab::slopeMissing(Lab::methodInfo(*request.method)) +
                          "; give a formula, or jac=");
  InterruptCheck interrupt(calls);
  request.stopAfter = [&](const VELMORAALG::TStepRecord& record) {
    interrupt.afterStep();
    if (callback.is_none()) return false;
    return calls.call([&] { return py::bool_(callback(StepView{record})).cast<bool>(); });
  };

  Lab::SearchOutcome outcome;
  std::optional<std::size_t> evaluations;
  if (user) {
    const std::unique_ptr<VELMORAALG::TCharactOpt> engine = makeUserEngine(*user, request.objective, calls);
    outcome = Lab::runSearch(*engine, request);
    evaluations = distinctPoints(outcome.trials);
  } else if (f.isFormula()) {
    py::gil_scoped_release released;
    outcome = Lab::runSearch(request);
  } else {
    outcome = Lab::runSearch(request);
  }
  calls.raiseKept();

  if (const auto warning = Lab::outsideWarning(outcome, request.method, a, b))
    if (PyErr_WarnEx(PyExc_RuntimeWarning, warning->c_str(), 1) < 0) throw py::error_already_set();
  const bool faulted = outcome.fault.has_value();
  const std::size_t counted = evaluations.value_or(outcome.evaluations.value_or(0));
  SearchResult result = searchResult(std::move(outcome), counted, recordSteps);
  if (faulted) {
    py::object raised = arithmeticFaultType()(result.message);
    raised.attr("result") = py::cast(std::move(result));
    PyErr_SetObject(arithmeticFaultType().ptr(), raised.ptr());
    throw py::error_already_set();
  }
  return result;
}

}  // namespace

void addSearch(py::module_& m) {
  py::class_<StepView>(m, "Step", "One completed step, as the callback of search() is given it.")
      .def_property_readonly("step", [](const StepView& s) { return s.record.Step; }, "The step's number, from 1.")
      .def_property_readonly("interval", [](const StepView& s) { return s.record.Interval; },
                             "The interval split, numbered from 1 in list order.")
      .def_property_readonly("left", [](const StepView& s) { return s.record.Left; }, "Its left end.")
      .def_property_readonly("right", [](const StepView& s) { return s.record.Right; }, "Its right end.")
      .def_property_readonly("charact", [](const StepView& s) { return s.record.Charact; },
                             "Its characteristic when it was chosen.")
      .def_property_readonly("constant", [](const StepView& s) { return s.record.Constant; },
                             "The method's constant in the step (L, Strongin's m, a variant's l_t; 0 for scanning).")
      .def_property_readonly("x", [](const StepView& s) { return s.record.X; }, "The new point.")
      .def_property_readonly("f", [](const StepView& s) { return s.record.Z; }, "F there.")
      .def_property_readonly("precision", [](const StepView& s) { return s.record.Precision; },
                             "The step's precision.")
      .def("__repr__", [](const StepView& s) {
        return "Step(step=" + std::to_string(s.record.Step) + ", x=" + py::repr(py::float_(s.record.X)).cast<std::string>() + ")";
      });

  m.def("search", &search, py::arg("objective"), py::arg("bounds"), py::kw_only(), py::arg("method") = "strongin",
        py::arg("param") = py::none(), py::arg("steps") = py::none(), py::arg("precision") = py::none(),
        py::arg("eps") = py::none(), py::arg("params") = std::vector<double>{}, py::arg("record_steps") = false,
        py::arg("callback") = py::none(), py::arg("jac") = py::none(), R"doc(
Minimise F on an interval with one of Velmora's methods.

Parameters
----------
objective : str or callable
    A formula in x[0] (and x[1]..x[9], see ``params``), compiled and
    evaluated in the core with the same bits as velmora-run; or any callable
    from float to float; or a ``test_function``.
bounds : (float, float)
    The interval (A, B), A < B, both finite.
method : str or Method, default "strongin"
    A method's id from ``methods()``, or a ``Method`` of your own.
param : float, optional
    The method's parameter as entered (``methods()`` says what it means and
    which values it takes): Piyavsky's Lipschitz estimate L, the multiplier
    r of Strongin's method or of a variant, a stochastic NLopt method's
    population. None: the method's default.
steps, precision, eps : optional
    The stop rule, exactly one of them: ``steps`` makes that many steps;
    ``precision`` stops after the first step whose precision is at most it;
    ``eps`` stops before a step whose chosen interval is no longer than it.
    The last two stop after 100000 steps at the latest (``stop == "bound"``).
params : sequence of float, optional
    x[1], x[2], ... of a formula, at most nine.
record_steps : bool, default False
    Keep every step's record in ``result.steps``.
callback : callable, optional
    ``callback(step)`` after each step with its ``Step`` record; a true
    return ends the run there with ``stop == "requested"``.
jac : callable or True, optional
    f' for the methods that use it (``d-gl``, ``d-lt``, ...), as SciPy
    takes it: ``jac(x) -> float``, or True for an objective that returns
    ``(f, df)``. A formula has its own.

Returns
-------
SearchResult
    ``x``, ``fun``, ``nit``, ``nfev``, ``success``, ``stop``, ``message``,
    ``precision``, ``param``, ``trials`` (numpy arrays ``x``, ``f``,
    ``order``, ``charact`` in list order, and ``df`` for a method that
    used f'), ``trials_outside``,
    ``first_step_outside`` and ``steps``.

Warns
-----
RuntimeWarning
    Trials lie outside the bounds (Piyavsky's L below the slope), in
    velmora-run's words.

Raises
------
ValueError
    A bad argument, in velmora-run's words.
FormulaError
    A syntax error in the formula, with ``.position``.
ArithmeticFault
    A fault of F or of the arithmetic ended the run; ``.result`` holds what
    the run reached.
KeyboardInterrupt
    Ctrl-C, within 0.1 s; any exception of the objective, the callback or a
    Method's rules ends the run and propagates as itself.

Notes
-----
A formula run releases the GIL, so several threads search at once.

Examples
--------
>>> r = velmora.search("sin(x[0]) + sin(10*x[0]/3)", (2.7, 7.5), method="strongin", param=2, steps=100)
>>> round(r.x, 4), r.nit, r.stop
(5.1456, 100, 'steps')
)doc");
}

}  // namespace Velmora::Python
