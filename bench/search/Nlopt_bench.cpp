// The cost of NLopt behind the engine contract, beside NLopt called directly
// on the same C++ function for the same evaluations: the difference per
// evaluation is the wrapper's (std::function, the trial list, the best point).
#include <benchmark/benchmark.h>
#include <nlopt.h>

#include <cmath>

#include "NloptSearch.h"

namespace {

constexpr int Evaluations = 2000;

double cheap(double x) { return std::sin(13 * x) + (x - 0.4) * (x - 0.4); }

double direct(unsigned, const double* x, double*, void*) { return cheap(x[0]); }

template <nlopt_algorithm algorithm>
void nloptDirectly(benchmark::State& state) {
  for (auto _ : state) {
    nlopt_opt opt = nlopt_create(algorithm, 1);
    nlopt_set_lower_bounds1(opt, 0);
    nlopt_set_upper_bounds1(opt, 1);
    nlopt_set_min_objective(opt, direct, nullptr);
    nlopt_set_maxeval(opt, Evaluations);
    nlopt_srand(0);
    double x = 0.5, z = 0;
    nlopt_optimize(opt, &x, &z);
    nlopt_destroy(opt);
    benchmark::DoNotOptimize(z);
  }
  state.SetItemsProcessed(state.iterations() * Evaluations);
}

template <VELMORAALG::NloptSearch::Algorithm algorithm>
void nloptEngine(benchmark::State& state) {
  for (auto _ : state) {
    VELMORAALG::NloptSearch engine(cheap, algorithm);
    benchmark::DoNotOptimize(engine.SearchBySteps(0, 1, Evaluations - 2));
  }
  state.SetItemsProcessed(state.iterations() * Evaluations);
}

BENCHMARK(nloptDirectly<NLOPT_GN_DIRECT>)->Name("direct/nlopt");
BENCHMARK(nloptEngine<VELMORAALG::NloptSearch::Algorithm::Direct>)->Name("direct/engine");
BENCHMARK(nloptDirectly<NLOPT_GN_CRS2_LM>)->Name("crs2/nlopt");
BENCHMARK(nloptEngine<VELMORAALG::NloptSearch::Algorithm::Crs2>)->Name("crs2/engine");

}  // namespace

BENCHMARK_MAIN();
