#include "Arguments.h"

#include <cmath>

#include "NumberText.h"
#include "ParallelRuns.h"
#include "ReadNumber.h"
#include "RequestCheck.h"

namespace Velmora::Python {

namespace {

namespace py = pybind11;

// How Python names each field of a request: search()'s parameters.
const char* parameterOf(Lab::RequestField field) {
  switch (field) {
    case Lab::RequestField::IntervalStart: return "bounds[0]";
    case Lab::RequestField::IntervalEnd: return "bounds[1]";
    case Lab::RequestField::Interval: return "bounds";
    case Lab::RequestField::Param: return "param";
    case Lab::RequestField::Steps: return "steps";
    case Lab::RequestField::Precision: return "precision";
    case Lab::RequestField::IntervalEps: return "eps";
  }
  return "";
}

}  // namespace

const Lab::MethodInfo& methodNamed(const std::string& key) { return Lab::methodInfo(Lab::readMethod(key)); }

std::string methodKey(py::handle method, const std::string& name) {
  if (!py::isinstance<py::str>(method))
    throw py::type_error(name + " must be a method's id (str) or a velmora.Method, not " +
                         std::string(py::str(py::type::of(method).attr("__name__"))));
  return method.cast<std::string>();
}

std::pair<double, double> boundsOf(py::handle bounds) {
  const auto number = [](py::handle item) { return !py::isinstance<py::str>(item) && PyNumber_Check(item.ptr()); };
  if (!py::isinstance<py::sequence>(bounds) || py::isinstance<py::str>(bounds) || py::len(bounds) != 2 ||
      !number(bounds[py::int_(0)]) || !number(bounds[py::int_(1)]))
    throw py::type_error("bounds must be a pair of numbers (a, b)");
  return {py::float_(bounds[py::int_(0)]).cast<double>(), py::float_(bounds[py::int_(1)]).cast<double>()};
}

Lab::ClassRange classNamed(const std::string& key) { return Lab::parseClassRange(key, "cls").first; }

std::string dataFolder() {
  const py::object path = py::module_::import("os.path");
  const py::object package = py::module_::import("velmora").attr("__file__");
  return path.attr("join")(path.attr("dirname")(package), "data").cast<std::string>();
}

void setStopRule(Lab::SearchRequest& request, std::optional<long long> steps, std::optional<double> precision,
                 std::optional<double> eps) {
  const int rules = (steps ? 1 : 0) + (precision ? 1 : 0) + (eps ? 1 : 0);
  if (rules == 0) throw py::value_error("a stop rule is required: steps=N, precision=E or eps=E");
  if (rules > 1) throw py::value_error("give only one stop rule: steps=, precision= or eps=");
  if (steps) {
    request.stop = Lab::StopKind::Steps;
    request.steps = Lab::checkCount(*steps, "steps", 1, Lab::MaxSteps);
  } else {
    request.stop = precision ? Lab::StopKind::Precision : Lab::StopKind::IntervalLength;
    request.eps = precision ? *precision : *eps;
  }
}

void checkRequest(const Lab::SearchRequest& request) {
  if (const auto fault = Lab::checkRequest(request)) throw py::value_error(fault->text(parameterOf(fault->field)));
}

std::array<double, 9> formulaParams(const std::vector<double>& params) {
  if (params.size() > 9) throw py::value_error("params takes at most 9 values, for x[1]..x[9]");
  std::array<double, 9> values{};
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (!std::isfinite(params[i]))
      throw py::value_error("params[" + std::to_string(i) + "]: \"" + Lab::shortest(params[i]) + "\" is not a finite number");
    values[i] = params[i];
  }
  return values;
}

Lab::ClassRule classRule(long long maxTrials, double delta) {
  Lab::ClassRule rule;
  rule.maxTrials = Lab::checkCount(maxTrials, "max_trials", 2, Lab::MaxSteps + 2);
  if (!std::isfinite(delta)) throw py::value_error("delta: \"" + Lab::shortest(delta) + "\" is not a finite number");
  if (!(delta > 0)) throw py::value_error("delta must be greater than 0");
  rule.delta = delta;
  return rule;
}

unsigned jobCount(std::optional<long long> jobs) {
  if (!jobs) return Lab::jobsOrCores(std::nullopt);
  return static_cast<unsigned>(Lab::checkCount(*jobs, "jobs", 1, Lab::MaxJobs));
}

std::map<Lab::MethodId, double> planParams(const std::map<std::string, py::object>& params, bool classRuns) {
  const std::string fromProblem = classRuns ? "from-function" : "from-file";
  std::map<Lab::MethodId, double> plan;
  for (const auto& [key, value] : params) {
    const Lab::MethodInfo& info = methodNamed(key);
    const std::string name = "params[\"" + key + "\"]";
    if (py::isinstance<py::str>(value)) {
      if (info.param == Lab::ParamMeaning::LipschitzEstimate && value.cast<std::string>() == fromProblem) continue;
      throw py::value_error(name + ": a number" +
                            (info.param == Lab::ParamMeaning::LipschitzEstimate ? " or \"" + fromProblem + "\"" : ""));
    }
    if (!PyNumber_Check(value.ptr())) throw py::type_error(name + " must be a number");
    const double number = py::float_(value).cast<double>();
    if (const auto fault = Lab::checkPlanParam(info.id, number)) throw py::value_error(fault->text(name));
    plan[info.id] = number;
  }
  return plan;
}

void setSeeds(Lab::RunPlan& plan, std::uint64_t seed, std::optional<long long> seeds) {
  plan.seed = seed;
  if (seeds) plan.seeds = Lab::checkCount(*seeds, "seeds", 1, Lab::MaxSeeds);
}

}  // namespace Velmora::Python
