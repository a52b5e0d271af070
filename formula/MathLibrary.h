// The mathematical library as the evaluator sees it: the standard functions on
// doubles, with the program's own error reports and substitute results, so
// values do not depend on the platform's C library at its edges. A report goes
// to the handler set with Math_Parser::SetMathErrorHandler, once per failing call.
#pragma once

namespace Math_Parser::mathlib {

// Extreme arguments give NaN silently: the result would have no correct digit.
double libSin(double v);
double libCos(double v);
double libTan(double v);

double libAsin(double v);  ///< |v| > 1 reports "asin: DOMAIN error", gives NaN.
double libAcos(double v);  ///< |v| > 1 reports "acos: DOMAIN error", gives NaN.
double libAtan(double v);

/// Reports "exp: OVERFLOW error" and gives +inf near the top of the double
/// range; gives 0 without a report at or below the smallest normal double.
double libExp(double v);
double libLog(double v);    ///< "log: SING/DOMAIN/OVERFLOW error" for 0, < 0, +inf.
double libLog10(double v);  ///< "log10: SING/DOMAIN/OVERFLOW error" likewise.
double libSqrt(double v);   ///< v < 0 reports "sqrt: DOMAIN error", gives NaN; -0 gives -0.

/// Whole exponents below 4096 in magnitude go by repeated squaring at 80-bit
/// precision, whose result may raise "Floating point overflow" when rounded
/// to a double; everything else goes through logarithms and reports.
double libPow(double base, double exponent);

/// Hands one report text to the handler, if one is set.
void report(const char* text);

}  // namespace Math_Parser::mathlib
