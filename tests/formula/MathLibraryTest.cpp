#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "FormulaTestUtil.h"
#include "Math_Parser.h"

using namespace Math_Parser;
using formula_test::evaluate;
using formula_test::ReportLog;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ReportCase {
  const char* text;
  std::vector<std::string> reports;
  double result;  // NaN means any NaN
  const char* reason;
};

void expectReports(const ReportCase& c) {
  ReportLog log;
  double value = 0;
  try {
    value = evaluate(c.text);
  } catch (const std::exception& fault) {
    ADD_FAILURE() << c.reason << ": " << c.text << " raised " << fault.what();
    return;
  }
  EXPECT_EQ(log.texts, c.reports) << c.reason << ": " << c.text;
  if (std::isnan(c.result))
    EXPECT_TRUE(std::isnan(value)) << c.reason << ": " << c.text << " gave " << value;
  else
    EXPECT_EQ(value, c.result) << c.reason << ": " << c.text;
}

TEST(MathLibrary, reportsAndSubstitutesOfTheFunctions) {
  const ReportCase cases[] = {
      {"sqrt(-1)", {"sqrt: DOMAIN error"}, kNaN, "negative root"},
      {"sqrt(sqrt(-1))", {"sqrt: DOMAIN error"}, kNaN, "NaN argument makes no report"},
      {"ln(0)", {"log: SING error"}, -kInf, "log of zero"},
      {"ln(-0)", {"log: SING error"}, -kInf, "log of negative zero"},
      {"ln(-1)", {"log: DOMAIN error"}, kNaN, "log of a negative"},
      {"ln(exp(1000))", {"exp: OVERFLOW error", "log: OVERFLOW error"}, kInf, "log of +inf"},
      {"ln(-exp(1000))", {"exp: OVERFLOW error", "log: DOMAIN error"}, kNaN, "log of -inf"},
      {"lg(0)", {"log10: SING error"}, -kInf, "lg of zero"},
      {"lg(-2)", {"log10: DOMAIN error"}, kNaN, "lg of a negative"},
      {"lg(exp(1000))", {"exp: OVERFLOW error", "log10: OVERFLOW error"}, kInf, "lg of +inf"},
      {"lg(1000)", {}, 3, "plain lg"},
      {"arcsin(1.5)", {"asin: DOMAIN error"}, kNaN, "beyond 1"},
      {"arcsin(-1.5)", {"asin: DOMAIN error"}, kNaN, "beyond -1"},
      {"arccos(2)", {"acos: DOMAIN error"}, kNaN, "beyond 1"},
      {"arccos(-1)", {}, 3.141592653589793, "the edge is allowed"},
      {"exp(1000)", {"exp: OVERFLOW error"}, kInf, "overflow"},
      {"exp(709.7822265625)", {"exp: OVERFLOW error"}, kInf, "the overflow threshold itself"},
      {"exp(709.78222656)", {}, std::exp(709.78222656), "just below the threshold"},
      {"exp(-1000)", {}, 0, "underflow is silent"},
      {"exp(-708.39599609375)", {}, 0, "the underflow threshold itself gives 0"},
      {"exp(-708.3959)", {}, std::exp(-708.3959), "just above the threshold"},
      {"sh(1000)", {"exp: OVERFLOW error"}, kInf, "exp(v) overflows, exp(-v) is 0"},
      {"sh(-1000)", {"exp: OVERFLOW error"}, -kInf, "exp(-v) overflows"},
      {"ch(1000)", {"exp: OVERFLOW error"}, kInf, "one overflowing call of two"},
      {"sin(10^20)", {}, kNaN, "total loss of precision is silent"},
      {"cos(-10^20)", {}, kNaN, "total loss of precision is silent"},
      {"tg(2^53)", {}, kNaN, "2^53 is the first lost argument"},
      {"ctg(2^53)", {}, kNaN, "1/NaN is silent"},
      {"sin(exp(1000))", {"exp: OVERFLOW error"}, kNaN, "infinite argument"},
      {"sin(2^53-1)", {}, -0.013949324588032911, "just below 2^53"},
  };
  for (const ReportCase& c : cases) expectReports(c);
}

