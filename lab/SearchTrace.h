// A finished run replayed step by step: the state after any step k is the
// one a fresh run of k steps would leave, rebuilt from the run's outcome and
// its step records without running the method again.
#pragma once

#include <cstdint>
#include <vector>

#include "MethodCatalogue.h"
#include "Minorant.h"
#include "Search.h"

namespace Velmora::Lab {

// The trials after some steps in list order, and the characteristic of the
// interval between each trial and the next.
struct TraceState {
  std::uint64_t trace = 0;  ///< which trace wrote it (none yet: 0), so that another's state is never built on
  int step = 0;
  std::vector<TracePoint> trials;
  std::vector<double> characts;
  // The broken line's piece of each interval with piecesConstant, kept up
  // to date as the state moves step by step (SearchTrace::brokenLineOfStep).
  std::vector<BrokenLinePiece> pieces;
  double piecesConstant = 0;
};

// The lowest value found by the end of each step k = 0 .. stepCount of a run
// that recorded every step; NaN while every value is NaN.
std::vector<double> bestAfterEachStep(const SearchOutcome& outcome);

class SearchTrace {
 public:
  // The outcome of a run that ended without a fault and recorded its steps,
  // of a method whose step constant gives every characteristic (the
  // catalogue's characteristic). Throws std::invalid_argument for any other.
  SearchTrace(MethodId method, SearchOutcome outcome);

  MethodId method() const { return method_; }
  int stepCount() const { return outcome_.stepCount; }
  const SearchOutcome& outcome() const { return outcome_; }
  // Step k's record, 1 <= k <= stepCount().
  const VELMORAALG::TStepRecord& step(int k) const { return outcome_.stepRecords[static_cast<std::size_t>(k - 1)]; }
  // The lowest value found by the end of step k, 0 <= k <= stepCount(); NaN while every value is NaN.
  double bestAfter(int k) const { return best_[static_cast<std::size_t>(k)]; }

  // The state after k steps, 0 <= k <= stepCount(), written into out so that
  // a replay moving from step to step reuses its storage; out holds what an
  // earlier call wrote, or a fresh TraceState.
  void stateAfter(int k, TraceState& out) const;
  // The broken line whose vertex is step k's point, 1 <= k <= stepCount():
  // step k's constant over the trials before it, which before holds
  // (stateAfter(k - 1, before)); it keeps the line's pieces for the next step.
  std::vector<TracePoint> brokenLineOfStep(int k, TraceState& before) const;

 private:
  double charactOf(const TracePoint& left, const TracePoint& right, double constant) const;
  // From the state after step k - 1 to the one after k, and back.
  void addStep(int k, TraceState& out) const;
  void removeStep(int k, TraceState& out) const;

  std::uint64_t id_;  ///< distinct for every trace made
  MethodId method_;
  SearchOutcome outcome_;
  std::vector<double> best_;
  bool sorted_;  ///< whether every trial lies in order of x, as the pieces need
};

}  // namespace Velmora::Lab
