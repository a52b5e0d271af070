#include "Search.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <stdexcept>
#include <unordered_set>

#include "MathReports.h"
#include "NumberText.h"

namespace Velmora::Lab {

namespace {

using VELMORAALG::SearchEngine;

// F, or F with its slope, with a count of the distinct points it is asked
// for, however often.
template <class Function>
class CountedObjective {
 public:
  explicit CountedObjective(Function f) : f_(std::move(f)) {}
  auto operator()(double x) {
    // -0 and +0 are one point; a point that faults was still evaluated.
    seen_.insert(std::bit_cast<std::uint64_t>(x == 0 ? 0.0 : x));
    ++calls_;
    try {
      const auto value = f_(x);
      const double z = valueOf(value);
      if (!firstNonFinite_ && !std::isfinite(z)) firstNonFinite_ = NonFiniteTrial{calls_, x, z};
      return value;
    } catch (...) {
      faulted_ = true;
      throw;
    }
  }
  std::size_t distinct() const { return seen_.size(); }
  bool faulted() const { return faulted_; }
  // The first value that was not a finite number, numbered in the order of
  // the calls, which is the order of placing for the methods that place
  // each point once.
  const std::optional<NonFiniteTrial>& firstNonFinite() const { return firstNonFinite_; }

 private:
  static double valueOf(double z) { return z; }
  static double valueOf(const VELMORAALG::TValueSlope& both) { return both.Value; }

