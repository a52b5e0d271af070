// The correctly rounded sin, cos and tan beside the C library's, on arguments
// where formulas live (|x| < 1000) and on huge ones, whose reduction reads
// the most bits of 2/pi.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>

#include "CorrectlyRoundedTrig.h"

namespace {

using Math_Parser::mathlib::crCos;
using Math_Parser::mathlib::crSin;
using Math_Parser::mathlib::crTan;

constexpr std::array<double (*)(double), 6> kFunctions{
    crSin, crCos, crTan,
    [](double x) { return std::sin(x); }, [](double x) { return std::cos(x); },
    [](double x) { return std::tan(x); },
};

// range(0): the function, crSin..crTan then the library's sin..tan;
// range(1): the arguments' magnitude.
void trig(benchmark::State& state) {
  std::mt19937_64 engine(1);
  std::uniform_real_distribution<double> draw(-1, 1);
  std::array<double, 1024> arguments;
  for (double& x : arguments) x = draw(engine) * (state.range(1) == 0 ? 1000 : 1e300);
  double (*const f)(double) = kFunctions[state.range(0)];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(arguments[i]));
    i = (i + 1) % arguments.size();
  }
}

}  // namespace

BENCHMARK(trig)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}});

BENCHMARK_MAIN();
