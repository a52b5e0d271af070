// A random formula from a small grammar, a random interval, method, parameter
// and stop rule, run twice on the same objects as the window does: the fast
// engine and the literal rules agree bit for bit (results, trials, the first
// fault, the order in which new points were first evaluated), and every run
// ends within its step bound.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <typeinfo>

#include "Engine_pair.h"
#include "FuzzCheck.h"
#include "Math_Parser.h"

using namespace VelmoraLiteral;

namespace {

// Reads the fuzzer's bytes as choices; past the end every choice is 0.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned byte() { return size_ ? (--size_, *data_++) : 0u; }
  template <typename T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[byte() % N];
  }
  double finite() {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | byte();
    const double v = std::bit_cast<double>(bits);
    return std::isfinite(v) ? v : 0.0;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// <formula> = <leaf> | <name> "(" <formula> ")" | "-(" <formula> ")" | "(" <formula> <op> <formula> ")"
std::string formula(Choices& in, int depth) {
  static const char* const leaves[] = {"x[0]", "x[0]", "x[0]", "x[1]", "0", "1", "2", "0.5", "3", "10",
                                       "pi", "e", "1000", "0.001", ".", "7"};
  static const char* const names[] = {"sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg",
                                      "sh", "ch", "th", "cth", "exp", "lg", "ln", "sqrt"};
  static const char* const ops[] = {"+", "-", "*", "/", "%", "^", "+", "*"};
  const unsigned kind = depth >= 5 ? 0 : in.byte() % 4;
  switch (kind) {
    case 0: return in.pick(leaves);
    case 1: return std::string(in.pick(names)) + "(" + formula(in, depth + 1) + ")";
    case 2: return "-(" + formula(in, depth + 1) + ")";
    default: {
      std::string left = formula(in, depth + 1);
      const char* op = in.pick(ops);
      return "(" + left + op + formula(in, depth + 1) + ")";
    }
  }
}

void interval(Choices& in, double& xmin, double& xmax) {
  static const double ends[][2] = {{-10, 10},      {10, -10},     {0, 1},         {-1, -1},
                                   {0, 1e-300},    {-1e300, 1e300}, {-1.7e308, 1.7e308}, {0, 4.9e-324},
                                   {1, 1.0000000000000002}, {-3, 3}, {2, 5},   {-0.5, 0.25}};
  if (in.byte() % 8 == 0) {
    xmin = in.finite();
    xmax = in.finite();
    return;
  }
  const auto& pair = in.pick(ends);
  xmin = pair[0];
  xmax = pair[1];
}

RunPlan makeRun(Choices& in) {
  static const double eps[] = {0.1, 1e-3, 1e-6, 0.0, -1.0, 10.0, 1e-300, 0.5};
  RunPlan r;
  interval(in, r.xmin, r.xmax);
  r.rule = static_cast<Rule>(in.byte() % 3);
  r.steps = static_cast<int>(in.byte()) - 2;
  r.eps = in.byte() % 8 == 0 ? in.finite() : in.pick(eps);
  r.bound = static_cast<int>(in.byte() % 160);
  return r;
}

bool same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// What holds for any finished run, whatever the two engines say about each other.
void checkShape(const Outcome& o, const RunPlan& r) {
  if (o.failed()) {
    const std::type_info& type = *o.faultType;
    VELMORA_FUZZ_CHECK(type == typeid(Velmora::ArithmeticFault) || type == typeid(Math_Parser::TEvalError),
                       "a run ends only by a fault of the arithmetic or of F");
    return;
  }
  VELMORA_FUZZ_CHECK(o.steps >= 0, "a step count is never negative");
  if (o.unsplittable) {
    VELMORA_FUZZ_CHECK(o.steps < std::max(r.rule == Rule::Steps ? r.steps : r.bound, 1),
                       "a run whose point fell on an end stopped before its rule did");
  } else if (r.rule == Rule::Steps) {
    VELMORA_FUZZ_CHECK(o.steps == std::max(r.steps, 0), "a step run makes exactly its steps");
    VELMORA_FUZZ_CHECK(!o.boundHit, "a step run never hits the bound");
  } else {
    // A precision run always makes its first step; an interval-length run may make none.
    const int bound = std::max(r.bound, r.rule == Rule::Precision ? 1 : 0);
    VELMORA_FUZZ_CHECK(o.steps <= bound, "a precision run keeps to its bound");
    if (o.boundHit) VELMORA_FUZZ_CHECK(o.steps == bound, "the bound flag means the bound was reached");
    if (r.rule == Rule::Precision)
      VELMORA_FUZZ_CHECK(o.boundHit == (o.precision > r.eps), "a precision run ends at its eps or says it did not");
  }
  VELMORA_FUZZ_CHECK(o.trials.size() == static_cast<std::size_t>(o.steps) + 2, "one trial per step and the ends");
  VELMORA_FUZZ_CHECK(same(o.trials.front().X, r.xmin) && same(o.trials.back().X, r.xmax),
                     "the ends stay first and last");
  VELMORA_FUZZ_CHECK(same(o.trials.back().Charact, 0.0), "the last record begins no interval");
  bool isTrial = false;
  for (const auto& t : o.trials) isTrial = isTrial || same(t.X, o.best);
  VELMORA_FUZZ_CHECK(isTrial, "the result is one of the trials");
}

std::size_t reports = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool hookSet = [] {
    Math_Parser::SetMathErrorHandler([](const std::string&) { ++reports; });
    return true;
  }();
  (void)hookSet;

  // Inputs that open with A5 5A also run to the full bound of a precision
  // run; that costs seconds under the sanitizers, so the corpus keeps one.
  const bool fullBound = size >= 2 && data[0] == 0xA5 && data[1] == 0x5A;
  Choices in(fullBound ? data + 2 : data, fullBound ? size - 2 : size);
  const std::string text = formula(in, 0);
  static const double parameters[] = {-3.0, 0.0, 0.5, 1.0, 1.0000001, 1.5, 2.0, 4.0, 10.0, 1e3, 1e300, 1e-300};
  double param = in.byte() % 8 == 0 ? in.finite() : in.pick(parameters);
  const auto method = static_cast<Method>(in.byte() % 3);
  double x1 = in.pick(parameters);

  // Each engine has its own formula object, as each F must be a function of x alone.
  Math_Parser::TParser fastParser, literalParser;
  double fastVars[Math_Parser::TParser::VariableCount] = {0, x1};
  double literalVars[Math_Parser::TParser::VariableCount] = {0, x1};
  try {
    fastParser.Parse(text.c_str());
    literalParser.Parse(text.c_str());
  } catch (const Math_Parser::TError& error) {
    VELMORA_FUZZ_CHECK(false, "every formula of the grammar parses");
  }
  fastParser.Values = fastVars;
  literalParser.Values = literalVars;
  EnginePair pair(method, param, [&](double x) { fastVars[0] = x; return fastParser.Evaluate(); },
                  [&](double x) { literalVars[0] = x; return literalParser.Evaluate(); });

  // The window keeps one method object for any number of presses.
  for (int press = 0; press < 2; ++press) {
    const RunPlan r = makeRun(in);
    const EnginePair::Comparison run = pair.Compare(r);
    VELMORA_FUZZ_CHECK(run.difference.empty(), run.difference.c_str());
    checkShape(run.fast, r);
  }

  // The window's own bound: eps 0 ends at the bound unless the precision
  // reaches 0 first, and the run says which.
  if (fullBound) {
    const RunPlan r{-10, 10, Rule::Precision, 0, 0.0, VELMORAALG::TCharactOpt::MaxPrecisionSteps};
    checkShape(pair.RunFast(r), r);
  }
  return 0;
}
