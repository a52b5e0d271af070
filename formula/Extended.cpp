#include "Extended.h"

namespace Velmora {

const char* ArithmeticFault::what() const noexcept {
  switch (kind_) {
    case FaultKind::FloatZeroDivide: return "Floating point division by zero";
    case FaultKind::FloatInvalid: return "Invalid floating point operation";
    case FaultKind::FloatOverflow: return "Floating point overflow";
    case FaultKind::IntZeroDivide: return "Division by zero";
    case FaultKind::IntOverflow: return "Integer overflow";
  }
  return "Invalid floating point operation";
}

void raiseFault(FaultKind kind) { throw ArithmeticFault(kind); }

namespace detail {
void raiseNonFinite(Extended result) {
  raiseFault(isnan(result) ? FaultKind::FloatInvalid : FaultKind::FloatOverflow);
}
}  // namespace detail

}  // namespace Velmora
