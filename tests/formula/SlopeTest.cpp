// The slope by x[0]: every rule against derivatives written by hand in
// native long double, random formulas against a dual-number walk of the
// tree, and the points where a formula has no finite derivative.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "FormulaTestUtil.h"
#include "Math_Parser.h"
#include "RandomFormula.h"

using namespace Math_Parser;
using formula_test::ReportLog;

namespace {

using Real = long double;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// x[1]..x[9] hold 1..9 unless the case says otherwise.
TValueAndSlope slopeAt(const std::string& text, double x0, std::array<double, 10> x = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) {
  x[0] = x0;
  TParser parser;
  parser.Values = x.data();
  parser.Parse(text.c_str());
  return parser.ValueAndSlope();
}

void expectClose(double got, Real expected, const std::string& what) {
  const Real tolerance = 1e-12L * (1 + std::fabs(expected));
  EXPECT_LE(std::fabs(got - expected), tolerance) << what << ": " << got << " vs " << static_cast<double>(expected);
}

struct RuleCase {
  const char* text;
  std::function<Real(Real)> derivative;
  double lower;  // the points are drawn from [lower, upper]
  double upper;
};

// Each operation with an inner slope other than 1, so the chain rule is
// checked with it.
TEST(Slope, everyRuleAgreesWithItsDerivativeByHand) {
  const Real ln10 = std::log(10.0L);
  const RuleCase cases[] = {
      {"x[0]", [](Real) { return 1; }, -2, 3},
      {"x[1]*7 + pi", [](Real) { return 0; }, -2, 3},
      {"3*x[0] + x[0]", [](Real) { return 4; }, -2, 3},
      {"x[0]*x[0] - 3*x[0]", [](Real x) { return 2 * x - 3; }, -2, 3},
      {"x[0]/(1 + x[0]*x[0])", [](Real x) { return (1 - x * x) / ((1 + x * x) * (1 + x * x)); }, -2, 3},
      {"-(x[0]*x[0])", [](Real x) { return -2 * x; }, -2, 3},
      {"(3*x[0])^2", [](Real x) { return 18 * x; }, -2, 3},
      {"x[0]^3", [](Real x) { return 3 * x * x; }, -2, 3},
      {"x[0]^-2", [](Real x) { return -2 / (x * x * x); }, 0.25, 3},
      {"x[0]^1.5", [](Real x) { return 1.5L * std::sqrt(x); }, 0.25, 3},
      {"2.27^(-x[0]/2)", [](Real x) { return -std::log(2.27L) / 2 * std::pow(2.27L, -x / 2); }, -2, 3},
      {"(1 + x[0]*x[0])^sin(x[0])",
       [](Real x) {
         const Real b = 1 + x * x;
         return std::pow(b, std::sin(x)) * (std::cos(x) * std::log(b) + std::sin(x) * 2 * x / b);
       },
       -2, 3},
      {"x[0] % 3 + x[0]", [](Real) { return 1; }, -2.5, 1.25},
      {"sin(3*x[0])", [](Real x) { return 3 * std::cos(3 * x); }, -2, 3},
      {"cos(3*x[0])", [](Real x) { return -3 * std::sin(3 * x); }, -2, 3},
      {"sin(3*x[0])*cos(3*x[0])", [](Real x) { return 3 * std::cos(6 * x); }, -2, 3},
      {"tg(x[0]/2)", [](Real x) { return 0.5L / (std::cos(x / 2) * std::cos(x / 2)); }, -2, 3},
      {"ctg(x[0]/2)", [](Real x) { return -0.5L / (std::sin(x / 2) * std::sin(x / 2)); }, 0.25, 3},
      {"arcsin(x[0]/4)", [](Real x) { return 0.25L / std::sqrt(1 - x * x / 16); }, -2, 3},
      {"arccos(x[0]/4)", [](Real x) { return -0.25L / std::sqrt(1 - x * x / 16); }, -2, 3},
      {"arctg(2*x[0])", [](Real x) { return 2 / (1 + 4 * x * x); }, -2, 3},
      {"arcctg(2*x[0])", [](Real x) { return -2 / (1 + 4 * x * x); }, -2, 3},
      {"sh(2*x[0])", [](Real x) { return 2 * std::cosh(2 * x); }, -2, 3},
      {"ch(2*x[0])", [](Real x) { return 2 * std::sinh(2 * x); }, -2, 3},
      {"th(2*x[0])", [](Real x) { return 2 / (std::cosh(2 * x) * std::cosh(2 * x)); }, -2, 3},
      {"cth(2*x[0])", [](Real x) { return -2 / (std::sinh(2 * x) * std::sinh(2 * x)); }, 0.25, 3},
      {"exp(2*x[0])", [](Real x) { return 2 * std::exp(2 * x); }, -2, 3},
      {"lg(2*x[0])", [ln10](Real x) { return 1 / (x * ln10); }, 0.25, 3},
      {"ln(2*x[0])", [](Real x) { return 1 / x; }, 0.25, 3},
      {"sqrt(2*x[0])", [](Real x) { return 1 / std::sqrt(2 * x); }, 0.25, 3},
      {"x[x[1]]", [](Real) { return 0; }, -2, 3},
      {"x[x[0]/10]", [](Real) { return 1; }, -2, 3},
  };
  std::mt19937_64 engine(5);
  for (const RuleCase& c : cases) {
    std::uniform_real_distribution<double> draw(c.lower, c.upper);
    for (int n = 0; n < 50; ++n) {
      const double x = draw(engine);
      const TValueAndSlope got = slopeAt(c.text, x);
      expectClose(got.Slope, c.derivative(x), std::string(c.text) + " at " + std::to_string(x));
    }
  }
}

// The dual numbers of the tree, written plainly in long double: the
// reference for random formulas.
struct Dual {
  Real v;
  Real d;
};

Dual dual(const TParserNode* node, const std::array<double, 10>& x) {
  if (!node->Left && !node->Right) return {node->Value, 0};
  const int op = static_cast<int>(node->Value);
  if (op == opVar) {
    const Dual index = dual(node->Left, x);
    // The index's low 32 bits after truncation, as the language reads it.
    const bool wide = std::isnan(index.v) || std::fabs(index.v) >= 0x1p63L;
    const auto k = wide ? 0 : static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(index.v)));
    if (k < 0 || k > 9) return {kNaN, kNaN};
    return {x[k], k == 0 ? 1.0L : 0.0L};
  }
  const Dual a = dual(node->Left, x);
  if (op == opNeg) return {-a.v, -a.d};
  if (node->Right) {
    const Dual b = dual(node->Right, x);
    switch (op) {
      case opAdd: return {a.v + b.v, a.d + b.d};
      case opSub: return {a.v - b.v, a.d - b.d};
      case opMul: return {a.v * b.v, a.d * b.v + a.v * b.d};
      case opDiv: return {a.v / b.v, (a.d * b.v - a.v * b.d) / (b.v * b.v)};
      case opMod: return {std::fmod(std::trunc(a.v), std::trunc(b.v)), 0};
      default: {
        const Real f = std::pow(a.v, b.v);
        return {f, (b.d == 0 ? 0 : f * std::log(a.v) * b.d) + (a.d == 0 ? 0 : b.v * std::pow(a.v, b.v - 1) * a.d)};
      }
    }
  }
  const Real u = a.v;
  Real f = 0, g = 0;
  switch (op) {
    case opSin: f = std::sin(u), g = std::cos(u); break;
    case opCos: f = std::cos(u), g = -std::sin(u); break;
    case opTg: f = std::tan(u), g = 1 + f * f; break;
    case opCtg: f = 1 / std::tan(u), g = -(1 + f * f); break;
    case opArcsin: f = std::asin(u), g = 1 / std::sqrt(1 - u * u); break;
    case opArccos: f = std::acos(u), g = -1 / std::sqrt(1 - u * u); break;
    case opArctg: f = std::atan(u), g = 1 / (1 + u * u); break;
    case opArcctg: f = std::atan(1) * 2 - std::atan(u), g = -1 / (1 + u * u); break;
    case opSh: f = std::sinh(u), g = std::cosh(u); break;
    case opCh: f = std::cosh(u), g = std::sinh(u); break;
    case opTh: f = std::tanh(u), g = 1 - f * f; break;
    case opCth: f = 1 / std::tanh(u), g = 1 - f * f; break;
    case opExp: f = std::exp(u), g = f; break;
    case opLg: f = std::log10(u), g = 1 / (u * std::log(10.0L)); break;
    case opLn: f = std::log(u), g = 1 / u; break;
    default: f = std::sqrt(u), g = 1 / (2 * f); break;
  }
  return {f, a.d == 0 ? 0 : g * a.d};
}

