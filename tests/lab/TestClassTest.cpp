// The test classes: the stream each class draws from, formulas that read back
// through the formula engine, and minima and slopes held against brute force
// through the engine, which is what a class run evaluates.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FormulaLiteral.h"
#include "GlobalMinimum.h"
#include "HillFunction.h"
#include "Math_Parser.h"
#include "ShekelFunction.h"
#include "TestClass.h"

using namespace Velmora::Lab;

namespace {

class Engine {
 public:
  explicit Engine(const std::string& formula) {
    parser_.Parse(formula.c_str());
    parser_.Values = variables_;
  }
  double operator()(double x) {
    variables_[0] = x;
    return parser_.Evaluate();
  }
  const Math_Parser::TParserNode* root() const { return parser_.Root; }

 private:
  Math_Parser::TParser parser_;
  double variables_[Math_Parser::TParser::VariableCount] = {};
};

std::unique_ptr<NativeFunction> nativeFunction(TestClassId cls, std::uint64_t index) {
  SplitMix64 draws(testClass(cls).seed + index);
  if (cls == TestClassId::Hill) return std::make_unique<HillFunction>(draws);
  return std::make_unique<ShekelFunction>(draws);
}

// Every number the formula's tree holds.
void collectLeaves(const Math_Parser::TParserNode* node, std::vector<double>& leaves) {
  if (!node) return;
  if (!node->Left && !node->Right) leaves.push_back(node->Value);
  collectLeaves(node->Left, leaves);
  collectLeaves(node->Right, leaves);
}

// Doubles between a and b; 0 for equal values, also for 0 and -0.
std::uint64_t ulpsApart(double a, double b) {
  const auto ordered = [](double v) {
    const auto bits = std::bit_cast<std::int64_t>(v);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
  };
  const std::int64_t ia = ordered(a);
  const std::int64_t ib = ordered(b);
  return ia > ib ? static_cast<std::uint64_t>(ia) - static_cast<std::uint64_t>(ib)
                 : static_cast<std::uint64_t>(ib) - static_cast<std::uint64_t>(ia);
}

// The expected values were computed apart from the library, with Python's
// integers and floats, from the definitions of the generator and the classes.
TEST(TestClasses, firstDrawsOfEachClass) {
  const struct {
    TestClassId cls;
    std::uint64_t index;
    std::uint64_t raw[3];
    double coefficient[3];
    const char* formulaOpening;
  } cases[] = {
      // a_0, b_0, a_1; a_0 stands nowhere in the formula, as its sine vanishes.
      {TestClassId::Hill, 0, {0x0844f7ff7e0821b4, 0xfa0324742f9c0b2f, 0x4907741d3e3b1e84},
       {-0.9353952410201023, 0.9532208983721093, -0.42946003505816255},
       "0.9532208983721093 - 0.42946003505816255*sin(2*pi*1*x[0]) + "},
      {TestClassId::Hill, 1, {0xfe47d27c2419c853, 0xd64fca05fa1d4ec3, 0x15445ac5cbcc6418},
       {0.9865668398053471, 0.6743099717316261, -0.8338514837454598},
       "0.6743099717316261 - 0.8338514837454598*sin(2*pi*1*x[0]) "},
      // K_1, a_1, c_1.
      {TestClassId::Shekel, 0, {0xa0645c5e15f8a442, 0x586b1fb3c291d57e, 0xda96b7d5f49bf825},
       {17.53062768879265, 3.4538458002732075, 1.1707724551649532},
       "-1/(17.53062768879265*(x[0]-3.4538458002732075)^2 + 1.1707724551649532) - 1/("},
      {TestClassId::Shekel, 1, {0xbb4583a77390c9a7, 0x60efd3f616c69e05, 0x0e4cabcb3c5cd6f8},
       {19.630589072832038, 3.786594844630379, 1.0111714815365054},
       "-1/(19.630589072832038*(x[0]-3.786594844630379)^2 + 1.0111714815365054) - 1/("},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(testClass(c.cls).key) + " " + std::to_string(c.index));
    SplitMix64 stream(testClass(c.cls).seed + c.index);
    for (std::uint64_t raw : c.raw) EXPECT_EQ(stream.next(), raw);

    SplitMix64 draws(testClass(c.cls).seed + c.index);
    double drawn[3];
    if (c.cls == TestClassId::Hill) {
      const HillFunction f(draws);
      drawn[0] = f.sine[0], drawn[1] = f.cosine[0], drawn[2] = f.sine[1];
    } else {
      const ShekelFunction f(draws);
      drawn[0] = f.terms[0].k, drawn[1] = f.terms[0].centre, drawn[2] = f.terms[0].c;
    }
    for (int k = 0; k < 3; ++k) EXPECT_EQ(drawn[k], c.coefficient[k]) << "draw " << k;

    const std::string formula = makeTestFunction(c.cls, c.index).formula;
    EXPECT_EQ(formula.substr(0, std::string(c.formulaOpening).size()), c.formulaOpening);
  }
}

