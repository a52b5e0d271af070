#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "FormulaTestUtil.h"
#include "MathLibrary.h"
#include "Math_Parser.h"

using namespace Math_Parser;
using Velmora::ArithmeticFault;
using Velmora::Extended;
using Velmora::FaultKind;
using formula_test::evaluate;
using formula_test::ReportLog;
using Math_Parser::mathlib::platformCos;
using Math_Parser::mathlib::platformSin;

namespace {

struct ValueCase {
  const char* text;
  double x0;
  double expected;
  const char* reason;
};

// x[1]..x[9] hold 1..9 in these tests.
TEST(Evaluator, valuesOfTheLanguage) {
  const ValueCase cases[] = {
      {"x[0]^2 - 5", 3, 4, "sample formula"},
      {"2^3^2", 0, 512, "right-associative power"},
      {"-2^2", 0, 4, "sign before power"},
      {"-(2^2)", 0, -4, "bracketed power negated"},
      {"2/4/2", 0, 0.25, "left-associative division"},
      {"2--3", 0, 5, "minus a negative"},
      {"(-2)^3", 0, -8, "negative base, odd whole exponent"},
      {"2^-1", 0, 0.5, "negative whole exponent"},
      {"7 % 3", 0, 1, "remainder"},
      {"-7 % 3", 0, -1, "remainder takes the dividend's sign"},
      {"7 % -3", 0, 1, "remainder takes the dividend's sign"},
      {"7.9 % 2.5", 0, 1, "operands truncated first"},
      {"2147483648 % 5", 0, -3, "low 32 bits: 2^31 is -2^31"},
      {"4294967296 % 7", 0, 0, "low 32 bits of 2^32 are 0"},
      {"10^30 % 7", 0, 0, "beyond 64 bits converts to 0"},
      {"x[1+0.9]", 0, 1, "index truncated"},
      {"x[-0.5]", 7, 7, "index truncated toward zero"},
      {"x[1+1]", 0, 2, "index expression"},
      {"x[sin(10^20)]", 11, 11, "a NaN index reads x[0]"},
      {"x[2^32+3]", 0, 3, "index keeps the low 32 bits"},
      {"X[9]*2", 0, 18, "upper-case x"},
      {"(2^60 + 1) - 2^60", 0, 1, "intermediates keep 64 significant bits"},
      {"2^1000*2^1000/2^1000/2^500", 0, 0x1p500, "intermediates keep the 80-bit range"},
      {"3^40", 0, static_cast<double>(12157665459056928801.0L), "whole power squared at 80 bits"},
      {"x[0]^2 - 5", 3.032, 0x1.0c5a8155d5f57p+2, "the square stays extended, as x[0]*x[0] does"},
      {"x[0]*x[0] - 5", 3.032, 0x1.0c5a8155d5f57p+2, "the product stays extended"},
      {"(10^200)^2/10^300", 0, 1e100, "10^400 stays extended; only the result is rounded"},
      {"3^-1*3 - 1", 0, 0, "the reciprocal of a whole power stays extended"},
      {"(-3)^-3*27 + 1", 0, 0, "so does the sign of a negative base with an odd exponent"},
      {"2.27^(-0.5)*2.27^0.5 - 1", 0, static_cast<double>(static_cast<Extended>(std::pow(2.27, -0.5)) * std::pow(2.27, 0.5) - 1),
       "fractional exponents go through logarithms in doubles"},
      {"10^-400", 0, 0, "a whole power below the double range underflows silently"},
      {"sh(0) + ch(0) + th(0)", 0, 1, "hyperbolic functions at 0"},
      {"exp(-1000)", 0, 0, "exp below the normal range"},
      {"sqrt(-0)", 0, -0.0, "sqrt keeps the sign of zero"},
  };
  for (const ValueCase& c : cases) {
    ReportLog log;
    EXPECT_EQ(evaluate(c.text, c.x0), c.expected) << c.reason << ": " << c.text;
    EXPECT_TRUE(log.texts.empty()) << c.reason << ": " << c.text;
  }
}

TEST(Evaluator, constantsAreBitExact) {
  const struct {
    const char* text;
    std::uint64_t bits;
  } cases[] = {
      {"arcctg(0)", 0x3FF921FB54442D18},   // pi/2
      {"arctg(1)*4", 0x400921FB54442D18},  // pi
      {"pi", 0x400921FB54442D18},
      {"e", 0x4005BF0A8B145769},
  };
  for (const auto& c : cases) EXPECT_EQ(std::bit_cast<std::uint64_t>(evaluate(c.text)), c.bits) << c.text;
}

TEST(Evaluator, arcctgStaysBetweenZeroAndPi) {
  EXPECT_NEAR(evaluate("arcctg(-(10^300))"), 3.141592653589793, 1e-15);
  EXPECT_NEAR(evaluate("arcctg(10^300)"), 0, 1e-15);
}

struct FaultCase {
  const char* text;
  FaultKind kind;
  std::vector<std::string> reports;  // made before the fault
  const char* reason;
};

TEST(Evaluator, faultsEndTheEvaluationAndKeepTheLastValue) {
  const FaultCase cases[] = {
      {"1/0", FaultKind::FloatZeroDivide, {}, "division by zero"},
      {"ctg(0)", FaultKind::FloatZeroDivide, {}, "1/tan(0)"},
      {"cth(0)", FaultKind::FloatZeroDivide, {}, "2/(1-1)"},
      {"x[0]/x[0]", FaultKind::FloatInvalid, {}, "0/0 with x[0] = 0"},
      {"0/0", FaultKind::FloatInvalid, {}, "0/0"},
      {"ln(0)*0", FaultKind::FloatInvalid, {"log: SING error"}, "-inf * 0 after a report"},
      {"exp(1000)-exp(1000)", FaultKind::FloatInvalid, {"exp: OVERFLOW error", "exp: OVERFLOW error"},
       "inf - inf"},
      {"th(1000)", FaultKind::FloatInvalid, {"exp: OVERFLOW error", "exp: OVERFLOW error"},
       "inf / inf after two exp reports"},
      {"th(-1000)", FaultKind::FloatInvalid, {"exp: OVERFLOW error", "exp: OVERFLOW error"},
       "-inf / inf after two exp reports"},
      {"cth(1000)", FaultKind::FloatInvalid, {"exp: OVERFLOW error", "exp: OVERFLOW error"},
       "inf / inf after two exp reports"},
      {"10^200*10^200", FaultKind::FloatOverflow, {}, "the result rounded to a double"},
      {"sin(10^200*10^200)", FaultKind::FloatOverflow, {}, "an argument rounded to a double"},
      {"(10^200*10^200)^1", FaultKind::FloatOverflow, {}, "a base rounded to a double"},
      {"2^(10^200*10^200)", FaultKind::FloatOverflow, {}, "an exponent rounded to a double"},
      {"10^400", FaultKind::FloatOverflow, {}, "whole power by squaring, no report"},
      {"10^4095", FaultKind::FloatOverflow, {}, "the largest whole exponent squared"},
      {"(10^300)^2", FaultKind::FloatOverflow, {}, "a large base squared"},
      {"(10^200)^2", FaultKind::FloatOverflow, {}, "10^400 overflows only when the result is rounded"},
      {"7 % 0.5", FaultKind::IntZeroDivide, {}, "divisor truncates to 0"},
      {"7 % 10^30", FaultKind::IntZeroDivide, {}, "divisor beyond 64 bits is 0"},
      {"-2147483648 % -1", FaultKind::IntOverflow, {}, "the one overflowing remainder"},
      {"1/0 + 0/0", FaultKind::FloatZeroDivide, {}, "left operand first"},
      {"(0/0) ^ (1/0)", FaultKind::FloatZeroDivide, {}, "exponent before base"},
      {"(1/0) % (0/0)", FaultKind::FloatZeroDivide, {}, "left operand first"},
      {"sqrt(-1) + 1/0", FaultKind::FloatZeroDivide, {"sqrt: DOMAIN error"}, "report, then fault"},
  };
  for (const FaultCase& c : cases) {
    std::array<double, 10> vars{};
    TParser parser;
    parser.Values = vars.data();
    parser.Parse("x[0] + 41");
    ASSERT_EQ(parser.Evaluate(), 41);
    parser.Parse(c.text);
    ReportLog log;
    try {
      parser.Evaluate();
      ADD_FAILURE() << c.reason << ": no fault in " << c.text;
    } catch (const ArithmeticFault& fault) {
      EXPECT_EQ(fault.kind(), c.kind) << c.reason << ": " << c.text;
    }
    EXPECT_EQ(log.texts, c.reports) << c.reason << ": " << c.text;
    EXPECT_EQ(parser.LastValue, 41) << c.reason << ": " << c.text;
  }
}

TEST(Evaluator, indexOutsideTheVariablesIsAnErrorNotARead) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"x[10]", "x[10] is outside the variables x[0] to x[9]"},
      {"x[-1]", "x[-1] is outside the variables x[0] to x[9]"},
      {"x[2147483648]", "x[-2147483648] is outside the variables x[0] to x[9]"},
  };
  for (const auto& c : cases) {
    try {
      evaluate(c.text);
      ADD_FAILURE() << c.text;
    } catch (const TEvalError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
}

TEST(Evaluator, withoutVariablesOrTreeRaisesInsteadOfReading) {
  TParser parser;
  EXPECT_THROW(parser.Evaluate(), TEvalError) << "no tree yet";
  parser.Parse("x[0]");
  EXPECT_THROW(parser.Evaluate(), TEvalError) << "no variable table";
  parser.Parse("1+2");
  EXPECT_EQ(parser.Evaluate(), 3) << "a formula without x needs no table";
  EXPECT_EQ(parser.LastValue, 3);
}

TEST(Evaluator, variablesAreReadAtEveryEvaluation) {
  double vars[10] = {1};
  TParser parser;
  parser.Values = vars;
  parser.Parse("x[0]*x[1] + x[9]");
  vars[1] = 3;
  vars[9] = 0.5;
  EXPECT_EQ(parser.Evaluate(), 3.5);
  vars[0] = 2;
  EXPECT_EQ(parser.Evaluate(), 6.5);
  EXPECT_EQ(parser.LastValue, 6.5);
}

// The evaluator against the same arithmetic written in C++: 80-bit
// intermediates, library arguments and "^" operands rounded to doubles.
struct Differential {
  const char* text;
  std::function<Extended(double)> native;
};

double d(Extended v) { return static_cast<double>(v); }
// Whole exponents are squared at 80 bits and the square stays there; other
// exponents go through pow in doubles. sin and cos are the ones the engine
// takes on this platform.
Extended square(double v) { return static_cast<Extended>(v) * v; }

TEST(Evaluator, agreesWithNativeArithmeticOverAGrid) {
  const Extended pi = 3.141592653589793;
  const Differential formulas[] = {
      {"x[0]^2 - 5", [](double x) { return square(x) - Extended(5); }},
      {"x[0]^2 + 6 * sin( 2*pi *x[0] )",
       [pi](double x) { return square(x) + Extended(6) * platformSin(d(Extended(2) * pi * x)); }},
      {"cos(x[0]) + 2*cos(2*x[0]) * 2.27^(-x[0]/2)",
       [](double x) {
         return platformCos(x) + Extended(2) * platformCos(d(Extended(2) * x)) * std::pow(2.27, d(-static_cast<Extended>(x) / 2));
       }},
      {"sin(x[0]) + sin( 10*x[0]/3 )", [](double x) { return platformSin(x) + platformSin(d(Extended(10) * x / 3)); }},
      {"(1.4 - 3*x[0]) * sin( 18*x[0] )",
       [](double x) { return (static_cast<Extended>(1.4) - Extended(3) * x) * platformSin(d(Extended(18) * x)); }},
      {"2*( x[0]-3 )^2 + exp( x[0]^2 / 2 )",
       [](double x) { return Extended(2) * square(d(x - Extended(3))) + std::exp(d(square(x) / Extended(2))); }},
      {"sh(x[0]) - ch(x[0]/2)",
       [](double x) {
         const double h = d(static_cast<Extended>(x) / 2);
         return (static_cast<Extended>(std::exp(x)) - std::exp(-x)) * 0.5L -
                (static_cast<Extended>(std::exp(h)) + std::exp(-h)) * 0.5L;
       }},
      {"th(x[0]) * arcctg(x[0]) + arctg(x[0])",
       [](double x) {
         const Extended th = (static_cast<Extended>(std::exp(x)) - std::exp(-x)) /
                             (static_cast<Extended>(std::exp(x)) + std::exp(-x));
         return th * (static_cast<Extended>(1.5707963267948966) - std::atan(x)) + std::atan(x);
       }},
      {"lg(x[0]^2+1) * ln(x[0]^2+2)",
       [](double x) { return std::log10(d(square(x) + Extended(1))) * static_cast<Extended>(std::log(d(square(x) + Extended(2)))); }},
      {"sqrt(x[0]*x[0]) / (4 + x[0] % 3)",
       [](double x) {
         const auto a = static_cast<std::int32_t>(static_cast<std::int64_t>(x));
         return std::sqrt(d(static_cast<Extended>(x) * x)) / (Extended(4) + a % 3);
       }},
  };
  for (const Differential& f : formulas) {
    TParser parser;
    double vars[10] = {};
    parser.Values = vars;
    parser.Parse(f.text);
    for (int i = 0; i <= 400; ++i) {
      vars[0] = -10 + i * 0.05 + 0.001;
      const double expected = d(f.native(vars[0]));
      const double got = parser.Evaluate();
      EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected))
          << f.text << " at x = " << vars[0] << ": " << got << " vs " << expected;
    }
  }
}

}  // namespace
