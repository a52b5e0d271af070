#include "Interrupt.h"

namespace Velmora::Python {

void InterruptCheck::afterStep() {
  if (--countdown_ > 0) return;
  countdown_ = StepsBetweenClockReads;
  const Clock::time_point now = Clock::now();
  if (now < next_) return;
  next_ = now + Period;
  calls_.call([] {
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
  });
}

}  // namespace Velmora::Python
