// Making one function of a test class: coefficients, formula, global minimum
// and Lipschitz constant. Beside it, its parts, and the formula engine over
// the same 100001-point grid, which is what finding the minimum from the
// formula alone would cost.
//   build/bench/lab/lab_bench
#include <benchmark/benchmark.h>

#include <cstdint>

#include "GlobalMinimum.h"
#include "HillFunction.h"
#include "Math_Parser.h"
#include "ShekelFunction.h"
#include "TestClass.h"

namespace {

using namespace Velmora::Lab;

TestClassId classOf(const benchmark::State& state) { return static_cast<TestClassId>(state.range(0)); }

void setClassLabel(benchmark::State& state) { state.SetLabel(std::string(testClass(classOf(state)).key)); }

// Each iteration makes the next function of the class, as a class run does.
void BM_MakeTestFunction(benchmark::State& state) {
  std::uint64_t index = static_cast<std::uint64_t>(state.thread_index()) << 32;
  for (auto _ : state) benchmark::DoNotOptimize(makeTestFunction(classOf(state), index++));
  setClassLabel(state);
}

void BM_GridAndRefinement(benchmark::State& state) {
  const TestClass& cls = testClass(classOf(state));
  std::uint64_t index = 0;
  for (auto _ : state) {
    SplitMix64 draws(cls.seed + index++);
    if (cls.id == TestClassId::Hill)
      benchmark::DoNotOptimize(findGlobalMinimum(HillFunction(draws)));
    else
      benchmark::DoNotOptimize(findGlobalMinimum(ShekelFunction(draws)));
  }
  setClassLabel(state);
}

void BM_FormulaWriteAndParse(benchmark::State& state) {
  const TestClass& cls = testClass(classOf(state));
  std::uint64_t index = 0;
  for (auto _ : state) {
    SplitMix64 draws(cls.seed + index++);
    const std::string formula =
        cls.id == TestClassId::Hill ? HillFunction(draws).formula() : ShekelFunction(draws).formula();
    Math_Parser::TParser parser;
    parser.Parse(formula.c_str());
    benchmark::DoNotOptimize(parser.Root);
  }
  setClassLabel(state);
}

void BM_EngineOverTheGrid(benchmark::State& state) {
  const TestClass& cls = testClass(classOf(state));
  const TestFunction f = makeTestFunction(cls.id, 0);
  Math_Parser::TParser parser;
  parser.Parse(f.formula.c_str());
  double variables[Math_Parser::TParser::VariableCount] = {};
  parser.Values = variables;
  for (auto _ : state) {
    for (int j = 0; j < GridPoints; ++j) {
      variables[0] = gridPoint(cls.a, cls.b, j);
      benchmark::DoNotOptimize(parser.Evaluate());
    }
  }
  setClassLabel(state);
}

}  // namespace

BENCHMARK(BM_MakeTestFunction)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeTestFunction)->DenseRange(0, 1)->Threads(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridAndRefinement)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormulaWriteAndParse)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngineOverTheGrid)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
