#include "ClassBinding.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "Arguments.h"
#include "ClassRuns.h"
#include "FunctionSource.h"
#include "OperationalCharacteristic.h"
#include "Objective.h"
#include "TestFunctionObject.h"
#include "UserMethod.h"

namespace Velmora::Python {

namespace {

namespace py = pybind11;

py::object paramMeaning(Lab::ParamMeaning meaning) {
  const std::string_view key = Lab::paramMeaningKey(meaning);
  return key.empty() ? py::none() : py::object(py::str(std::string(key)));
}

py::list methods() {
  py::list list;
  for (const Lab::MethodInfo& info : Lab::allMethods()) {
    py::dict entry;
    entry["id"] = info.key;
    entry["name"] = info.englishName;
    entry["param"] = paramMeaning(info.param);
    entry["param_rule"] = info.paramRule.empty() ? py::none() : py::object(py::str(info.paramRule));
    entry["default"] = info.param == Lab::ParamMeaning::None ? py::none() : py::object(py::float_(info.defaultParam));
    entry["installed"] = Lab::isInstalled(info);
    list.append(entry);
  }
  return list;
}

TestFunctionObject testFunction(const std::string& cls, std::uint64_t index) {
  Cli::ClassRange range = classNamed(cls);
  range.first = range.last = index;
  return {Cli::FunctionSource(range, dataFolder()).make(index), std::string(Cli::classKey(range)), nullptr};
}

// Ascending runs of consecutive indices, each one range of a class run.
std::vector<Cli::ClassRange> rangesOf(const Cli::ClassRange& named, const std::vector<std::uint64_t>& indices) {
  std::vector<Cli::ClassRange> ranges;
  for (std::uint64_t index : indices) {
    if (!ranges.empty() && ranges.back().last + 1 == index && index != 0) {
      ranges.back().last = index;
    } else {
      ranges.push_back(named);
      ranges.back().first = ranges.back().last = index;
    }
  }
  return ranges;
}

// Runs the range in pieces short enough that Ctrl-C is seen between them
// within a tenth of a second; the rows are those of one run of the range.
void runRange(Cli::ClassOptions options, const Cli::ClassRange& range, const Cli::FunctionSource& functions,
              unsigned jobs, std::vector<Cli::ClassRunRow>& rows) {
  using Clock = std::chrono::steady_clock;
  constexpr auto Target = std::chrono::milliseconds(30);
  std::uint64_t piece = jobs;
  for (std::uint64_t first = range.first;;) {
    options.range = range;
    options.range.first = first;
    options.range.last = std::min(range.last, first + (piece - 1));
    const Clock::time_point start = Clock::now();
    std::vector<Cli::ClassRunRow> done;
    {
      py::gil_scoped_release released;
      done = Cli::runClass(options, functions, jobs);
    }
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    rows.insert(rows.end(), done.begin(), done.end());
    if (options.range.last == range.last) return;
    first = options.range.last + 1;
    if (Clock::now() - start < Target / 2) piece *= 2;
  }
}

py::array strings(const std::vector<std::string>& values) {
  return py::module_::import("numpy").attr("array")(py::cast(values), "U");
}

// One row of a class run, of a built-in method or of a user's.
struct ClassRow {
  std::uint64_t index = 0;
  std::size_t methodPosition = 0;  ///< where the method stands in methods=
  std::string method;
  double param = NAN;  ///< NaN for a method without one
  std::optional<std::uint64_t> seed;
  Lab::ClassRun run;
};

std::vector<ClassRow> builtInRows(const Cli::ClassOptions& options, const std::vector<Cli::ClassRange>& ranges,
                                  unsigned jobs, const std::vector<std::size_t>& positions) {
  std::vector<Cli::ClassRunRow> rows;
  for (const Cli::ClassRange& range : ranges)
    runRange(options, range, Cli::FunctionSource(range, dataFolder()), jobs, rows);
  std::vector<ClassRow> out;
  for (const Cli::ClassRunRow& row : rows) {
    const Lab::MethodInfo& info = Lab::methodInfo(row.method);
    const auto at = std::find(options.methods.begin(), options.methods.end(), row.method) - options.methods.begin();
    out.push_back({row.index, positions[static_cast<std::size_t>(at)], std::string(info.key),
                   info.param == Lab::ParamMeaning::None ? NAN : row.param, row.seed, row.run});
  }
  return out;
}

// A user's method calls Python at every step, so its runs hold the GIL and
// go one after another; a Python exception in its rules ends the class run.
void addUserRows(const UserMethod& rules, std::size_t position, const std::vector<Cli::ClassRange>& ranges,
                 const Lab::ClassRule& rule, std::vector<ClassRow>& rows) {
  for (const Cli::ClassRange& range : ranges) {
    const Cli::FunctionSource functions(range, dataFolder());
    for (std::uint64_t index = range.first; index <= range.last; ++index) {
      PythonCalls calls;
      const Lab::ClassRun run = Lab::runOnTestFunction(
          functions.make(index),
          [&](VELMORAALG::TOptFunc objective) -> std::unique_ptr<VELMORAALG::SearchEngine> {
            return makeUserEngine(rules, std::move(objective), calls);
          },
          rule);
      calls.raiseKept();
      if (PyErr_CheckSignals() != 0) throw py::error_already_set();
      rows.push_back({index, position, rules.name, NAN, std::nullopt, run});
    }
  }
}

py::dict classRun(const std::string& cls, const std::vector<std::uint64_t>& indices, const py::list& methodList,
                  long long maxTrials, double delta, const std::map<std::string, py::object>& params,
                  std::optional<long long> jobs, std::uint64_t seed) {
  const Cli::ClassRange named = classNamed(cls);
  const std::vector<Cli::ClassRange> ranges = rangesOf(named, indices);
  Cli::ClassOptions options;
  options.params = classParams(params);
  options.seed = seed;
  options.rule = classRule(maxTrials, delta);
  std::string keys;
  std::vector<std::size_t> keyPositions;
  for (std::size_t i = 0; i < methodList.size(); ++i) {
    if (py::isinstance<UserMethod>(methodList[i])) continue;
    keys.append(keys.empty() ? "" : ",").append(methodList[i].cast<std::string>());
    keyPositions.push_back(i);
  }
  std::vector<ClassRow> rows;
  if (!keys.empty()) {
    options.methods = Cli::parseMethods(keys);
    rows = builtInRows(options, ranges, jobCount(jobs), keyPositions);
  }
  for (std::size_t i = 0; i < methodList.size(); ++i)
    if (py::isinstance<UserMethod>(methodList[i]))
      addUserRows(methodList[i].cast<const UserMethod&>(), i, ranges, options.rule, rows);

  // Function by function in the order asked for, and for each, method by method.
  std::map<std::uint64_t, std::size_t> indexOrder;
  for (std::uint64_t index : indices) indexOrder.emplace(index, indexOrder.size());
  std::stable_sort(rows.begin(), rows.end(), [&](const ClassRow& x, const ClassRow& y) {
    const std::size_t ix = indexOrder.at(x.index), iy = indexOrder.at(y.index);
    return ix != iy ? ix < iy : x.methodPosition < y.methodPosition;
  });

  const std::size_t n = rows.size();
  py::array_t<std::uint64_t> index(static_cast<py::ssize_t>(n));
  py::array_t<double> param(static_cast<py::ssize_t>(n));
  py::array_t<double> firstHit(static_cast<py::ssize_t>(n));
  py::array_t<std::uint64_t> seeds(static_cast<py::ssize_t>(n));
  std::vector<std::string> method, stop;
  for (std::size_t i = 0; i < n; ++i) {
    const ClassRow& row = rows[i];
    index.mutable_at(i) = row.index;
    param.mutable_at(i) = row.param;
    firstHit.mutable_at(i) = row.run.firstHit ? *row.run.firstHit : NAN;
    seeds.mutable_at(i) = row.seed.value_or(0);
    method.push_back(row.method);
    stop.emplace_back(Lab::classRunStopKey(row.run.stop));
  }
  py::dict columns;
  columns["class"] = strings(std::vector<std::string>(n, std::string(Cli::classKey(named))));
  columns["index"] = index;
  columns["method"] = strings(method);
  columns["param"] = param;
  if (options.anyStochastic()) columns["seed"] = seeds;
  columns["first_hit"] = firstHit;
  columns["stop"] = strings(stop);
  return columns;
}

py::object optionalFloat(const std::optional<double>& value) {
  return value ? py::object(py::float_(*value)) : py::none();
}

py::dict operational(const std::vector<std::string>& methods, const std::vector<double>& firstHits, int lastK) {
  if (methods.size() != firstHits.size()) throw py::value_error("rows: method and first_hit differ in length");
  std::vector<std::string> order;
  std::map<std::string, std::vector<std::optional<int>>> hits;
  for (std::size_t i = 0; i < methods.size(); ++i) {
    if (!hits.count(methods[i])) order.push_back(methods[i]);
    hits[methods[i]].push_back(std::isnan(firstHits[i]) ? std::nullopt : std::optional(static_cast<int>(firstHits[i])));
  }
  py::dict curves;
  for (const std::string& method : order) {
    const std::vector<Lab::SharePoint> points = Lab::operationalCharacteristic(hits[method], lastK);
    const Lab::FirstHitSummary summary = Lab::summariseFirstHits(hits[method]);
    py::array_t<int> k(static_cast<py::ssize_t>(points.size()));
    py::array_t<double> share(static_cast<py::ssize_t>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
      k.mutable_at(i) = points[i].k;
      share.mutable_at(i) = points[i].share;
    }
    py::dict curve;
    curve["k"] = k;
    curve["share"] = share;
    curve["runs"] = summary.runs;
    curve["solved"] = summary.solved;
    curve["mean_first_hit"] = optionalFloat(summary.meanFirstHit);
    curve["median_first_hit"] = optionalFloat(summary.medianFirstHit);
    curves[py::str(method)] = curve;
  }
  return curves;
}

}  // namespace

double TestFunctionObject::operator()(double x) {
  if (!formula) formula = std::make_shared<Lab::FormulaFunction>(function.formula);
  return (*formula)(x);
}

void addCatalogue(py::module_& m) {
  m.def("methods", &methods, R"doc(
The catalogue of methods.

Returns
-------
list of dict
    One per method, in the catalogue's order: ``id`` (what ``method=``
    takes), ``name``, ``param`` (what the parameter means: "lipschitz",
    "multiplier", "population" or None), ``param_rule`` (which values it
    takes, in words, or None for any), ``default`` and ``installed``.
)doc");