  Function f_;
  std::unordered_set<std::uint64_t> seen_;
  int calls_ = 0;
  bool faulted_ = false;
  std::optional<NonFiniteTrial> firstNonFinite_;
};

template <class Function, class Maker>
SearchOutcome runCounted(const SearchRequest& request, Function f, Maker make) {
  auto objective = std::make_shared<CountedObjective<Function>>(std::move(f));
  const std::unique_ptr<SearchEngine> method = make([objective](double x) { return (*objective)(x); });
  SearchOutcome outcome = runSearch(*method, request);
  outcome.evaluations = objective->distinct();
  outcome.faultInMethod = outcome.fault && !objective->faulted();
  // A method's arithmetic that faulted may have kept no trials: the value
  // that brought it down is known from the calls.
  if (outcome.faultInMethod && !outcome.firstNonFinite) outcome.firstNonFinite = objective->firstNonFinite();
  return outcome;
}

VELMORAALG::StopRule ruleOf(const SearchRequest& request) {
  return {request.stop, request.steps, request.eps, request.maxSteps};
}

void countTrialsOutside(SearchOutcome& outcome, double xmin, double xmax) {
  for (const Trial& trial : outcome.trials) {
    if (trial.x >= xmin && trial.x <= xmax) continue;
    ++outcome.trialsOutside;
    // The trial placed k-th is step k - 2's point.
    const int step = trial.placed - 2;
    if (outcome.firstStepOutside == 0 || step < outcome.firstStepOutside) outcome.firstStepOutside = step;
  }
}

// A faulted run's trials that it never reached hold NaN as their value: only
// an infinite value is then known to be met.
std::optional<NonFiniteTrial> firstNonFinite(const SearchOutcome& outcome) {
  std::optional<NonFiniteTrial> first;
  for (const Trial& trial : outcome.trials) {
    const bool valueMet = outcome.fault ? std::isinf(trial.f) : !std::isfinite(trial.f);
    if (!(std::isnan(trial.x) || valueMet)) continue;
    if (!first || trial.placed < first->placed) first = NonFiniteTrial{trial.placed, trial.x, trial.f};
  }
  return first;
}

std::string ordinal(int n) {
  const int lastTwo = n % 100, last = n % 10;
  const char* suffix = lastTwo >= 11 && lastTwo <= 13 ? "th" : last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
  return std::to_string(n) + suffix;
}

}  // namespace

SearchOutcome runSearch(SearchEngine& method, const SearchRequest& request) {
  SearchOutcome outcome;
  if (request.method) {
    const MethodInfo& info = methodInfo(*request.method);
    outcome.paramUsed = info.effectiveParam(request.param.value_or(info.defaultParam));
    method.SetParameter(outcome.paramUsed);
  }
  method.SetSeed(request.seed);
  // A step run knows how many records it will make; others grow as they go.
  if (request.recordSteps && request.stop == StopKind::Steps && request.steps > 0)
    outcome.stepRecords.reserve(static_cast<std::size_t>(request.steps));
  if (request.recordSteps || request.stopAfter) {
    method.SetStepObserver([&](const VELMORAALG::TStepRecord& r) {
      if (request.recordSteps) outcome.stepRecords.push_back(r);
      if (request.stopAfter && request.stopAfter(r)) method.RequestStop();
    });
  } else {
    method.SetStepObserver({});
  }

  {
    MathReports reports;
    const auto start = std::chrono::steady_clock::now();
    try {
      method.Run(request.xmin, request.xmax, ruleOf(request));
    } catch (const std::exception& fault) {
      outcome.fault = fault.what();
    }
    outcome.stop = method.GetStopReason();
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.reports = reports.distinct();
  }
  // The observer writes into this outcome, which is about to move.
  method.SetStepObserver({});

  outcome.bestX = method.GetBestX();
  outcome.fBest = method.GetBestValue();
  outcome.precision = method.GetPrecision();
  outcome.stepCount = method.GetStepCount();
  if (const auto result = method.GetEngineResult()) {
    outcome.engineResult = result->code;
    outcome.engineResultText = result->text;
  }
  outcome.trials = method.GetTrials();
  outcome.slopes = method.GetSlopes();
  if (request.keepIntervalConstants) outcome.intervalConstants = method.GetIntervalConstants();
  countTrialsOutside(outcome, request.xmin, request.xmax);
  outcome.firstNonFinite = firstNonFinite(outcome);
  return outcome;
}

SearchOutcome runSearch(const SearchRequest& request) {
  const MethodInfo& info = methodInfo(request.method.value());
  if (!info.makeWithSlope) return runCounted(request, request.objective, info.make);
  if (!request.slopeObjective) throw std::invalid_argument(slopeMissing(info));
  return runCounted(request, request.slopeObjective, info.makeWithSlope);
}

bool succeeded(StopReason stop) {
  switch (stop) {
    case StopReason::StepsDone:
    case StopReason::PrecisionReached:
    case StopReason::IntervalRuleMet:
    case StopReason::StopRequested:
    case StopReason::IntervalUnsplittable: return true;
    case StopReason::StepBoundHit:
    case StopReason::Fault:
    case StopReason::PointLeftInterval:
    case StopReason::NoComparableInterval: return false;
  }
  return false;
}

std::string slopeMissing(const MethodInfo& method) {
  return "the method " + std::string(method.key) + " uses the derivative f', and this objective has none";
}

bool succeeded(const SearchOutcome& outcome) {
  return succeeded(outcome.stop) && !outcome.fault && !outcome.firstNonFinite;
}

std::string nonFiniteText(const NonFiniteTrial& trial) {
  if (std::isnan(trial.x)) return "the trial placed " + ordinal(trial.placed) + " is at x = nan";
  return "F = " + shortest(trial.f) + " at x = " + shortest(trial.x) + ", the trial placed " + ordinal(trial.placed);
}

std::string outcomeMessage(const SearchOutcome& outcome) {
  std::string message = outcome.fault
                            ? *outcome.fault + (outcome.faultInMethod ? " in the method's own arithmetic, not in F" : "")
                            : std::string(stopReasonText(outcome.stop));
  if (const auto& first = outcome.firstNonFinite)
    message += (outcome.fault ? "; it met " : "; the run met a point or a value that is not a finite number: ") +
               nonFiniteText(*first);
  return message;
}

std::vector<double> placementOrder(const std::vector<Trial>& trials) {
  std::vector<const Trial*> byPlace;
  byPlace.reserve(trials.size());
  for (const Trial& t : trials) byPlace.push_back(&t);
  std::sort(byPlace.begin(), byPlace.end(), [](const Trial* a, const Trial* b) { return a->placed < b->placed; });
  std::vector<double> xs;
  xs.reserve(trials.size());
  for (const Trial* t : byPlace) xs.push_back(t->x);
  return xs;
}

}  // namespace Velmora::Lab
