#include "SearchTrace.h"

#include <stdexcept>
#include <utility>

#include "Rules.h"

namespace Velmora::Lab {

std::vector<double> bestAfterEachStep(const SearchOutcome& outcome) {
  // The ends stay first and last in the list, whatever comes between them.
  double best = outcome.trials.front().f;
  const double last = outcome.trials.back().f;
  if (VELMORAALG::IsLower(last, best)) best = last;
  std::vector<double> bests;
  bests.reserve(outcome.stepRecords.size() + 1);
  bests.push_back(best);
  for (const VELMORAALG::TStepRecord& record : outcome.stepRecords) {
    if (VELMORAALG::IsLower(record.Z, best)) best = record.Z;
    bests.push_back(best);
  }
  return bests;
}

SearchTrace::SearchTrace(MethodId method, SearchOutcome outcome) : method_(method), outcome_(std::move(outcome)) {
  if (!methodInfo(method_).characteristic)
    throw std::invalid_argument("a trace needs a method whose step constant gives every characteristic");
  if (outcome_.fault || outcome_.stepRecords.size() != static_cast<std::size_t>(outcome_.stepCount) ||
      outcome_.trials.size() != static_cast<std::size_t>(outcome_.stepCount) + 2)
    throw std::invalid_argument("a trace needs a run that finished and recorded every step");

  best_ = bestAfterEachStep(outcome_);
}

// Inserting a point never reorders the trials already in the list, so the
// list after k steps is the final one without the points placed later. Every
// characteristic of that list was computed with step k's constant: Strongin's
// method recomputes them all whenever its constant changes.
void SearchTrace::stateAfter(int k, TraceState& out) const {
  out.step = k;
  out.trials.clear();
  out.characts.clear();
  const int lastPlaced = k + 2;
  for (const Trial& trial : outcome_.trials)
    if (trial.placed <= lastPlaced) out.trials.push_back({trial.x, trial.f});

  if (k == 0) {
    // The one interval's characteristic came from the constant the method
    // object held before the run, which only step 1's record still tells.
    out.characts.push_back(stepCount() > 0 ? step(1).Charact : outcome_.trials.front().charact);
    return;
  }
  const double constant = step(k).Constant;
  const auto characteristic = methodInfo(method_).characteristic;
  out.characts.reserve(out.trials.size() - 1);
  for (std::size_t i = 0; i + 1 < out.trials.size(); ++i) {
    const TracePoint& left = out.trials[i];
    const TracePoint& right = out.trials[i + 1];
    out.characts.push_back(toDouble(characteristic(sub(right.x, left.x), left.f, right.f, constant)));
  }
}

}  // namespace Velmora::Lab