  py::class_<TestFunctionObject>(m, "TestFunction", "A function of a test class; call it to evaluate its formula.")
      .def_property_readonly("cls", [](const TestFunctionObject& t) { return t.cls; }, "The class's key.")
      .def_property_readonly("index", [](const TestFunctionObject& t) { return t.function.index; },
                             "Its number in the class.")
      .def_property_readonly("formula", [](const TestFunctionObject& t) { return t.function.formula; },
                             "The formula; pasted into the window it is the same function.")
      .def_property_readonly("a", [](const TestFunctionObject& t) { return t.function.a; }, "The interval's left end.")
      .def_property_readonly("b", [](const TestFunctionObject& t) { return t.function.b; }, "The interval's right end.")
      .def_property_readonly("xstar", [](const TestFunctionObject& t) { return t.function.xstar; },
                             "The global minimiser, within 1e-9.")
      .def_property_readonly("fstar", [](const TestFunctionObject& t) { return t.function.fstar; },
                             "The formula's value at xstar.")
      .def_property_readonly("L", [](const TestFunctionObject& t) { return t.function.lipschitz; },
                             "The largest |f'| over a grid of 100001 points.")
      .def("__call__", py::vectorize(&TestFunctionObject::operator()), py::arg("x"),
           "The formula's value at x (a float or an array), evaluated in the core.")
      .def("__repr__", [](const TestFunctionObject& t) {
        return "velmora.test_function(\"" + t.cls + "\", " +
               std::to_string(t.function.index) + ")";
      });

