// Ctrl-C during a run: Python handles signals only when asked, and a run of
// the core never asks, so the step observer asks every few milliseconds,
// with the GIL taken back for the moment.
#pragma once

#include <chrono>

#include "PythonCalls.h"

namespace Velmora::Python {

class InterruptCheck {
 public:
  explicit InterruptCheck(PythonCalls& calls) : calls_(calls) {}
  // Called after each step; a signal handler's exception (KeyboardInterrupt)
  // is kept by calls and ends the run.
  void afterStep();

 private:
  using Clock = std::chrono::steady_clock;
  // A step of a formula run takes about a microsecond: the clock is read
  // every few steps, and Python is asked every 10 ms.
  static constexpr int StepsBetweenClockReads = 16;
  static constexpr Clock::duration Period = std::chrono::milliseconds(10);

  PythonCalls& calls_;
  int countdown_ = StepsBetweenClockReads;
  Clock::time_point next_ = Clock::now() + Period;
};

}  // namespace Velmora::Python
