// A finished run replayed step by step: the state after any step k is the
// one a fresh run of k steps would leave, rebuilt from the run's outcome and
// its step records without running the method again.
#pragma once

#include <cstdint>
#include <vector>

#include "MethodCatalogue.h"
#include "Search.h"

namespace Velmora::Lab {

struct TracePoint {
  double x;
  double f;
};

// The trials after some steps in list order, and the characteristic of the
// interval between each trial and the next.
struct TraceState {
  std::uint64_t trace = 0;  ///< which trace wrote it (none yet: 0), so that another's state is never built on
  int step = 0;
  std::vector<TracePoint> trials;
  std::vector<double> characts;
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

 private:
  double charactOf(const TracePoint& left, const TracePoint& right, double constant) const;
  // From the state after step k - 1 to the one after k, and back.
  void addStep(int k, TraceState& out) const;
  void removeStep(int k, TraceState& out) const;

  std::uint64_t id_;  ///< distinct for every trace made
  MethodId method_;
  SearchOutcome outcome_;
  std::vector<double> best_;
};

}  // namespace Velmora::Lab
