#include "SearchTrace.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdlib>
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

namespace {

std::atomic<std::uint64_t> tracesMade{0};

}  // namespace

SearchTrace::SearchTrace(MethodId method, SearchOutcome outcome)
    : id_(++tracesMade), method_(method), outcome_(std::move(outcome)) {
  if (!methodInfo(method_).characteristic)
    throw std::invalid_argument("a trace needs a method whose step constant gives every characteristic");
  if (outcome_.fault || outcome_.stepRecords.size() != static_cast<std::size_t>(outcome_.stepCount) ||
      outcome_.trials.size() != static_cast<std::size_t>(outcome_.stepCount) + 2)
    throw std::invalid_argument("a trace needs a run that finished and recorded every step");

  best_ = bestAfterEachStep(outcome_);
  sorted_ = std::is_sorted(outcome_.trials.begin(), outcome_.trials.end(),
                           [](const Trial& a, const Trial& b) { return a.x < b.x; });
}

// Inserting a point never reorders the trials already in the list, so the
// list after k steps is the final one without the points placed later. Every
// characteristic of that list was computed with step k's constant: Strongin's
// method recomputes them all whenever its constant changes. A replay that
// moves by one step under the same constant changes only the intervals
// around that step's point, which keeps late steps of a long run quick.
void SearchTrace::stateAfter(int k, TraceState& out) const {
  const int from = out.step;
  const bool written = out.trace == id_ && out.trials.size() == static_cast<std::size_t>(from) + 2 &&
                       out.characts.size() == out.trials.size() - 1;
  if (written && from == k) return;
  const bool sameConstant = from >= 1 && k >= 1 && std::abs(k - from) == 1 &&
                            std::bit_cast<std::uint64_t>(step(from).Constant) ==
                                std::bit_cast<std::uint64_t>(step(k).Constant);
  if (written && sameConstant) {
    if (k > from)
      addStep(k, out);
    else
      removeStep(from, out);
    out.step = k;
    return;
  }

  out.trace = id_;
  out.step = k;
  out.trials.clear();
  out.characts.clear();
  out.pieces.clear();
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
  out.characts.reserve(out.trials.size() - 1);
  for (std::size_t i = 0; i + 1 < out.trials.size(); ++i)
    out.characts.push_back(charactOf(out.trials[i], out.trials[i + 1], constant));
}

double SearchTrace::charactOf(const TracePoint& left, const TracePoint& right, double constant) const {
  return toDouble(methodInfo(method_).characteristic(sub(right.x, left.x), left.f, right.f, constant));
}

// Step k split its interval, numbered from 1 in list order, by a point that
// follows the interval's left end in the list.
void SearchTrace::addStep(int k, TraceState& out) const {
  const VELMORAALG::TStepRecord& record = step(k);
  const auto at = static_cast<std::size_t>(record.Interval);
  out.trials.insert(out.trials.begin() + static_cast<std::ptrdiff_t>(at), TracePoint{record.X, record.Z});
  out.characts[at - 1] = charactOf(out.trials[at - 1], out.trials[at], record.Constant);
  out.characts.insert(out.characts.begin() + static_cast<std::ptrdiff_t>(at),
                      charactOf(out.trials[at], out.trials[at + 1], record.Constant));
  if (out.pieces.empty()) return;
  out.pieces[at - 1] = brokenLinePiece(out.trials[at - 1], out.trials[at], out.piecesConstant);
  out.pieces.insert(out.pieces.begin() + static_cast<std::ptrdiff_t>(at),
                    brokenLinePiece(out.trials[at], out.trials[at + 1], out.piecesConstant));
}

void SearchTrace::removeStep(int k, TraceState& out) const {
  const VELMORAALG::TStepRecord& record = step(k);
  const auto at = static_cast<std::size_t>(record.Interval);
  out.trials.erase(out.trials.begin() + static_cast<std::ptrdiff_t>(at));
  out.characts.erase(out.characts.begin() + static_cast<std::ptrdiff_t>(at));
  out.characts[at - 1] = charactOf(out.trials[at - 1], out.trials[at], record.Constant);
  if (out.pieces.empty()) return;
  out.pieces.erase(out.pieces.begin() + static_cast<std::ptrdiff_t>(at));
  out.pieces[at - 1] = brokenLinePiece(out.trials[at - 1], out.trials[at], out.piecesConstant);
}

// Each interval's piece depends on its two trials and the constant alone:
// while the constant stays, a step changes the pieces of its interval only.
std::vector<TracePoint> SearchTrace::brokenLineOfStep(int k, TraceState& before) const {
  const double constant = step(k).Constant;
  if (!sorted_) return brokenLine(before.trials, constant);
  const bool kept = before.pieces.size() + 1 == before.trials.size() &&
                    std::bit_cast<std::uint64_t>(before.piecesConstant) == std::bit_cast<std::uint64_t>(constant);
  if (!kept) {
    before.pieces.clear();
    before.pieces.reserve(before.trials.size());
    for (std::size_t i = 0; i + 1 < before.trials.size(); ++i)
      before.pieces.push_back(brokenLinePiece(before.trials[i], before.trials[i + 1], constant));
    before.piecesConstant = constant;
  }
  return joinPieces(before.trials, before.pieces);
}

}  // namespace Velmora::Lab