// Over doubles of every magnitude the formula language can write in plain
// decimals: the text is digits and a point, and the engine's scanner reads it
// back as the same value, with its sign where the sign is an operator.
TEST(FormulaLiteral, everyDoubleReadsBackThroughTheEngine) {
  std::vector<double> values = {0.0, 0.1, 1e-5, 123456789.0, std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::min(), std::numeric_limits<double>::max()};
  SplitMix64 bits(2024);
  while (values.size() < 3000) {
    const double v = std::bit_cast<double>(bits.next());
    if (std::isfinite(v)) values.push_back(v);
  }
  for (double v : values) {
    std::string magnitude;
    appendMagnitude(magnitude, v);
    SCOPED_TRACE(magnitude);
    EXPECT_EQ(magnitude.find_first_not_of("0123456789."), std::string::npos);
    EXPECT_LE(std::count(magnitude.begin(), magnitude.end(), '.'), 1);
    EXPECT_EQ(Engine(magnitude)(0), std::fabs(v));

    std::string leading;
    appendCoefficient(leading, v, true);
    EXPECT_EQ(Engine(leading)(0), v);
    std::string following = "x[0]";
    appendCoefficient(following, v, false);
    // x[0] = 0 makes the sum the coefficient itself, exactly.
    EXPECT_EQ(Engine(following)(0), v);
  }
}

// The formula holds every drawn coefficient as a number the scanner reads
// exactly, and the engine computes the same function as the native form.
TEST(TestFunctionFormula, readsBackAsTheNativeFunction) {
  for (const TestClass& cls : testClasses()) {
    for (std::uint64_t index : {0u, 1u, 2u, 500u, 99999u}) {
      SCOPED_TRACE(std::string(cls.key) + " " + std::to_string(index));
      const auto native = nativeFunction(cls.id, index);
      const std::string formula = native->formula();
      ASSERT_EQ(formula, makeTestFunction(cls.id, index).formula);
      ASSERT_LT(formula.size(), 32767u) << "the window's formula box holds no more";
      Engine engine(formula);

      std::vector<double> coefficients;
      if (const auto* hill = dynamic_cast<const HillFunction*>(native.get())) {
        coefficients.assign(hill->sine.begin() + 1, hill->sine.end());
        coefficients.insert(coefficients.end(), hill->cosine.begin(), hill->cosine.end());
      } else {
        for (const ShekelFunction::Term& t : dynamic_cast<const ShekelFunction&>(*native).terms)
          coefficients.insert(coefficients.end(), {t.k, t.centre, t.c});
      }
      std::vector<double> leaves;
      collectLeaves(engine.root(), leaves);
      for (double c : coefficients)
        EXPECT_NE(std::find(leaves.begin(), leaves.end(), std::fabs(c)), leaves.end()) << c;

      std::uint64_t worst = 0;
      for (int j = 0; j <= 1000; ++j) {
        const double x = cls.a + (cls.b - cls.a) * j / 1000;
        worst = std::max(worst, ulpsApart(engine(x), static_cast<double>(native->value(x))));
      }
      EXPECT_LE(worst, 4u);
    }
  }
}

// The lowest point of a brute-force search through the engine: a grid over
// the interval, then finer grids around its four lowest local minima, then
// around the best point found.
struct BruteForce {
  double x = 0;
  double f = std::numeric_limits<double>::infinity();
  double steepestSecant = 0;  ///< of the first grid
};

BruteForce bruteForce(Engine& engine, double a, double b) {
  constexpr int Points = 20001;
  BruteForce found;
  const double h = (b - a) / (Points - 1);
  std::vector<double> xs(Points);
  std::vector<double> fs(Points);
  for (int j = 0; j < Points; ++j) {
    xs[j] = a + h * j;
    fs[j] = engine(xs[j]);
    if (j > 0) found.steepestSecant = std::max(found.steepestSecant, std::fabs(fs[j] - fs[j - 1]) / h);
  }
  std::vector<int> minima;
  for (int j = 0; j < Points; ++j)
    if ((j == 0 || fs[j] <= fs[j - 1]) && (j == Points - 1 || fs[j] <= fs[j + 1])) minima.push_back(j);
  std::sort(minima.begin(), minima.end(), [&](int p, int q) { return fs[p] < fs[q]; });
  const auto zoom = [&](double centre, double halfWidth) {
    for (int k = 0; k <= 2000; ++k) {
      const double x = std::clamp(centre - halfWidth + halfWidth * k / 1000, a, b);
      const double f = engine(x);
      if (f < found.f) found.x = x, found.f = f;
    }
  };
  for (std::size_t m = 0; m < std::min<std::size_t>(minima.size(), 4); ++m) zoom(xs[minima[m]], h);
  zoom(found.x, h / 1000);
  return found;
}

