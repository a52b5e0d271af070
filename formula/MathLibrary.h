// The mathematical library as the evaluator sees it: the standard functions on
// doubles, with the program's own error reports and substitute results, so
// values do not depend on the platform's C library at its edges. A report goes
// to the handler set with Math_Parser::SetMathErrorHandler, once per failing call.
#pragma once

#include <cmath>
#include <limits>

#include "CorrectlyRoundedTrig.h"
#include "Extended.h"

namespace Math_Parser::mathlib {

/// Hands one report text to the handler, if one is set.
void report(const char* text);

// From 2^53 on a double has no fractional bits, so the argument reduction of
// the trigonometric functions would be all noise: NaN, silently.
inline constexpr double kTrigLimit = 9007199254740992.0;

// Linux keeps glibc's sin, cos and tan, whose bits its numbers were made
// with. MinGW-w64's are the x87's fsin family, short of bits in the argument
// reduction, and the WebAssembly core's (musl's) differ from glibc's on 3 %
// of arguments, so both take the correctly rounded ones: they differ from
// glibc's only where glibc misrounds, on about 0.14 % of arguments.
#if defined(_WIN32) || defined(__EMSCRIPTEN__)
inline double platformSin(double v) { return crSin(v); }
inline double platformCos(double v) { return crCos(v); }
inline double platformTan(double v) { return crTan(v); }
#else
inline double platformSin(double v) { return std::sin(v); }
inline double platformCos(double v) { return std::cos(v); }
inline double platformTan(double v) { return std::tan(v); }
#endif

inline double libSin(double v) {
  return std::fabs(v) >= kTrigLimit ? std::numeric_limits<double>::quiet_NaN() : platformSin(v);
}
inline double libCos(double v) {
  return std::fabs(v) >= kTrigLimit ? std::numeric_limits<double>::quiet_NaN() : platformCos(v);
}
inline double libTan(double v) {
  return std::fabs(v) >= kTrigLimit ? std::numeric_limits<double>::quiet_NaN() : platformTan(v);
}

double libAsin(double v);  ///< |v| > 1 reports "asin: DOMAIN error", gives NaN.
double libAcos(double v);  ///< |v| > 1 reports "acos: DOMAIN error", gives NaN.
inline double libAtan(double v) { return std::atan(v); }

/// Reports "exp: OVERFLOW error" and gives +inf near the top of the double
/// range; gives 0 without a report at or below the smallest normal double.
double libExp(double v);
double libLog(double v);    ///< "log: SING/DOMAIN/OVERFLOW error" for 0, < 0, +inf.
double libLog10(double v);  ///< "log10: SING/DOMAIN/OVERFLOW error" likewise.
double libSqrt(double v);   ///< v < 0 reports "sqrt: DOMAIN error", gives NaN; -0 gives -0.

/// Whole exponents below 4096 in magnitude go by repeated squaring at 80-bit
/// precision, and that result stays extended: it is rounded (and may raise
/// "Floating point overflow") only where the evaluation rounds any value.
/// Everything else goes through logarithms in doubles and reports.
Velmora::Extended libPow(double base, double exponent);

}  // namespace Math_Parser::mathlib
