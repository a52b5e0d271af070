#include "Arguments.h"

#include <cmath>
#include <thread>

#include <pybind11/pybind11.h>

#include "NumberText.h"

namespace Velmora::Python {

namespace {

namespace py = pybind11;

// velmora-run's bounds for --jobs.
constexpr long long MaxJobs = 256;

[[noreturn]] void refuse(const std::string& text) { throw py::value_error(text); }

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// "a, b or c"
template <class Items, class Key>
std::string listed(const Items& items, Key key) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i)
    text.append(i == 0 ? "" : i + 1 == items.size() ? " or " : ", ").append(key(items[i]));
  return text;
}

long long inRange(long long value, const std::string& what, long long lo, long long hi) {
  if (value < lo || value > hi)
    refuse(what + ": " + std::to_string(value) + " is out of range (expected a whole number from " +
           std::to_string(lo) + " to " + std::to_string(hi) + ")");
  return value;
}

double finite(double value, const std::string& what) {
  if (!std::isfinite(value)) refuse(what + ": " + shortest(value) + " is not a finite number");
  return value;
}

}  // namespace

const Lab::MethodInfo& methodNamed(const std::string& key) {
  if (const Lab::MethodInfo* info = Lab::findMethod(key)) return *info;
  refuse("unknown method " + quoted(key) + " (expected " +
         listed(Lab::allMethods(), [](const Lab::MethodInfo& info) { return info.key; }) + ")");
}

const Lab::TestClass& classNamed(const std::string& key) {
  if (const Lab::TestClass* cls = Lab::findTestClass(key)) return *cls;
  refuse("unknown class " + quoted(key) + " (expected " +
         listed(Lab::testClasses(), [](const Lab::TestClass& c) { return c.key; }) + ")");
}

void checkBounds(double a, double b) {
  finite(a, "bounds A");
  finite(b, "bounds B");
  if (!(a < b)) refuse("bounds: A must be less than B");
}

std::optional<double> checkedParam(const Lab::MethodInfo& method, std::optional<double> param) {
  if (!param) return param;
  if (method.param == Lab::ParamMeaning::None) refuse("param is not used by the " + std::string(method.key) + " method");
  finite(*param, "param");
  if (!method.acceptsParam(*param))
    refuse("param: the multiplier of " + std::string(method.key) + " must be " + std::string(method.paramRule));
  return param;
}

StopChoice stopChoice(std::optional<long long> steps, std::optional<double> precision, std::optional<double> eps) {
  const int rules = (steps ? 1 : 0) + (precision ? 1 : 0) + (eps ? 1 : 0);
  if (rules == 0) refuse("a stop rule is required: steps=N, precision=E or eps=E");
  if (rules > 1) refuse("give only one stop rule: steps=, precision= or eps=");
  if (steps) return {Lab::StopRule::Steps, static_cast<int>(inRange(*steps, "steps", 1, Lab::MaxSteps)), 0};
  // As in the window, an eps the run cannot reach is taken: the step bound ends the run and says so.
  if (precision) return {Lab::StopRule::Precision, 0, finite(*precision, "precision")};
  return {Lab::StopRule::IntervalLength, 0, finite(*eps, "eps")};
}

std::array<double, 9> formulaParams(const std::vector<double>& params) {
  if (params.size() > 9) refuse("params takes at most 9 values, for x[1]..x[9]");
  std::array<double, 9> values{};
  for (std::size_t i = 0; i < params.size(); ++i)
    values[i] = finite(params[i], "params value " + std::to_string(i + 1) + " (x[" + std::to_string(i + 1) + "])");
  return values;
}

Lab::ClassRule classRule(long long maxTrials, double delta) {
  Lab::ClassRule rule;
  rule.maxTrials = static_cast<int>(inRange(maxTrials, "max_trials", 2, Lab::MaxSteps + 2));
  if (!(delta > 0)) refuse("delta must be greater than 0");
  rule.delta = finite(delta, "delta");
  return rule;
}

unsigned jobCount(std::optional<long long> jobs) {
  if (!jobs) return std::max(std::thread::hardware_concurrency(), 1u);
  return static_cast<unsigned>(inRange(*jobs, "jobs", 1, MaxJobs));
}

std::optional<double> classParam(const Lab::MethodInfo& method, const std::string& given, double value) {
  const std::string what = "params[" + quoted(method.key) + "]";
  switch (method.param) {
    case Lab::ParamMeaning::None: refuse(what + ": " + std::string(method.key) + " takes no parameter");
    case Lab::ParamMeaning::LipschitzEstimate:
      if (given == "from-function") return std::nullopt;
      if (!(finite(value, what) > 0)) refuse(what + " must be greater than 0");
      return value;
    case Lab::ParamMeaning::Multiplier:
      if (!method.acceptsParam(finite(value, what)))
        refuse(what + ": the multiplier r must be " + std::string(method.paramRule));
      return value;
  }
  return value;
}

}  // namespace Velmora::Python
