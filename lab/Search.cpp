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

StopReason runUnderRule(TCharactOpt& method, const SearchRequest& request) {
  switch (request.stop) {
    case StopRule::Steps:
      method.SearchBySteps(request.xmin, request.xmax, request.steps);
      return StopReason::StepsDone;
    case StopRule::Precision:
      method.SearchByPrecision(request.xmin, request.xmax, request.eps, request.maxSteps);
      return method.PrecisionBoundHit() ? StopReason::StepBoundHit : StopReason::PrecisionReached;
    case StopRule::IntervalLength:
      method.SearchByIntervalLength(request.xmin, request.xmax, request.eps, request.maxSteps);
      return method.PrecisionBoundHit() ? StopReason::StepBoundHit : StopReason::IntervalRuleMet;
  }
  return StopReason::StepsDone;
}

}  // namespace

SearchOutcome runSearch(TCharactOpt& method, const SearchRequest& request) {
  const MethodInfo& info = methodInfo(request.method);
  SearchOutcome outcome;
  info.applyParam(method, request.param);
  outcome.paramUsed = info.effectiveParam(request.param);
  if (request.recordSteps)
    method.SetStepObserver([&outcome](const VELMORAALG::TStepRecord& r) { outcome.stepRecords.push_back(r); });
  else
    method.SetStepObserver({});

  {
    MathReports reports;
    const auto start = std::chrono::steady_clock::now();
    try {
      outcome.stop = runUnderRule(method, request);
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

SearchOutcome runSearch(const SearchRequest& request) {
  auto objective = std::make_shared<CountedObjective>(request.objective);
  const std::unique_ptr<TCharactOpt> method =
      methodInfo(request.method).make([objective](double x) { return (*objective)(x); });
  SearchOutcome outcome = runSearch(*method, request);
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
