#include "Search.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <unordered_set>

#include "MathReports.h"

namespace Velmora::Lab {

namespace {

using VELMORAALG::AdaptiveLipschitzSearch;
using VELMORAALG::TCharactOpt;

// F with a count of the distinct points it is asked for, however often.
class CountedObjective {
 public:
  explicit CountedObjective(VELMORAALG::TOptFunc f) : f_(std::move(f)) {}
  double operator()(double x) {
    // -0 and +0 are one point; a point that faults was still evaluated.
    seen_.insert(std::bit_cast<std::uint64_t>(x == 0 ? 0.0 : x));
    return f_(x);
  }
  std::size_t distinct() const { return seen_.size(); }

 private:
  VELMORAALG::TOptFunc f_;
  std::unordered_set<std::uint64_t> seen_;
};

template <class Method>
void runUnderRule(Method& method, const SearchRequest& request) {
  switch (request.stop) {
    case StopRule::Steps: method.SearchBySteps(request.xmin, request.xmax, request.steps); break;
    case StopRule::Precision: method.SearchByPrecision(request.xmin, request.xmax, request.eps, request.maxSteps); break;
    case StopRule::IntervalLength:
      method.SearchByIntervalLength(request.xmin, request.xmax, request.eps, request.maxSteps);
      break;
  }
}

StopReason ruleMet(StopRule rule) {
  switch (rule) {
    case StopRule::Steps: return StopReason::StepsDone;
    case StopRule::Precision: return StopReason::PrecisionReached;
    case StopRule::IntervalLength: return StopReason::IntervalRuleMet;
  }
  return StopReason::StepsDone;
}

StopReason reasonOf(const TCharactOpt& method, StopRule rule) {
  return method.PrecisionBoundHit() ? StopReason::StepBoundHit : ruleMet(rule);
}

StopReason reasonOf(const AdaptiveLipschitzSearch& method, StopRule rule) {
  switch (method.GetEnd()) {
    case AdaptiveLipschitzSearch::End::RuleMet: return ruleMet(rule);
    case AdaptiveLipschitzSearch::End::StepBound: return StopReason::StepBoundHit;
    case AdaptiveLipschitzSearch::End::StopRequested: return StopReason::StopRequested;
    case AdaptiveLipschitzSearch::End::PointLeftInterval: return StopReason::PointLeftInterval;
    case AdaptiveLipschitzSearch::End::NoComparableInterval: return StopReason::NoComparableInterval;
  }
  return ruleMet(rule);
}

StopReason reasonOf(const VELMORAALG::NloptSearch&, StopRule rule) {
  // A requested stop is told by the caller; a peer knows only its budget.
  return ruleMet(rule);
}

// Any engine: they answer to the same names.
template <class Method>
SearchOutcome runMethod(Method& method, const SearchRequest& request, double paramUsed) {
  SearchOutcome outcome;
  outcome.paramUsed = paramUsed;
  bool stopRequested = false;
  // A step run knows how many records it will make; others grow as they go.
  if (request.recordSteps && request.stop == StopRule::Steps && request.steps > 0)
    outcome.stepRecords.reserve(static_cast<std::size_t>(request.steps));
  if (request.recordSteps || request.stopAfter) {
    method.SetStepObserver([&](const VELMORAALG::TStepRecord& r) {
      if (request.recordSteps) outcome.stepRecords.push_back(r);
      if (request.stopAfter && request.stopAfter(r)) {
        stopRequested = true;
        method.RequestStop();
      }
    });
  } else {
    method.SetStepObserver({});
  }

  {
    MathReports reports;
    const auto start = std::chrono::steady_clock::now();
    try {
      runUnderRule(method, request);
      outcome.stop = stopRequested ? StopReason::StopRequested : reasonOf(method, request.stop);
    } catch (const std::exception& fault) {
      outcome.stop = StopReason::Fault;
      outcome.fault = fault.what();
    }
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.reports = reports.distinct();
  }
  // The observer writes into this outcome, which is about to move.
  method.SetStepObserver({});

  outcome.bestX = method.GetBestX();
  outcome.fBest = method.GetBestValue();
  outcome.precision = method.GetPrecision();
  outcome.stepCount = method.GetStepCount();
  const std::vector<VELMORAALG::TSearchInfo> trials = method.GetTrials();
  const std::vector<double> values = method.GetTrialValues();
  const std::vector<int> order = method.GetTrialOrder();
  outcome.trials.reserve(trials.size());
  for (std::size_t i = 0; i < trials.size(); ++i)
    outcome.trials.push_back({trials[i].X, values[i], trials[i].Charact, order[i]});
  return outcome;
}

}  // namespace

std::string_view stopReasonKey(StopReason reason) {
  switch (reason) {
    case StopReason::StepsDone: return "steps";
    case StopReason::PrecisionReached: return "precision";
    case StopReason::IntervalRuleMet: return "interval";
    case StopReason::StepBoundHit: return "bound";
    case StopReason::Fault: return "fault";
    case StopReason::StopRequested: return "requested";
    case StopReason::PointLeftInterval: return "left-interval";
    case StopReason::NoComparableInterval: return "no-interval";
  }
  return "";
}

SearchOutcome runSearch(TCharactOpt& method, const SearchRequest& request) {
  const MethodInfo& info = methodInfo(request.method);
  const double entered = request.param.value_or(info.defaultParam);
  info.applyParam(method, entered);
  return runMethod(method, request, info.effectiveParam(entered));
}

SearchOutcome runSearch(const SearchRequest& request) {
  const MethodInfo& info = methodInfo(request.method);
  auto objective = std::make_shared<CountedObjective>(request.objective);
  const VELMORAALG::TOptFunc counted = [objective](double x) { return (*objective)(x); };
  SearchOutcome outcome;
  if (info.family == MethodFamily::CharacteristicScheme) {
    outcome = runSearch(*info.make(counted), request);
  } else if (info.family == MethodFamily::AdaptiveEstimate) {
    const double entered = request.param.value_or(info.defaultParam);
    const std::unique_ptr<AdaptiveLipschitzSearch> method = info.makeAdaptive(counted, entered);
    outcome = runMethod(*method, request, info.effectiveParam(entered));
  } else {
    const double entered = request.param.value_or(info.defaultParam);
    const std::unique_ptr<VELMORAALG::NloptSearch> method = info.makePeer(counted, entered, request.seed);
    outcome = runMethod(*method, request, info.effectiveParam(entered));
    outcome.engineResult = method->GetResultCode();
    outcome.engineResultText = method->GetResultText();
  }
  outcome.evaluations = objective->distinct();
  return outcome;
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
