// Evaluate on the six sample formulas of the window, beside muparser on the
// same formulas. x[0] runs over a grid so no evaluation repeats the last one.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <array>

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

BENCHMARK(velmoraEvaluate)->DenseRange(0, 5);
BENCHMARK(muparserEval)->DenseRange(0, 5);

}  // namespace

BENCHMARK_MAIN();
