#include "SearchEngine.h"

#include <stdexcept>
#include <utility>

namespace VELMORAALG {

std::string SearchEngine::RuleRefusal(StopRule::Kind) const { return {}; }

StopReason SearchEngine::Run(double xmin, double xmax, const StopRule& rule) {
  stopRequested_ = false;
  // Stays so when the run leaves by an exception.
  stopReason_ = StopReason::Fault;
  if (const std::string refusal = RuleRefusal(rule.kind); !refusal.empty()) throw std::invalid_argument(refusal);
  const StopReason met = RunToRule(xmin, xmax, rule);
  // A run stops after the step that asked for it, so whatever else that step met, the request ended it.
  stopReason_ = stopRequested_ ? StopReason::StopRequested : met;
  return stopReason_;
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
