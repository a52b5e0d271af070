#include "Arguments.h"

#include <thread>

#include "NumberText.h"

namespace Velmora::Python {

namespace {

namespace py = pybind11;

// velmora-run's bound for --jobs.
constexpr int MaxJobs = 256;

// A whole number through velmora-run's check of the option it stands for.
int counted(long long value, const char* option, int lo, int hi) {
  return Cli::parseCount(std::to_string(value), option, lo, hi);
}

}  // namespace

const Lab::MethodInfo& methodNamed(const std::string& key) { return Lab::methodInfo(Cli::parseMethod(key)); }

Cli::ClassRange classNamed(const std::string& key) { return Cli::parseClass(key).first; }

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
    request.steps = counted(*steps, "--steps", 1, Lab::MaxSteps);
  } else {
    request.stop = precision ? Lab::StopKind::Precision : Lab::StopKind::IntervalLength;
    request.eps = precision ? *precision : *eps;
  }
}

std::array<double, 9> formulaParams(const std::vector<double>& params) {
  std::string text;
  for (std::size_t i = 0; i < params.size(); ++i) text.append(i ? "," : "").append(shortest(params[i]));
  return params.empty() ? std::array<double, 9>{} : Cli::parseParams(text);
}

Lab::ClassRule classRule(long long maxTrials, double delta) {
  Lab::ClassRule rule;
  rule.maxTrials = counted(maxTrials, "--max-trials", 2, Lab::MaxSteps + 2);
  rule.delta = Cli::parseNumber(shortest(Cli::positive(delta, "--delta")), "--delta");
  return rule;
}

unsigned jobCount(std::optional<long long> jobs) {
  if (!jobs) return std::max(std::thread::hardware_concurrency(), 1u);
  return static_cast<unsigned>(counted(*jobs, "--jobs", 1, MaxJobs));
}

std::map<Lab::MethodId, double> classParams(const std::map<std::string, py::object>& params) {
  std::vector<std::pair<std::string, std::string>> given;
  for (const auto& [key, value] : params) {
    methodNamed(key);
    given.emplace_back("--param-" + key,
                       py::isinstance<py::str>(value) ? value.cast<std::string>() : shortest(value.cast<double>()));
  }
  return Cli::parseBatchParams(given, true);
}

}  // namespace Velmora::Python
