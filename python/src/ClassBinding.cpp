#include "ClassBinding.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <map>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "Arguments.h"
#include "ClassRuns.h"
#include "FunctionSource.h"
#include "NumberText.h"
#include "OperationalCharacteristic.h"
#include "ReadNumber.h"
#include "RunSummaries.h"
#include "TestSet.h"
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
  Lab::ClassRange range = classNamed(cls);
  range.first = range.last = index;
  return {Lab::FunctionSource(range, dataFolder()).make(index), std::string(Lab::classKey(range)), nullptr};
}

// Ascending runs of consecutive indices, each one range of a class run.
std::vector<Lab::ClassRange> rangesOf(const Lab::ClassRange& named, const std::vector<std::uint64_t>& indices) {
  std::vector<Lab::ClassRange> ranges;
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

// Runs items first..last in pieces short enough that Ctrl-C is seen between
// them within a tenth of a second, the GIL released meanwhile; the rows are
// those of one run of them all. An exception of a Method's rules ends the run.
template <class Row>
void inPieces(std::uint64_t first, std::uint64_t last, unsigned jobs, PythonCalls& calls,
              const std::function<std::vector<Row>(std::uint64_t, std::uint64_t)>& run, std::vector<Row>& rows) {
  using Clock = std::chrono::steady_clock;
  constexpr auto Target = std::chrono::milliseconds(30);
  std::uint64_t piece = jobs;
  for (;;) {
    const std::uint64_t end = std::min(last, first + (piece - 1));
    const Clock::time_point start = Clock::now();
    std::vector<Row> done;
    {
      py::gil_scoped_release released;
      done = run(first, end);
    }
    calls.raiseKept();
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    rows.insert(rows.end(), done.begin(), done.end());
    if (end == last) return;
    first = end + 1;
    if (Clock::now() - start < Target / 2) piece *= 2;
  }
}

py::array strings(const std::vector<std::string>& values) {
  return py::module_::import("numpy").attr("array")(py::cast(values), "U");
}

template <class T>
py::array_t<T> column(const std::vector<T>& values) {
  py::array_t<T> array(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), array.mutable_data());
  return array;
}

// methods= as a plan: ids of the catalogue, and Methods of the user's own,
// which run on the plan's threads like the others, each taking the GIL for
// its rules. Where each stands in methods=, to give the rows that order.
struct PlannedMethods {
  Lab::RunPlan plan;
  std::vector<std::size_t> catalogueAt, ownAt;

  PlannedMethods(const py::list& methods, PythonCalls& calls) {
    if (methods.empty()) throw py::value_error("methods is empty: name at least one method");
    plan.methods.clear();
    for (std::size_t i = 0; i < methods.size(); ++i) {
      if (py::isinstance<UserMethod>(methods[i])) {
        const UserMethod& rules = methods[i].cast<const UserMethod&>();
        plan.ownMethods.push_back({rules.name, [&rules, &calls](VELMORAALG::TOptFunc objective) {
                                     return std::unique_ptr<VELMORAALG::SearchEngine>(
                                         makeUserEngine(rules, std::move(objective), calls));
                                   }});
        ownAt.push_back(i);
        continue;
      }
      const std::string key = methodKey(methods[i], "methods[" + std::to_string(i) + "]");
      const Lab::MethodId id = methodNamed(key).id;
      if (std::find(plan.methods.begin(), plan.methods.end(), id) != plan.methods.end())
        throw py::value_error("methods names " + key + " twice");
      plan.methods.push_back(id);
      catalogueAt.push_back(i);
    }
  }

  // Where a row's method stands in methods=.
  std::size_t positionOf(Lab::MethodId method, std::optional<std::size_t> own) const {
    if (own) return ownAt[*own];
    return catalogueAt[static_cast<std::size_t>(std::find(plan.methods.begin(), plan.methods.end(), method) -
                                                plan.methods.begin())];
  }
  std::string nameOf(Lab::MethodId method, std::optional<std::size_t> own) const {
    return own ? plan.ownMethods[*own].name : std::string(Lab::methodInfo(method).key);
  }
  double paramOf(Lab::MethodId method, std::optional<std::size_t> own, double param) const {
    return own || Lab::methodInfo(method).param == Lab::ParamMeaning::None ? NAN : param;
  }
};

