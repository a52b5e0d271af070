#include "SearchEngine.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace VELMORAALG {

std::string SearchEngine::RuleRefusal(StopRule::Kind) const { return {}; }

StopReason SearchEngine::Run(double xmin, double xmax, const StopRule& rule) {
  stopRequested_ = false;
  // Stays so when the run leaves by an exception.
  stopReason_ = StopReason::Fault;
  if (const std::string refusal = RuleRefusal(rule.kind); !refusal.empty()) throw std::invalid_argument(refusal);
  if (!TakesAnyInterval() && !(std::isfinite(xmin) && std::isfinite(xmax) && xmin < xmax))
    throw std::invalid_argument(IntervalRefusal);
  Start(xmin, xmax);
  // Only now: a fault of F at the ends leaves the count as the window's rules
  // leave it, the last run's (the variants clear it in their Start).
  stepCount_ = 0;
  stopReason_ = Drive(rule);
  return stopReason_;
}

StopReason SearchEngine::Drive(const StopRule& rule) {
  for (;;)
    if (const std::optional<StopReason> end = Step(rule)) return *end;
}

std::optional<StopReason> SearchEngine::Step(const StopRule& rule) {
  if (rule.kind == StopRule::Kind::Steps && stepCount_ >= rule.steps) return StopReason::StepsDone;
  if (!Choose()) return StopReason::NoComparableInterval;
  if (rule.kind == StopRule::Kind::IntervalLength) {
    if (ChosenLength() <= rule.eps) return StopReason::IntervalRuleMet;
    if (stepCount_ >= rule.maxSteps) return StopReason::StepBoundHit;
  }
  TStepRecord record;
  if (const std::optional<StopReason> end = Place(record)) return *end;
  ++stepCount_;
  if (observer_) {
    record.Step = stepCount_;
    observer_(record);
  }
  // A run stops after the step that asked for it, so whatever else that step met, the request ended it.
  if (stopRequested_) return StopReason::StopRequested;
  if (rule.kind == StopRule::Kind::Precision) {
    if (!(precision_ > rule.eps)) return StopReason::PrecisionReached;
    if (stepCount_ >= rule.maxSteps) return StopReason::StepBoundHit;
  }
  return std::nullopt;
}

double SearchEngine::SearchBySteps(double xmin, double xmax, int steps) {
  Run(xmin, xmax, StopRule::Steps(steps));
  return bestX_;
}

double SearchEngine::SearchByPrecision(double xmin, double xmax, double eps, int maxSteps) {
  Run(xmin, xmax, StopRule::Precision(eps, maxSteps));
  return bestX_;
}

double SearchEngine::SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps) {
  Run(xmin, xmax, StopRule::IntervalLength(eps, maxSteps));
  return bestX_;
}

void SearchEngine::SetStepObserver(TStepObserver observer) { observer_ = std::move(observer); }

void SearchEngine::RequestStop() { stopRequested_ = true; }

StopReason SearchEngine::GetStopReason() const { return stopReason_; }
double SearchEngine::GetBestX() const { return bestX_; }
double SearchEngine::GetBestValue() const { return bestZ_; }
double SearchEngine::GetPrecision() const { return precision_; }
int SearchEngine::GetStepCount() const { return stepCount_; }

}  // namespace VELMORAALG
