// Evaluate on the six sample formulas of the window, beside muparser on the
// same formulas, and on a function of the Hill class. x[0] runs over a grid
// so no evaluation repeats the last one.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <array>
#include <string>

#include "Math_Parser.h"

namespace {

struct Sample {
  const char* velmora;
  const char* muparser;
};

constexpr std::array<Sample, 6> kSamples{{
    {"x[0]^2 - 5", "x^2 - 5"},
    {"x[0]^2 + 6 * sin( 2*pi *x[0] )", "x^2 + 6 * sin( 2*_pi *x )"},
    {"cos(x[0]) + 2*cos(2*x[0]) * 2.27^(-x[0]/2)", "cos(x) + 2*cos(2*x) * 2.27^(-x/2)"},
    {"sin(x[0]) + sin( 10*x[0]/3 )", "sin(x) + sin( 10*x/3 )"},
    {"(1.4 - 3*x[0]) * sin( 18*x[0] )", "(1.4 - 3*x) * sin( 18*x )"},
    {"2*( x[0]-3 )^2 + exp( x[0]^2 / 2 )", "2*( x-3 )^2 + exp( x^2 / 2 )"},
}};

// The first function of data/hill1000.tsv, spelled as the Hill class writes
// its formulas: b_0, then a_i*sin(angle) and b_i*cos(angle) for i = 1..13.
constexpr std::array<const char*, 14> kHillSine{
    "", " - 0.794122", " - 0.203711", " + 0.394696", " - 0.0102847", " + 0.53679", " - 0.609485",
    " + 0.870846", " + 0.726005", " + 0.00979644", " - 0.601245", " - 0.853633", " + 0.25248", " + 0.608936"};
constexpr std::array<const char*, 14> kHillCosine{
    "-0.876339", " - 0.629688", " + 0.695303", " + 0.00503555", " + 0.783258", " - 0.358318", " + 0.541063",
    " - 0.742302", " + 0.346843", " - 0.088168", " + 0.0708335", " - 0.0198675", " - 0.75164", " + 0.989074"};

std::string hillFormula(const char* variable, const char* pi) {
  std::string text = kHillCosine[0];
  for (int i = 1; i < 14; ++i) {
    const std::string angle = std::string("(2*") + pi + "*" + std::to_string(i) + "*" + variable + ")";
    text += kHillSine[i] + ("*sin" + angle) + kHillCosine[i] + "*cos" + angle;
  }
  return text;
}

constexpr int kGrid = 1000;
double gridPoint(int i) { return -3.0 + 6.0 * i / kGrid; }

void velmoraEvaluate(benchmark::State& state) {
  double vars[10] = {};
  Math_Parser::TParser parser;
  parser.Values = vars;
  parser.Parse(kSamples[state.range(0)].velmora);
  int i = 0;
  for (auto _ : state) {
    vars[0] = gridPoint(i);
    i = i + 1 == kGrid ? 0 : i + 1;
    benchmark::DoNotOptimize(parser.Evaluate());
  }
}

void muparserEval(benchmark::State& state) {
  double x = 0;
  mu::Parser parser;
  parser.DefineVar("x", &x);
  parser.SetExpr(kSamples[state.range(0)].muparser);
  int i = 0;
  for (auto _ : state) {
    x = gridPoint(i);
    i = i + 1 == kGrid ? 0 : i + 1;
    benchmark::DoNotOptimize(parser.Eval());
  }
}

// The Hill function over [0, 1], evaluated as `evaluation` asks the parser.
template <class Evaluation>
void velmoraHillBy(benchmark::State& state, Evaluation evaluation) {
  double vars[10] = {};
  Math_Parser::TParser parser;
  parser.Values = vars;
  parser.Parse(hillFormula("x[0]", "pi").c_str());
  int i = 0;
  for (auto _ : state) {
    vars[0] = static_cast<double>(i) / kGrid;
    i = i + 1 == kGrid ? 0 : i + 1;
    benchmark::DoNotOptimize(evaluation(parser));
  }
}

void velmoraHill(benchmark::State& state) {
  velmoraHillBy(state, [](Math_Parser::TParser& parser) { return parser.Evaluate(); });
}

// With its slope, as a method for a Lipschitz derivative asks.
void velmoraHillSlope(benchmark::State& state) {
  velmoraHillBy(state, [](Math_Parser::TParser& parser) { return parser.ValueAndSlope(); });
}

void muparserHill(benchmark::State& state) {
  double x = 0;
  mu::Parser parser;
  parser.DefineVar("x", &x);
  parser.SetExpr(hillFormula("x", "_pi"));
  int i = 0;
  for (auto _ : state) {
    x = static_cast<double>(i) / kGrid;
    i = i + 1 == kGrid ? 0 : i + 1;
    benchmark::DoNotOptimize(parser.Eval());
  }
}

BENCHMARK(velmoraEvaluate)->DenseRange(0, 5);
BENCHMARK(muparserEval)->DenseRange(0, 5);
BENCHMARK(velmoraHill);
BENCHMARK(velmoraHillSlope);
BENCHMARK(muparserHill);

}  // namespace

BENCHMARK_MAIN();
