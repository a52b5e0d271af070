// The flat program against the literal recursive walk of the tree: the same
// value to the bit, the same reports in the same order, the same fault,
// with or without the slope.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "FormulaTestUtil.h"
#include "Math_Parser.h"
#include "RandomFormula.h"
#include "RecursiveWalk.h"

#if defined(__unix__)
#include <pthread.h>
#endif

using namespace Math_Parser;
using formula_test::ReportLog;

namespace {

struct Outcome {
  std::uint64_t bits = 0;
  std::string fault;  // empty when a value came
  std::vector<std::string> reports;
  bool operator==(const Outcome&) const = default;
};

template <class Evaluation>
Outcome outcomeOf(Evaluation evaluation) {
  Outcome outcome;
  ReportLog log;
  try {
    outcome.bits = std::bit_cast<std::uint64_t>(evaluation());
  } catch (const std::exception& fault) {
    outcome.fault = fault.what();
  }
  outcome.reports = log.texts;
  return outcome;
}

TEST(FlatWalk, agreesWithTheRecursiveWalkOnRandomFormulas) {
  formula_test::RandomFormula formulas(20261209);
  constexpr std::array<double, 7> kPoints{0, 1, -1, 0.5, 2.75, -3.3, 1e-300};
  // Sines and cosines of one argument, which the slope walk takes from one
  // pair of library calls; and of zeros of either sign.
  const std::array<std::string, 4> harmonics{
      "0.5*sin(2*pi*3*x[0]) - 0.25*cos(2*pi*3*x[0]) + cos(2*pi*4*x[0])*sin(2*pi*4*x[0])",
      "cos(x[0])*sin(x[0])*cos(x[0]) - sin(x[0]*0)", "(2 + cos(0*x[0])) * sin(-(0*x[0]))",
      "sin(10^20*x[0]) + cos(10^20*x[0])"};
  int faults = 0;
  int reports = 0;
  for (int n = 0; n < 3000 + static_cast<int>(harmonics.size()); ++n) {
    const std::string text = n < static_cast<int>(harmonics.size()) ? harmonics[n] : formulas.next();
    std::array<double, 10> x{0, 0.25, -1.5, 3, 4, 5, 6, 7, 8, 2};
    TParser parser;
    parser.Values = x.data();
    {
      ReportLog log;
      parser.Parse(text.c_str());
      ASSERT_TRUE(log.texts.empty()) << "a parse reports nothing: " << text;
    }
    for (double point : kPoints) {
      x[0] = point;
      const Outcome reference = outcomeOf([&] { return Velmora::toDouble(formula_test::walk(parser.Root, x.data())); });
      EXPECT_EQ(outcomeOf([&] { return parser.Evaluate(); }), reference) << text << " at " << point;
      EXPECT_EQ(outcomeOf([&] { return parser.ValueAndSlope().Value; }), reference) << text << " at " << point;
      faults += !reference.fault.empty();
      reports += !reference.reports.empty();
    }
  }
  // The formulas reach the faults and the reports, not only plain values.
  EXPECT_GT(faults, 500);
  EXPECT_GT(reports, 500);
}

// Subtrees without a variable are computed when the formula is read, unless
// computing them reports or faults: then they report or fault at every
// evaluation, as they would have.
TEST(FlatWalk, constantSubtreesFoldOnlyWhenNothingIsSeen) {
  const struct {
    const char* text;
    std::size_t instructions;
    std::vector<std::string> reports;  // at each evaluation
    const char* fault;                 // nullptr: a value
    const char* reason;
  } cases[] = {
      {"(2*pi*3)*x[0]", 1, {}, nullptr, "the constant is read with the product"},
      {"sin(2*pi/3) + x[0]", 1, {}, nullptr, "a function of a constant folds"},
      {"sqrt(-1) + x[0]", 3, {"sqrt: DOMAIN error"}, nullptr, "a report stays at the evaluation"},
      {"ln(0)*0 + x[0]", 4, {"log: SING error"}, "Invalid floating point operation", "a report, then a fault"},
      {"x[0] + 1/0", 4, {}, "Floating point division by zero", "a fault stays at the evaluation"},
      {"(10^200)^2/10^300 + x[0]", 1, {}, nullptr, "an 80-bit intermediate beyond the double range folds"},
      {"sin((10^200)^2) + x[0]", 3, {}, "Floating point overflow", "its rounding for a function faults"},
      {"x[1+1]*x[0]", 1, {}, nullptr, "a constant index reads the variable in place"},
      {"x[5+5]", 2, {}, "x[10] is outside the variables x[0] to x[9]", "an index outside stays an error"},
  };
  for (const auto& c : cases) {
    std::array<double, 10> x{1.5, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    TParser parser;
    parser.Values = x.data();
    {
      ReportLog log;
      parser.Parse(c.text);
      EXPECT_TRUE(log.texts.empty()) << c.reason;
    }
    EXPECT_EQ(parser.Program().Code().size(), c.instructions) << c.reason << ": " << c.text;
    for (int round = 0; round < 2; ++round) {
      const Outcome outcome = outcomeOf([&] { return parser.Evaluate(); });
      EXPECT_EQ(outcome.reports, c.reports) << c.reason << ": " << c.text;
      EXPECT_EQ(outcome.fault, c.fault ? c.fault : "") << c.reason << ": " << c.text;
    }
  }
}

// Where there are POSIX threads (not in the WebAssembly core, which has none).
#if defined(__unix__) && !(defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__))
// The tallest tree the language takes, and the deepest nesting, evaluated on
// a thread whose stack would not hold one native frame per level.
TEST(FlatWalk, evaluationNeedsNoStackPerLevel) {
  const int h = TParser::MaxHeight;
  const int n = TParser::MaxNesting;
  const std::string texts[] = {
      formula_test::repeat("1-", h - 1) + "x[0]",
      formula_test::repeat("sin(", n - 1) + "x[0]" + formula_test::repeat(")", n - 1),
      formula_test::repeat("x[0]*(", n - 1) + "1" + formula_test::repeat(")", n - 1),
  };
  for (const std::string& text : texts) {
    struct Job {
      TParser parser;
      std::array<double, 10> x{0.5};
      TValueAndSlope result{};
    } job;
    job.parser.Values = job.x.data();
    job.parser.Parse(text.c_str());
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attributes,
                  [](void* data) -> void* {
                    auto* job = static_cast<Job*>(data);
                    job->parser.Evaluate();
                    job->result = job->parser.ValueAndSlope();
                    job->parser.Parse("1");  // frees the tall tree here too
                    return nullptr;
                  },
                  &job),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(std::isfinite(job.result.Value)) << text.substr(0, 40);
    EXPECT_TRUE(std::isfinite(job.result.Slope)) << text.substr(0, 40);
  }
}
#endif

}  // namespace