// Rows in the order given by key, method by method in the order of methods=.
template <class Row, class Key>
void sortRows(std::vector<Row>& rows, const PlannedMethods& planned, const Key& key) {
  std::stable_sort(rows.begin(), rows.end(), [&](const Row& x, const Row& y) {
    const auto kx = key(x), ky = key(y);
    return kx != ky ? kx < ky : planned.positionOf(x.method, x.own) < planned.positionOf(y.method, y.own);
  });
}

// A Method's rules run on the threads of their run and may start another
// run, whose threads start another: no one thread sees the depth. The runs
// in progress are counted over the whole process instead.
constexpr int MaxRunsInProgress = 64;
std::atomic<int> runsInProgress{0};

class RunInProgress {
 public:
  RunInProgress() {
    if (runsInProgress.fetch_add(1) >= MaxRunsInProgress) {
      runsInProgress.fetch_sub(1);
      PyErr_SetString(PyExc_RecursionError, ("more than " + std::to_string(MaxRunsInProgress) +
                                             " class or test-set runs at once, nested in the rules of Methods")
                                                .c_str());
      throw py::error_already_set();
    }
  }
  ~RunInProgress() { runsInProgress.fetch_sub(1); }
  RunInProgress(const RunInProgress&) = delete;
  RunInProgress& operator=(const RunInProgress&) = delete;
};

// A method that no problem can give its parameter needs one in params=.
void refuseLackingParam(const Lab::RunPlan& plan) {
  if (const auto lacking = plan.methodLackingParam()) {
    const Lab::MethodInfo& info = Lab::methodInfo(*lacking);
    throw py::value_error(std::string(info.key) + " needs params={\"" + std::string(info.key) + "\": " +
                          std::string(info.paramSymbol) + "} in a run over many problems: no problem gives its " +
                          std::string(info.paramNoun));
  }
}

py::dict classRun(const std::string& cls, const std::vector<std::uint64_t>& indices, const py::list& methodList,
                  long long maxTrials, double delta, const std::map<std::string, py::object>& params,
                  std::optional<long long> jobs, std::uint64_t seed, std::optional<long long> seeds) {
  const RunInProgress running;
  const Lab::ClassRange named = classNamed(cls);
  if (indices.size() > Lab::MaxClassFunctions)
    throw py::value_error("indices: at most " + std::to_string(Lab::MaxClassFunctions) +
                          " functions in one run (split them into pieces)");
  PythonCalls calls;
  PlannedMethods planned(methodList, calls);
  Lab::RunPlan& plan = planned.plan;
  plan.params = planParams(params, true);
  refuseLackingParam(plan);
  setSeeds(plan, seed, seeds);
  const Lab::ClassRule rule = classRule(maxTrials, delta);
  const unsigned threads = jobCount(jobs);

  std::vector<Lab::ClassRunRow> rows;
  for (const Lab::ClassRange& range : rangesOf(named, indices)) {
    const Lab::FunctionSource source(range, dataFolder());
    const std::function<std::vector<Lab::ClassRunRow>(std::uint64_t, std::uint64_t)> run =
        [&](std::uint64_t first, std::uint64_t last) {
          Lab::ClassRange piece = range;
          piece.first = first;
          piece.last = last;
          return Lab::runClass(plan, rule, source, piece, threads);
        };
    inPieces(range.first, range.last, threads, calls, run, rows);
  }
  // Function by function in the order asked for.
  std::map<std::uint64_t, std::size_t> indexOrder;
  for (std::uint64_t index : indices) indexOrder.emplace(index, indexOrder.size());
  sortRows(rows, planned, [&](const Lab::ClassRunRow& row) { return indexOrder.at(row.index); });

  std::vector<std::uint64_t> index, seedColumn;
  std::vector<double> param, firstHit;
  std::vector<std::string> method, stop;
  for (const Lab::ClassRunRow& row : rows) {
    index.push_back(row.index);
    param.push_back(planned.paramOf(row.method, row.own, row.param));
    firstHit.push_back(row.run.firstHit ? *row.run.firstHit : NAN);
    seedColumn.push_back(row.seed.value_or(0));
    method.push_back(planned.nameOf(row.method, row.own));
    stop.emplace_back(Lab::classRunStopKey(row.run.stop));
  }
  py::dict columns;
  columns["class"] = strings(std::vector<std::string>(rows.size(), std::string(Lab::classKey(named))));
  columns["index"] = column(index);
  columns["method"] = strings(method);
  columns["param"] = column(param);
  if (plan.anyStochastic()) columns["seed"] = column(seedColumn);
  columns["first_hit"] = column(firstHit);
  columns["stop"] = strings(stop);
  return columns;
}

