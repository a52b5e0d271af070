// Every operation of the formula language as two rules side by side: how its
// value is computed, and how its slope (the derivative by x[0]) follows from
// the operands' values and slopes, as forward differentiation does.
//
// A value rule is the evaluation itself: it keeps the program's 80-bit
// arithmetic, its faults and the library's reports. A slope rule computes in
// plain 80-bit arithmetic and calls nothing that reports, so asking for the
// slope never adds a report or a fault. Where a rule meets a point without a
// finite derivative its result is infinite or NaN, and the evaluation gives
// NaN as the slope (docs/formula.md).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "Extended.h"
#include "MathLibrary.h"
#include "Math_Parser.h"

namespace Math_Parser::rules {

using Velmora::Extended;
using namespace mathlib;

// The program's operations beyond the tree's: a whole power 2 and the
// rounding of an exponent to a double.
enum TProgramCode { opSquare = opVar + 1, opRound };

// Truncates toward zero to 64 bits and keeps the low 32 as a signed value;
// NaN and values beyond the 64-bit range give 0.
inline std::int32_t integerOf(Extended v) {
  constexpr Extended kLimit = 0x1p63;
  if (!(v >= -kLimit && v < kLimit)) return 0;
  const auto wide = static_cast<std::int64_t>(v);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

// pi/2 as the nearest double; arcctg subtracts from it at 80 bits.
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Extended remainderOf(Extended left, Extended right);
// The hyperbolic functions are built from exp, called in this order, so each
// overflowing call makes its own report.
Extended hyperbolicSine(double v);
Extended hyperbolicCosine(double v);
Extended hyperbolicTangent(double v);
Extended hyperbolicCotangent(double v);
// A whole power 2 squares the rounded base at 80 bits: squaring a finite base
// is what the library would do for "^2", so the common case skips the call.
inline Extended squareOf(Extended value) {
  const double base = Velmora::toDouble(value);
  if (std::fabs(base) < std::numeric_limits<double>::infinity()) return static_cast<Extended>(base) * base;
  return libPow(base, 2);
}

// The slope rules' own cosine and sine. Kept out of line so the compiler
// cannot merge a value's sin with a slope's cos into one sincos call, whose
// bits need not be sin's.
[[gnu::noinline]] double slopeCos(double u);
[[gnu::noinline]] double slopeSin(double u);

// The integer parts that "%" and an index take jump where their operand
// crosses a whole number other than 0; a varying operand standing on one has
// no slope there.
bool jumpsAt(Extended v, Extended dv);
inline Extended jumpSlope(Extended v, Extended dv) { return jumpsAt(v, dv) ? kNaN : 0.0; }

// b*a^(b-1)*da + a^b*ln(a)*db, with the base's or the exponent's term left
// out when it does not vary with x[0]; NaN where the power has no derivative
// (a non-whole or a non-positive exponent at a zero base, a varying exponent
// on a base that is not positive).
Extended powerSlope(double a, Extended da, bool baseVaries, double b, Extended db, bool exponentVaries,
                    Extended f);

// The rows. a, b are the operands as the value rule takes them, da, db their
// slopes, f the value the value rule gave; u is a function's argument,
// rounded to a double.
template <int Operation>
struct Rule;

#define VELMORA_BINARY_RULE(operation, valueRule, slopeRule)                                       \
  template <>                                                                                      \
  struct Rule<operation> {                                                                         \
    static Extended value(Extended a, Extended b) { return valueRule; }                            \
    static Extended slope([[maybe_unused]] Extended a, [[maybe_unused]] Extended da,               \
                          [[maybe_unused]] Extended b, [[maybe_unused]] Extended db,               \
                          [[maybe_unused]] Extended f) {                                           \
      return slopeRule;                                                                            \
    }                                                                                              \
  };
#define VELMORA_UNARY_RULE(operation, valueRule, slopeRule)                                        \
  template <>                                                                                      \
  struct Rule<operation> {                                                                         \
    static Extended value(Extended a) { return valueRule; }                                        \
    static Extended slope([[maybe_unused]] Extended a, [[maybe_unused]] Extended da,               \
                          [[maybe_unused]] Extended f) {                                           \
      return slopeRule;                                                                            \
    }                                                                                              \
  };
// A function's row gives its derivative by its argument, from the argument u
// or from the value f; the chain rule multiplies it by du. A library
// function's value stays a double here.
#define VELMORA_FUNCTION_BY_U(operation, valueRule, derivativeRule)                                \
  template <>                                                                                      \
  struct Rule<operation> {                                                                         \
    static auto value(double u) { return valueRule; }                                              \
    static auto derivative([[maybe_unused]] double u) { return derivativeRule; }                   \
  };
#define VELMORA_FUNCTION_BY_F(operation, valueRule, derivativeRule)                       \
  template <>                                                                                      \
  struct Rule<operation> {                                                                         \
    static auto value(double u) { return valueRule; }                                              \
    static auto derivativeOfValue([[maybe_unused]] double u, [[maybe_unused]] auto f) {            \
      return derivativeRule;                                                                       \
    }                                                                                              \
  };

using Velmora::add, Velmora::sub, Velmora::mul, Velmora::div, Velmora::toDouble;
inline Extended squared(double u) { return static_cast<Extended>(u) * u; }
inline Extended squared(Extended v) { return v * v; }

// clang-format off
//                  operation  value                      slope
VELMORA_BINARY_RULE(opAdd,     add(a, b),                 da + db)
VELMORA_BINARY_RULE(opSub,     sub(a, b),                 da - db)
VELMORA_BINARY_RULE(opMul,     mul(a, b),                 da * b + a * db)
VELMORA_BINARY_RULE(opDiv,     div(a, b),                 (da - f * db) / b)
VELMORA_BINARY_RULE(opMod,     remainderOf(a, b),         jumpSlope(a, da) + jumpSlope(b, db))
VELMORA_UNARY_RULE(opNeg,      -a,                        -da)
VELMORA_UNARY_RULE(opSquare,   squareOf(a),               2 * a * da)
VELMORA_UNARY_RULE(opRound,    toDouble(a),               da)
// By u: the derivative from the argument; by f: from the value.
//                    operation value                      derivative by the argument u
VELMORA_FUNCTION_BY_U(opSin,    libSin(u),                 slopeCos(u))
VELMORA_FUNCTION_BY_U(opCos,    libCos(u),                 -slopeSin(u))
VELMORA_FUNCTION_BY_F(opTg,     libTan(u),                 1 + squared(f))
VELMORA_FUNCTION_BY_F(opCtg,    div(1.0L, libTan(u)),      -(1 + squared(f)))
VELMORA_FUNCTION_BY_U(opArcsin, libAsin(u),                1 / Velmora::sqrt(1 - squared(u)))
VELMORA_FUNCTION_BY_U(opArccos, libAcos(u),                -1 / Velmora::sqrt(1 - squared(u)))
VELMORA_FUNCTION_BY_U(opArctg,  libAtan(u),                1 / (1 + squared(u)))
VELMORA_FUNCTION_BY_U(opArcctg, sub(kHalfPi, libAtan(u)),  -1 / (1 + squared(u)))
VELMORA_FUNCTION_BY_U(opSh,     hyperbolicSine(u),         std::cosh(u))
VELMORA_FUNCTION_BY_U(opCh,     hyperbolicCosine(u),       std::sinh(u))
VELMORA_FUNCTION_BY_F(opTh,     hyperbolicTangent(u),      1 - squared(f))
VELMORA_FUNCTION_BY_F(opCth,    hyperbolicCotangent(u),    1 - squared(f))
VELMORA_FUNCTION_BY_F(opExp,    libExp(u),                 f)
VELMORA_FUNCTION_BY_U(opLg,     libLog10(u),               1 / (Extended(u) * std::numbers::ln10))
VELMORA_FUNCTION_BY_U(opLn,     libLog(u),                 1 / Extended(u))
VELMORA_FUNCTION_BY_F(opSqrt,   libSqrt(u),                1 / (2 * Extended(f)))
// clang-format on
// "^": the exponent is rounded before the base is evaluated, see the program.
//   value  libPow(a, b)
//   slope  powerSlope(a, da, base varies, b, db, exponent varies, f)
// x[k]: the table's entry, slope 1 for x[0] and 0 for the parameters; a
// constant: slope 0. An index that is not a constant: the entry its integer
// part names, slope 1 if that is x[0], and no slope where the index jumps.

#undef VELMORA_BINARY_RULE
#undef VELMORA_UNARY_RULE
#undef VELMORA_FUNCTION_BY_U
#undef VELMORA_FUNCTION_BY_F

}  // namespace Math_Parser::rules
