// The program's arithmetic: 80-bit extended precision with the faults of an
// x87 unit whose invalid-operation, division-by-zero and overflow exceptions
// are unmasked. Faults are found by checking operands and results, so nothing
// depends on the floating-point environment that other code leaves behind.
#pragma once

#include <cmath>
#include <exception>
#include <limits>

#ifdef VELMORA_EXTENDED_SOFT
#include "SoftExtended.h"
#endif

namespace Velmora {

// The build picks the type (VELMORA_EXTENDED in CMake); the rest of the
// program only uses it through these operators and functions, and both give
// the same bits.
#ifdef VELMORA_EXTENDED_SOFT
using Extended = SoftExtended;
#else
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the x87 80-bit type with a 64-bit significand");

inline Extended fabs(Extended v) { return std::fabs(v); }
inline Extended sqrt(Extended v) { return std::sqrt(v); }
inline bool isnan(Extended v) { return std::isnan(v); }
// Comparing with infinity (exact in a float) is cheaper on the x87 unit than
// the test against the largest 80-bit value; NaN fails it too.
inline bool isfinite(Extended v) { return std::fabs(v) < std::numeric_limits<float>::infinity(); }
#endif

enum class FaultKind {
  FloatZeroDivide,  ///< A finite non-zero value divided by zero. (Example: "1/0")
  FloatInvalid,     ///< An operation without a meaningful result. (Example: "0/0")
  FloatOverflow,    ///< A result beyond the range it is stored in. (Example: "10^200*10^200")
  IntZeroDivide,    ///< An integer remainder by zero. (Example: "7 % 0.5")
  IntOverflow,      ///< The integer remainder -2147483648 % -1.
};

// what() is the text the user sees, exactly.
class ArithmeticFault : public std::exception {
 public:
  explicit ArithmeticFault(FaultKind kind) noexcept : kind_(kind) {}
  FaultKind kind() const noexcept { return kind_; }
  const char* what() const noexcept override;

 private:
  FaultKind kind_;
};

[[noreturn]] void raiseFault(FaultKind kind);

namespace detail {
// NaN operands propagate silently; a NaN made from numbers is an invalid
// operation, an infinity made from finite numbers an overflow.
[[noreturn]] void raiseNonFinite(Extended result);

inline Extended checkedResult(Extended result, Extended a, Extended b) {
  if (isfinite(result)) [[likely]]
    return result;
  if (isnan(result) ? !isnan(a) && !isnan(b) : isfinite(a) && isfinite(b)) raiseNonFinite(result);
  return result;
}
}  // namespace detail

inline Extended add(Extended a, Extended b) { return detail::checkedResult(a + b, a, b); }
inline Extended sub(Extended a, Extended b) { return detail::checkedResult(a - b, a, b); }
inline Extended mul(Extended a, Extended b) { return detail::checkedResult(a * b, a, b); }

inline Extended div(Extended a, Extended b) {
  // Only a finite non-zero dividend raises the zero-divide fault; 0/0 is
  // invalid, and an infinite or NaN dividend divides by zero silently.
  if (b == 0 && isfinite(a) && a != 0) raiseFault(FaultKind::FloatZeroDivide);
  return detail::checkedResult(a / b, a, b);
}

// Rounds to the stored 64-bit width; a finite value beyond the double range overflows.
inline double toDouble(Extended v) {
  const double d = static_cast<double>(v);
  if (std::isinf(d) && isfinite(v)) raiseFault(FaultKind::FloatOverflow);
  return d;
}

}  // namespace Velmora
