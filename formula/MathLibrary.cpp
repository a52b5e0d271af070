#include "MathLibrary.h"

#include <bit>
#include <cfloat>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "Extended.h"
#include "Math_Parser.h"

namespace Math_Parser {

namespace {
// Each thread evaluates with its own formula objects, so each has its own
// handler: parallel runs collect their reports apart.
TMathErrorHandler& handlerSlot() {
  thread_local TMathErrorHandler handler;
  return handler;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
}  // namespace

TMathErrorHandler SetMathErrorHandler(TMathErrorHandler handler) {
  return std::exchange(handlerSlot(), std::move(handler));
}

namespace mathlib {

void report(const char* text) {
  const TMathErrorHandler& handler = handlerSlot();
  if (handler) handler(text);
}

namespace {
// e^v is at or near the top of the double range from here on.
constexpr double kExpOverflow = 709.7822265625;
// e^v is at or below the smallest normal double from here down.
constexpr double kExpUnderflow = -708.39599609375;
// Repeated squaring is used for whole exponents below this magnitude.
constexpr int kSquaringLimit = 4096;
// Largest binary exponent an 80-bit value can carry, less one for safety of
// the last multiplication's rounding.
constexpr int kExtendedExponentRoom = 16382;

double logLike(double v, const char* sing, const char* domain, const char* overflow,
               double (*f)(double)) {
  if (v == 0) {
    report(sing);
    return -kInf;
  }
  if (v < 0) {
    report(domain);
    return kNaN;
  }
  if (v == kInf) {
    report(overflow);
    return kInf;
  }
  return f(v);
}

double plainLog(double v) { return std::log(v); }
double plainLog10(double v) { return std::log10(v); }

// The base's binary exponent bounds the power's; the result must stay inside
// the 80-bit range, including its reciprocal for negative exponents.
bool squaringStaysInRange(double base, int n) {
  // The biased exponent field is enough here: subnormal bases are only
  // counted as tiny, which errs toward the logarithms.
  const int biased = static_cast<int>((std::bit_cast<std::uint64_t>(base) >> 52) & 0x7FF);
  const int e = biased == 0 ? -1075 : biased - 1023;
  return (std::abs(e) + 1) * static_cast<long long>(n) <= kExtendedExponentRoom;
}

Velmora::Extended powBySquaring(double base, int n, bool reciprocal) {
  Velmora::Extended result = 1;
  Velmora::Extended factor = base;
  for (;;) {
    if (n & 1) result *= factor;
    n >>= 1;
    if (n == 0) break;
    factor *= factor;
  }
  if (reciprocal) result = 1 / result;
  // Kept at 80 bits: a result beyond the double range is no library report,
  // but the unit's overflow fault when (and if) the evaluation rounds it.
  return result;
}

double powByLogarithms(double base, double exponent) {
  const bool negate = base < 0 && std::fmod(exponent, 2.0) != 0;
  const double magnitude = std::pow(std::fabs(base), exponent);
  if (magnitude == kInf) {
    report("pow: OVERFLOW error");
    return kInf;
  }
  if (magnitude < DBL_MIN) return 0;
  return negate ? -magnitude : magnitude;
}
}  // namespace


double libAsin(double v) {
  if (v < -1 || v > 1) {
    report("asin: DOMAIN error");
    return kNaN;
  }
  return std::asin(v);
}

double libAcos(double v) {
  if (v < -1 || v > 1) {
    report("acos: DOMAIN error");
    return kNaN;
  }
  return std::acos(v);
}


double libExp(double v) {
  if (v >= kExpOverflow) {
    report("exp: OVERFLOW error");
    return kInf;
  }
  if (v <= kExpUnderflow) return 0;
  return std::exp(v);
}

double libLog(double v) {
  return logLike(v, "log: SING error", "log: DOMAIN error", "log: OVERFLOW error", plainLog);
}

double libLog10(double v) {
  return logLike(v, "log10: SING error", "log10: DOMAIN error", "log10: OVERFLOW error",
                 plainLog10);
}

double libSqrt(double v) {
  if (v < 0) {
    report("sqrt: DOMAIN error");
    return kNaN;
  }
  return std::sqrt(v);
}

// The cases are tried in this order; the first that matches decides.
Velmora::Extended libPow(double base, double exponent) {
  // The common case first: a finite non-zero base and a small whole
  // exponent, which the rules below would square as well.
  if (std::fabs(exponent) < kSquaringLimit && base != 0 && std::isfinite(base)) {
    const int n = static_cast<int>(exponent);
    if (n == exponent && n != 0) {
      const int magnitude = n < 0 ? -n : n;
      if (squaringStaysInRange(base, magnitude)) return powBySquaring(base, magnitude, n < 0);
    }
  }
  if (base == 0) {
    if (exponent == 0) {
      report("pow: DOMAIN error");
      return 1;
    }
    if (exponent < 0) {
      report("pow: DOMAIN error");
      return kInf;
    }
    if (exponent > 0) return 0;
    // A NaN exponent falls through to the non-finite case below.
  }
  const bool finiteExponent = std::isfinite(exponent);
  const bool wholeExponent = finiteExponent && exponent == std::trunc(exponent);
  if (base < 0 && finiteExponent && !wholeExponent) {
    report("pow: DOMAIN error");
    return kNaN;
  }
  if (!std::isfinite(base) || !finiteExponent) {
    if (!finiteExponent || !(exponent < 0)) {
      report("pow: OVERFLOW error");
      return kInf;
    }
    return 0;
  }
  if (exponent == 0) return 1;
  if (wholeExponent && std::fabs(exponent) < kSquaringLimit) {
    const int n = static_cast<int>(std::fabs(exponent));
    if (squaringStaysInRange(base, n)) return powBySquaring(base, n, exponent < 0);
  }
  return powByLogarithms(base, exponent);
}

}  // namespace mathlib
}  // namespace Math_Parser