  m.def("test_function", &testFunction, py::arg("cls"), py::arg("index"), R"doc(
Function ``index`` of a test class, the same everywhere.

Parameters
----------
cls : str
    A generated class, "hill" or "shekel" (any index), or a shipped test
    set, "hansen20", "hill1000" or "shekel1000" (its rows from 0).
index : int
    Its number in the class, 0 and up.

Returns
-------
TestFunction
    ``.formula``, ``.a``, ``.b``, ``.xstar``, ``.fstar``, ``.L``; callable,
    and a valid objective of ``search``.
)doc");
}

void addClassRuns(py::module_& m) {
  m.def("_class_run", &classRun, py::arg("cls"), py::arg("indices"), py::arg("methods"), py::arg("max_trials"),
        py::arg("delta"), py::arg("params"), py::arg("jobs"), py::arg("seed"));
  m.def("_operational", &operational, py::arg("methods"), py::arg("first_hits"), py::arg("last_k"));
}

}  // namespace Velmora::Python

namespace Velmora::Python {

std::optional<std::string> testFunctionFormula(py::handle objective) {
  if (!py::isinstance<TestFunctionObject>(objective)) return std::nullopt;
  return objective.cast<const TestFunctionObject&>().function.formula;
}

}  // namespace Velmora::Python
