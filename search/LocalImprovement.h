// Local improvement, a policy of the interval choice shared by the engines:
// the steps alternate between a global one, which takes the engine's usual
// choice, and a local one, which splits one of the two intervals beside the
// best trial. It finds the basin of the best point sooner; the global steps
// keep the search global.
//
// In a local step, after a trial that lowered the record the neighbour with
// the larger characteristic is split; otherwise the right and the left one in
// turn, or the one that exists at an end of [a, b]. Pessimistic: a local
// interval no longer than delta is not split, and the step takes the global
// choice. Optimistic: any local interval is split, so that a run may close in
// on a local minimum until its stop rule ends it.
#pragma once

#include <cmath>

namespace VELMORAALG {

class LocalImprovement {
 public:
  enum class Mode { Off, Pessimistic, Optimistic };

  // delta, as a share of b - a: a local interval this short is the search's
  // business no longer.
  static constexpr double DeltaShare = 1e-4;

  explicit LocalImprovement(Mode mode = Mode::Off) : mode_(mode) {}
  Mode GetMode() const { return mode_; }

  // A fresh run on [xmin, xmax].
  void Start(double xmin, double xmax) {
    delta_ = DeltaShare * (xmax - xmin);
    localTurn_ = false;
    rightSide_ = true;
    lastWasRecord_ = false;
  }
  // After each trial: whether it lowered the record.
  void NoteTrial(bool newRecord) { lastWasRecord_ = newRecord; }

  // Once per step: whether this step is a local one.
  bool TakesLocalTurn() {
    if (mode_ == Mode::Off) return false;
    const bool local = localTurn_;
    localTurn_ = !localTurn_;
    return local;
  }

  // An interval beside the best trial; exists false at an end of [a, b].
  struct Side {
    bool exists;
    double length;
    double charact;
  };
  enum class Choice { Global, Left, Right };
  // Which interval a local step splits.
  Choice Choose(const Side& left, const Side& right) {
    Choice side;
    if (!left.exists || !right.exists) {
      side = left.exists ? Choice::Left : Choice::Right;
    } else if (lastWasRecord_) {
      side = right.charact > left.charact ? Choice::Right : Choice::Left;
    } else {
      side = rightSide_ ? Choice::Right : Choice::Left;
      rightSide_ = !rightSide_;
    }
    const Side& taken = side == Choice::Left ? left : right;
    if (!taken.exists || std::isnan(taken.charact)) return Choice::Global;
    if (mode_ == Mode::Pessimistic && !(taken.length > delta_)) return Choice::Global;
    return side;
  }

 private:
  Mode mode_;
  double delta_ = 0;
  bool localTurn_ = false;
  bool rightSide_ = true;
  bool lastWasRecord_ = false;
};

}  // namespace VELMORAALG