TEST(MathLibrary, reportsAndSubstitutesOfPower) {
  const ReportCase cases[] = {
      {"0^0", {"pow: DOMAIN error"}, 1, "zero to the zero"},
      {"(-0)^0", {"pow: DOMAIN error"}, 1, "negative zero base"},
      {"0^(-0)", {"pow: DOMAIN error"}, 1, "negative zero exponent"},
      {"0^-1", {"pow: DOMAIN error"}, kInf, "zero to a negative"},
      {"0^-0.5", {"pow: DOMAIN error"}, kInf, "zero to a negative fraction"},
      {"0^2.5", {}, 0, "zero to a positive"},
      {"0^exp(1000)", {"exp: OVERFLOW error"}, 0, "zero to +inf is zero to a positive"},
      {"0^sqrt(-1)", {"sqrt: DOMAIN error", "pow: OVERFLOW error"}, kInf, "zero to NaN"},
      {"(-8)^(1/3)", {"pow: DOMAIN error"}, kNaN, "negative base, fraction"},
      {"(-exp(1000))^0.5", {"exp: OVERFLOW error", "pow: DOMAIN error"}, kNaN,
       "negative infinite base, fraction"},
      {"exp(1000)^2", {"exp: OVERFLOW error", "pow: OVERFLOW error"}, kInf, "infinite base"},
      {"exp(1000)^0", {"exp: OVERFLOW error", "pow: OVERFLOW error"}, kInf, "infinite base, zero exponent"},
      {"sqrt(-1)^2", {"sqrt: DOMAIN error", "pow: OVERFLOW error"}, kInf, "NaN base"},
      {"sqrt(-1)^0", {"sqrt: DOMAIN error", "pow: OVERFLOW error"}, kInf, "NaN base, zero exponent"},
      {"2^exp(1000)", {"exp: OVERFLOW error", "pow: OVERFLOW error"}, kInf, "infinite exponent"},
      {"0.5^(-exp(1000))", {"exp: OVERFLOW error", "pow: OVERFLOW error"}, kInf, "-inf exponent"},
      {"(-2)^sqrt(-1)", {"sqrt: DOMAIN error", "pow: OVERFLOW error"}, kInf, "NaN exponent"},
      {"exp(1000)^-1", {"exp: OVERFLOW error"}, 0, "infinite base, negative exponent"},
      {"sqrt(-1)^-2", {"sqrt: DOMAIN error"}, 0, "NaN base, negative exponent"},
      {"5^0", {}, 1, "zero exponent"},
      {"(-5)^(-0)", {}, 1, "negative zero exponent"},
      {"10^4096", {"pow: OVERFLOW error"}, kInf, "whole, too large to square: logarithms"},
      {"(10^300)^20", {"pow: OVERFLOW error"}, kInf, "base too large to square"},
      {"2^1024.5", {"pow: OVERFLOW error"}, kInf, "fraction above the range"},
      {"(-2)^4097", {"pow: OVERFLOW error"}, kInf, "negative base above the range"},
      {"10^-4096", {}, 0, "whole, below the range through logarithms"},
      {"0.5^1100.5", {}, 0, "fraction below the range"},
      {"(-1)^5001", {}, -1, "sign restored for an odd exponent"},
      {"(-1)^5000", {}, 1, "even exponent"},
      {"(-3)^-3", {}, static_cast<double>(-1 / Extended(27)), "negative whole exponent by squaring"},
      {"2^0.5", {}, std::sqrt(2.0), "plain fraction"},
  };
  for (const ReportCase& c : cases) expectReports(c);
}

TEST(MathLibrary, anEmptyHandlerIgnoresReports) {
  SetMathErrorHandler({});
  EXPECT_TRUE(std::isnan(evaluate("sqrt(-1)")));
}

TEST(MathLibrary, oneReportPerCallAtEveryEvaluation) {
  ReportLog log;
  double vars[10] = {-4};
  TParser parser;
  parser.Values = vars;
  parser.Parse("sqrt(x[0]) + sqrt(x[0])");
  parser.Evaluate();
  parser.Evaluate();
  EXPECT_EQ(log.texts.size(), 4u);
}

}  // namespace