TEST(Slope, agreesWithDualNumbersOnRandomFormulas) {
  formula_test::RandomFormula formulas(77);
  std::mt19937_64 engine(78);
  int compared = 0;
  for (int n = 0; n < 3000; ++n) {
    const std::string text = formulas.next(4);
    std::array<double, 10> x{0, 0.25, -1.5, 3, 4, 5, 6, 7, 8, 2};
    TParser parser;
    parser.Values = x.data();
    parser.Parse(text.c_str());
    std::uniform_real_distribution<double> draw(-3, 3);
    for (int m = 0; m < 5; ++m) {
      const double point = draw(engine);
      x[0] = point;
      TValueAndSlope got;
      try {
        got = parser.ValueAndSlope();
      } catch (const std::exception&) {
        continue;
      }
      const Dual expected = dual(parser.Root, x);
      // Compared where the function is tame: a moderate value and slope, and
      // the engine's doubles for library arguments agreeing with long double.
      if (!std::isfinite(got.Slope) || !(std::fabs(expected.d) < 1e6) || !(std::fabs(expected.v) < 1e6) ||
          !(std::fabs(got.Value - expected.v) <= 1e-9L * (1 + std::fabs(expected.v))))
        continue;
      ++compared;
      EXPECT_LE(std::fabs(got.Slope - expected.d), 1e-7L * (1 + std::fabs(expected.d)))
          << text << " at " << point << ": " << got.Slope << " vs " << static_cast<double>(expected.d);
    }
  }
  EXPECT_GT(compared, 3000);
}

