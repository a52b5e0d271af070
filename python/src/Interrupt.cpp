#include "Interrupt.h"

namespace Velmora::Python {

void InterruptCheck::afterStep() {
  if (--countdown_ > 0) return;
  countdown_ = StepsBetweenClockReads;
  const Clock::time_point now = Clock::now();
  if (now < next_) return;
  next_ = now + Period;
  calls_.call([] {
    // A run that holds the GIL (a callable's, a Method's) runs no bytecode
    // between its calls into Python, which is where threads would switch;
    // the thread that sends the signal may be waiting for it.
    { py::gil_scoped_release others; }
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
  });
}

}  // namespace Velmora::Python