TEST(TestFunctionMinimum, agreesWithBruteForceThroughTheEngine) {
  const struct {
    TestClassId cls;
    std::uint64_t index;
    const char* why;
  } cases[] = {
      {TestClassId::Hill, 0, "the first of the class"},
      {TestClassId::Hill, 1, "the second"},
      {TestClassId::Hill, 197, "two minima 3.7e-4 apart in value"},
      {TestClassId::Hill, 4000, "one far into the class"},
      {TestClassId::Shekel, 0, "the first of the class"},
      {TestClassId::Shekel, 1, "the second"},
      {TestClassId::Shekel, 192, "two minima 9.7e-4 apart in value"},
      {TestClassId::Shekel, 4000, "one far into the class"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(testClass(c.cls).key) + " " + std::to_string(c.index) + ": " + c.why);
    const TestFunction f = makeTestFunction(c.cls, c.index);
    Engine engine(f.formula);
    const BruteForce found = bruteForce(engine, f.a, f.b);

    EXPECT_EQ(f.fstar, engine(f.xstar)) << "what a run evaluating the formula sees";
    EXPECT_NEAR(f.fstar, found.f, 1e-12);
    EXPECT_NEAR(f.xstar, found.x, 1e-7) << "the brute force's values cannot place it closer";
    // Central differences of the engine place the minimiser more finely: a
    // point off by d has the slope d * f''.
    const double slope = (engine(f.xstar + 1e-6) - engine(f.xstar - 1e-6)) / 2e-6;
    const double curvature = (engine(f.xstar + 1e-4) - 2 * f.fstar + engine(f.xstar - 1e-4)) / 1e-8;
    ASSERT_GT(curvature, 0);
    EXPECT_LT(std::fabs(slope / curvature), 1e-9);

    // The grid's largest slope is no less than any secant of a coarser grid,
    // and the steepest secant comes close to it.
    EXPECT_LE(found.steepestSecant, f.lipschitz * (1 + 1e-6));
    EXPECT_GE(found.steepestSecant, f.lipschitz * (1 - 1e-4));
  }
}

// Functions of the shekel form made by hand, for what the class rarely or
// never does: wells of depth 1/c, the unused terms too shallow to matter.
ShekelFunction handMade(std::initializer_list<ShekelFunction::Term> wells) {
  SplitMix64 draws(0);
  ShekelFunction f(draws);
  for (ShekelFunction::Term& t : f.terms) t = {5, 5, 1e9};
  std::copy(wells.begin(), wells.end(), f.terms.begin());
  return f;
}

TEST(TestFunctionMinimum, atAnEndAndWhereTheGridRanksTwoWellsWrongly) {
  EXPECT_EQ(findGlobalMinimum(handMade({{20, -0.05, 1}})).x, 0) << "a well just left of the interval";
  EXPECT_EQ(findGlobalMinimum(handMade({{20, 10.05, 1}})).x, 10) << "and just right of it";

  // Narrow wells, so neither moves the other's floor by more than 2e-8. The
  // first floor is a grid point; the second is 1e-6 deeper, but lies half a
  // cell from the grid, where the well is 2.5e-6 higher.
  const ShekelFunction tie = handMade({{1000, 3, 1}, {1000, 7.00005, 1 / (1 + 1e-6)}});
  const double valueAtFirst = static_cast<double>(tie.value(gridPoint(tie.a, tie.b, 30000)));
  double lowestNearSecond = 0;
  for (int j = 69990; j <= 70010; ++j)
    lowestNearSecond = std::min(lowestNearSecond, static_cast<double>(tie.value(gridPoint(tie.a, tie.b, j))));
  ASSERT_LT(valueAtFirst, lowestNearSecond) << "the grid must rank the wells the wrong way round";
  const GlobalMinimum minimum = findGlobalMinimum(tie);
  EXPECT_NEAR(minimum.x, 7.00005, 1e-7);
  EXPECT_LT(minimum.value, valueAtFirst);
}

// Class runs make functions on several threads at once.
TEST(TestFunction, sameOnAnyNumberOfThreads) {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
  GTEST_SKIP() << "the WebAssembly core has no threads";
#endif
  constexpr int PerThread = 6;
  constexpr int Threads = 4;
  std::vector<TestFunction> parallel(PerThread * Threads);
  std::vector<std::thread> threads;
  for (int t = 0; t < Threads; ++t)
    threads.emplace_back([&parallel, t] {
      for (int k = 0; k < PerThread; ++k) {
        const int n = t + Threads * k;
        parallel[n] = makeTestFunction(n % 2 ? TestClassId::Shekel : TestClassId::Hill, n);
      }
    });
  for (std::thread& t : threads) t.join();
  for (int n = 0; n < PerThread * Threads; ++n) {
    const TestFunction alone = makeTestFunction(n % 2 ? TestClassId::Shekel : TestClassId::Hill, n);
    SCOPED_TRACE(n);
    EXPECT_EQ(parallel[n].formula, alone.formula);
    EXPECT_EQ(parallel[n].xstar, alone.xstar);
    EXPECT_EQ(parallel[n].fstar, alone.fstar);
    EXPECT_EQ(parallel[n].lipschitz, alone.lipschitz);
  }
}

}  // namespace