struct PointCase {
  const char* text;
  double x0;
  double slope;  // NaN: no slope
  const char* reason;
};

TEST(Slope, pointsWithoutAFiniteDerivativeGiveNaN) {
  const double ln2 = std::log(2.0);
  const PointCase cases[] = {
      {"sqrt(x[0])", 0, kNaN, "an infinite slope"},
      {"sqrt(x[0]^2)", 0, kNaN, "a kink: |x| at 0"},
      {"sqrt(x[0]^2)", -2, -1, "beside the kink"},
      {"(x[0]^2)^0.5", 0, kNaN, "the same kink through ^"},
      {"x[0]^0.5", 0, kNaN, "a non-whole exponent at a zero base"},
      {"x[0]^1.5", 0, kNaN, "no values left of 0"},
      {"x[0]^3", 0, 0, "a whole exponent at 0"},
      {"x[0]^1", 0, 1, "the first power at 0"},
      {"x[0]^-1", 0, kNaN, "an infinite value"},
      {"2^x[0]", 1, 2 * ln2, "a varying exponent"},
      {"0^x[0]", 1, 0, "a zero base under a positive exponent"},
      {"(-2)^x[0]", 2, kNaN, "a negative base under a varying exponent"},
      {"x[0]^x[0]", 1, 1, "both vary"},
      {"x[0] % 3", 1.5, 0, "between the jumps of the remainder"},
      {"x[0] % 3", 2, kNaN, "at a jump of the dividend"},
      {"x[0] % 3", 0, 0, "the integer part does not jump at 0"},
      {"7 % x[0]", 2, kNaN, "at a jump of the divisor"},
      {"x[x[0]]", 0.5, 1, "the index names x[0]"},
      {"x[x[0]]", 1.5, 0, "the index names x[1]"},
      {"x[x[0]]", 1, kNaN, "the index jumps"},
      {"arcsin(x[0])", 1, kNaN, "an infinite slope at the end of the domain"},
      {"arcsin(x[0])", 2, kNaN, "outside the domain the value is NaN"},
      {"ln(x[0])", 0, kNaN, "an infinite value"},
      {"exp(x[0])", 1000, kNaN, "an overflowing value"},
      {"0*sqrt(x[0])", 0, kNaN, "a part without a slope spoils the rule's sum"},
      {"sqrt(x[0])*10^300", 1e-320, kNaN, "a slope beyond the double range"},
      {"x[0] + sqrt(x[1])", 1, 1, "a parameter at a point without a slope is still a constant"},
      {"sqrt(2) + x[1]", 1, 0, "no x[0]"},
      {"sqrt(-1)", 1, kNaN, "no x[0], but no finite value either"},
  };
  std::array<double, 10> x{0, 0, 2, 3, 4, 5, 6, 7, 8, 9};
  for (const PointCase& c : cases) {
    const TValueAndSlope got = slopeAt(c.text, c.x0, x);
    if (std::isnan(c.slope))
      EXPECT_TRUE(std::isnan(got.Slope)) << c.reason << ": " << c.text << " gives " << got.Slope;
    else
      EXPECT_NEAR(got.Slope, c.slope, 1e-15) << c.reason << ": " << c.text;
  }
}

TEST(Slope, aFaultStaysTheValuesFault) {
  for (const char* text : {"1/x[0]", "x[0]/x[0]", "ctg(x[0])", "7 % x[0]"}) {
    std::array<double, 10> x{};
    TParser parser;
    parser.Values = x.data();
    parser.Parse(text);
    std::string valueFault, slopeFault;
    try {
      parser.Evaluate();
    } catch (const Velmora::ArithmeticFault& fault) {
      valueFault = fault.what();
    }
    try {
      parser.ValueAndSlope();
    } catch (const Velmora::ArithmeticFault& fault) {
      slopeFault = fault.what();
    }
    EXPECT_FALSE(valueFault.empty()) << text;
    EXPECT_EQ(slopeFault, valueFault) << text;
  }
}

}  // namespace
