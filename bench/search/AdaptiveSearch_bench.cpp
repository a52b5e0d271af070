// The adaptive-estimate search beside its full recomputation (tests/search's
// LiteralAdaptive), every variant with r = 2 on two functions of many equal
// minima over [-10, 10], where every variant keeps finding room for 10000
// trials (on smooth ones the local tunings close in on a minimiser until no
// double lies inside the chosen interval, within a few hundred steps):
// ripple sin(1000x) and beat sin(1000x) + sin(1618x).
//   build/bench/search/adaptive_search_bench
// The argument is the number of trials asked for. Counters: trials, the
// trials made (fewer when a run ended because a point left its interval);
// refreshes, the steps whose H or X changed so that every estimate was
// computed anew.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "AdaptiveLipschitzSearch.h"
#include "LiteralAdaptive.h"

namespace {

using VELMORAALG::AdaptiveLipschitzSearch;
using Characteristic = AdaptiveLipschitzSearch::Characteristic;
using Estimate = AdaptiveLipschitzSearch::Estimate;

double Ripple(double x) { return std::sin(1000 * x); }
double Beat(double x) { return std::sin(1000 * x) + std::sin(1618 * x); }

constexpr double Reliability = 2;

void Fast(benchmark::State& state, Characteristic c, Estimate e, double (*f)(double)) {
  const int steps = static_cast<int>(state.range(0)) - 2;
  AdaptiveLipschitzSearch search(f, c, e);
  search.SetReliability(Reliability);
  for (auto _ : state) {
    search.SearchBySteps(-10, 10, steps);
    benchmark::DoNotOptimize(search.GetBestX());
  }
  state.counters["trials"] = search.GetStepCount() + 2;
  state.counters["refreshes"] = search.GetRefreshCount();
}

void Literal(benchmark::State& state, Characteristic c, Estimate e, double (*f)(double)) {
  const int steps = static_cast<int>(state.range(0)) - 2;
  VelmoraLiteral::LiteralAdaptive search(f, c, e, Reliability);
  for (auto _ : state) {
    search.SearchBySteps(-10, 10, steps);
    benchmark::DoNotOptimize(search.GetBestX());
  }
  state.counters["trials"] = search.GetStepCount() + 2;
}

// Registered before benchmark_main's main runs.
[[maybe_unused]] const bool Registered = [] {
  const struct {
    const char* name;
    double (*f)(double);
  } functions[] = {{"ripple", Ripple}, {"beat", Beat}};
  for (const auto& f : functions) {
    for (const VELMORAALG::AdaptiveVariant& v : VELMORAALG::AdaptiveVariants) {
      const std::string suffix = std::string(v.key) + "/" + f.name;
      benchmark::RegisterBenchmark(("Fast/" + suffix).c_str(), Fast, v.characteristic, v.estimate, f.f)
          ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("Literal/" + suffix).c_str(), Literal, v.characteristic, v.estimate, f.f)
          ->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
    }
  }
  return true;
}();

}  // namespace