// A shipped set by its name, else a file of the test-set format.
std::string testSetFile(const std::string& set) {
  const auto shipped = std::find(Lab::ShippedTestSets.begin(), Lab::ShippedTestSets.end(), set);
  if (shipped == Lab::ShippedTestSets.end()) return set;
  return dataFolder() + "/" + set + ".tsv";
}

py::dict testSet(const std::string& set, const py::list& methodList, double epsRel, std::optional<long long> steps,
                 const std::map<std::string, py::object>& params, std::optional<long long> jobs, std::uint64_t seed,
                 std::optional<long long> seeds) {
  const RunInProgress running;
  const std::vector<Lab::Problem> problems = Lab::readProblemsFile(testSetFile(set));
  PythonCalls calls;
  PlannedMethods planned(methodList, calls);
  Lab::RunPlan& plan = planned.plan;
  plan.params = planParams(params, false);
  refuseLackingParam(plan);
  setSeeds(plan, seed, seeds);
  Lab::TestSetProtocol protocol;
  if (!std::isfinite(epsRel)) throw py::value_error("eps_rel: \"" + Lab::shortest(epsRel) + "\" is not a finite number");
  if (!(epsRel > 0)) throw py::value_error("eps_rel must be greater than 0");
  protocol.epsRel = epsRel;
  if (steps) protocol.steps = Lab::checkCount(*steps, "steps", 1, Lab::MaxSteps);
  for (Lab::MethodId method : plan.methods)
    if (!steps && !Lab::takesStop(Lab::methodInfo(method), Lab::StopKind::IntervalLength))
      throw py::value_error(std::string(Lab::methodInfo(method).key) +
                            " stops at a budget of evaluations: give steps=N, not the interval rule of eps_rel");
  const unsigned threads = jobCount(jobs);

  std::vector<Lab::TestSetRow> rows;
  const std::function<std::vector<Lab::TestSetRow>(std::uint64_t, std::uint64_t)> run =
      [&](std::uint64_t first, std::uint64_t last) {
        const std::vector<Lab::Problem> piece(problems.begin() + static_cast<std::ptrdiff_t>(first),
                                              problems.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        return Lab::runTestSet(piece, plan, protocol, threads);
      };
  inPieces(0, problems.size() - 1, threads, calls, run, rows);
  std::map<std::string, std::size_t> problemOrder;
  for (const Lab::Problem& problem : problems) problemOrder.emplace(problem.id, problemOrder.size());
  sortRows(rows, planned, [&](const Lab::TestSetRow& row) { return problemOrder.at(row.id); });

  std::vector<std::string> id, method, success, stop;
  std::vector<double> param, firstHit, error, seconds;
  std::vector<std::uint64_t> trials, seedColumn;
  for (const Lab::TestSetRow& row : rows) {
    id.push_back(row.id);
    method.push_back(planned.nameOf(row.method, row.own));
    param.push_back(planned.paramOf(row.method, row.own, row.param));
    trials.push_back(row.trials);
    success.push_back(row.fault ? "fault" : row.success ? "yes" : "no");
    firstHit.push_back(row.firstHit ? static_cast<double>(*row.firstHit) : NAN);
    error.push_back(row.fault ? NAN : row.error);
    seconds.push_back(row.seconds);
    stop.emplace_back(Lab::stopReasonKey(row.stop.value()));
    seedColumn.push_back(row.seed.value_or(0));
  }
  py::dict columns;
  columns["id"] = strings(id);
  columns["method"] = strings(method);
  columns["param"] = column(param);
  columns["trials"] = column(trials);
  columns["success"] = strings(success);
  columns["first_hit"] = column(firstHit);
  columns["error"] = column(error);
  columns["seconds"] = column(seconds);
  columns["stop"] = strings(stop);
  if (plan.anyStochastic()) columns["seed"] = column(seedColumn);
  return columns;
}

py::object optionalFloat(const std::optional<double>& value) {
  return value ? py::object(py::float_(*value)) : py::none();
}

py::dict operational(const std::vector<std::string>& methods, const std::vector<double>& firstHits,
                     const std::vector<std::uint64_t>& seeds, int lastK) {
  if (methods.size() != firstHits.size()) throw py::value_error("rows: method and first_hit differ in length");
  if (!seeds.empty() && seeds.size() != methods.size()) throw py::value_error("rows: method and seed differ in length");
  std::vector<std::string> order;
  // Per method, per seed (one seed for rows without a seed column).
  std::map<std::string, std::map<std::uint64_t, std::vector<std::optional<int>>>> hits;
  if (lastK < 1) throw py::value_error("max_trials must be at least 1");
  for (std::size_t i = 0; i < methods.size(); ++i) {
    const double hit = firstHits[i];
    // NaN stands for a run that solved nothing; anything else is a count of trials.
    if (!std::isnan(hit) && !(hit >= 1 && hit <= lastK && hit == std::floor(hit)))
      throw py::value_error("rows: row " + std::to_string(i) + ": first_hit " + Lab::shortest(hit) +
                            " is not a whole number from 1 to max_trials " + std::to_string(lastK));
    if (!hits.count(methods[i])) order.push_back(methods[i]);
    hits[methods[i]][seeds.empty() ? 0 : seeds[i]].push_back(
        std::isnan(firstHits[i]) ? std::nullopt : std::optional(static_cast<int>(firstHits[i])));
  }
  py::dict curves;
  for (const std::string& method : order) {
    std::vector<std::vector<std::optional<int>>> bySeed;
    std::vector<std::optional<int>> pooled;
    for (const auto& [seed, seedHits] : hits[method]) {
      bySeed.push_back(seedHits);
      pooled.insert(pooled.end(), seedHits.begin(), seedHits.end());
    }
    const Lab::FirstHitSummary summary = Lab::summariseFirstHits(pooled);
    py::dict curve;
    curve["seeds"] = bySeed.size();
    curve["median_first_hit"] = optionalFloat(summary.medianFirstHit);
    if (bySeed.size() == 1) {
      const std::vector<Lab::SharePoint> points = Lab::operationalCharacteristic(pooled, lastK);
      std::vector<int> k;
      std::vector<double> share;
      for (const Lab::SharePoint& point : points) {
        k.push_back(point.k);
        share.push_back(point.share);
      }
      curve["k"] = column(k);
      curve["share"] = column(share);
      curve["runs"] = summary.runs;
      curve["solved"] = summary.solved;
      curve["mean_first_hit"] = optionalFloat(summary.meanFirstHit);
      curves[py::str(method)] = curve;
      continue;
    }
    // Over the seeds, as velmora-run's summary and picture give them: the
    // zone of the seeds' shares, and each seed's solved runs and mean first
    // hit as their mean with the lowest and the highest.
    std::vector<int> k;
    std::vector<double> low, mean, high, solved, meanHits;
    for (const Lab::ZonePoint& point : Lab::operationalZone(bySeed, lastK)) {
      k.push_back(point.k);
      low.push_back(point.low);
      mean.push_back(point.mean);
      high.push_back(point.high);
    }
    for (const auto& seedHits : bySeed) {
      const Lab::FirstHitSummary one = Lab::summariseFirstHits(seedHits);
      solved.push_back(static_cast<double>(one.solved));
      if (one.meanFirstHit) meanHits.push_back(*one.meanFirstHit);
    }
    curve["k"] = column(k);
    curve["share"] = column(mean);
    curve["low"] = column(low);
    curve["high"] = column(high);
    curve["runs"] = summary.runs / bySeed.size();
    const auto put = [&curve](const char* name, const std::optional<Lab::Spread>& s) {
      curve[name] = s ? py::object(py::float_(s->mean)) : py::none();
      curve[py::str(std::string(name) + "_range")] = s ? py::object(py::make_tuple(s->lowest, s->highest)) : py::none();
    };
    put("solved", Lab::spreadOf(solved));
    put("mean_first_hit", Lab::spreadOf(meanHits));
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
        py::arg("delta"), py::arg("params"), py::arg("jobs"), py::arg("seed"), py::arg("seeds"));
  m.def("_test_set", &testSet, py::arg("set"), py::arg("methods"), py::arg("eps_rel"), py::arg("steps"),
        py::arg("params"), py::arg("jobs"), py::arg("seed"), py::arg("seeds"));
  m.def("_operational", &operational, py::arg("methods"), py::arg("first_hits"), py::arg("seeds"), py::arg("last_k"));
}

}  // namespace Velmora::Python

namespace Velmora::Python {

std::optional<std::string> testFunctionFormula(py::handle objective) {
  if (!py::isinstance<TestFunctionObject>(objective)) return std::nullopt;
  return objective.cast<const TestFunctionObject&>().function.formula;
}

}  // namespace Velmora::Python
