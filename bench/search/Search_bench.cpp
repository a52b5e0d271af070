// The fast search engine beside the literal rules, on the two sample formulas
// of the window over [-10, 10].
//   build/bench/search/search_bench
// FastObserved is Fast with a step observer that stores every record.
// Counters: m_changes is how many steps changed Strongin's constant (each
// recomputes every characteristic); held_MiB is what the method object holds
// after the run, peak_MiB the most the run had allocated at once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

#include "Literal_opt.h"
#include "Math_Parser.h"
#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

// Live and peak heap bytes, for the memory figures.
namespace {
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;
}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = size;
  liveBytes += size;
  peakBytes = std::max(peakBytes, liveBytes);
  return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  void* block = static_cast<char*>(p) - 16;
  liveBytes -= *static_cast<std::size_t*>(block);
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace VELMORAALG;

enum class Objective { Wave, TwoSines };
enum class Method { Scan, Piyavsky, Strongin };

constexpr const char* Formulas[] = {"x[0]^2 + 6 * sin( 2*pi *x[0] )", "sin(x[0]) + sin( 10*x[0]/3 )"};

double Wave(double x) { return x * x + 6 * std::sin(2 * std::numbers::pi * x); }
double TwoSines(double x) { return std::sin(x) + std::sin(10 * x / 3); }

// Lipschitz estimates a little above each function's largest slope on [-10, 10]
// (about 57.7 and 4.33); Strongin's multiplier as in the literature.
double Lipschitz(Objective f) { return f == Objective::Wave ? 60 : 5; }
constexpr double Multiplier = 2;

// The window's road to F: one formula object and a variable table.
struct FormulaFunc {
  std::shared_ptr<Math_Parser::TParser> parser = std::make_shared<Math_Parser::TParser>();
  std::shared_ptr<double[]> vars = std::make_shared<double[]>(Math_Parser::TParser::VariableCount);
  explicit FormulaFunc(const char* text) {
    parser->Parse(text);
    parser->Values = vars.get();
  }
  double operator()(double x) const {
    vars[0] = x;
    return parser->Evaluate();
  }
};

TOptFunc MakeFunc(Objective f, bool formula) {
  if (formula) return FormulaFunc(Formulas[static_cast<int>(f)]);
  return f == Objective::Wave ? TOptFunc(Wave) : TOptFunc(TwoSines);
}

template <typename Scan, typename Piyavsky, typename Strongin, typename Base>
std::unique_ptr<Base> MakeMethod(Method m, Objective f, TOptFunc func) {
  switch (m) {
    case Method::Scan: return std::make_unique<Scan>(func);
    case Method::Piyavsky: {
      auto p = std::make_unique<Piyavsky>(func);
      p->SetLipschitz(Lipschitz(f));
      return p;
    }
    case Method::Strongin: {
      auto p = std::make_unique<Strongin>(func);
      p->SetMultiplier(Multiplier);
      return p;
    }
  }
  return nullptr;
}

// When observed, an observer stores every step's record, as the core does when
// asked to record steps. The room is reserved beforehand, so what the run pays
// beyond Fast is the observer's call and the copy alone.
void Fast(benchmark::State& state, Method m, Objective f, bool formula, bool observed) {
  const int steps = static_cast<int>(state.range(0));
  auto opt = MakeMethod<TScanOpt, TPiyavskyOpt, TStronginOpt, TCharactOpt>(m, f, MakeFunc(f, formula));
  std::vector<TStepRecord> records;
  if (observed) {
    records.reserve(static_cast<std::size_t>(steps));
    opt->SetStepObserver([&records](const TStepRecord& r) { records.push_back(r); });
  }
  double best = 0;
  std::size_t peak = 0;
  for (auto _ : state) {
    records.clear();
    const std::size_t before = liveBytes;
    peakBytes = liveBytes;
    best = opt->SearchBySteps(-10, 10, steps);
    peak = std::max(peak, peakBytes - before);
    benchmark::DoNotOptimize(best);
  }
  constexpr double MiB = 1024.0 * 1024.0;
  state.counters["peak_MiB"] = static_cast<double>(peak) / MiB;
  state.counters["m_changes"] = opt->GetRefreshCount();
  state.counters["best_x"] = best;
  // Held by the object: release and measure what comes back.
  const std::size_t held = liveBytes;
  opt.reset();
  state.counters["held_MiB"] = static_cast<double>(held - liveBytes) / MiB;
}

void Literal(benchmark::State& state, Method m, Objective f) {
  const int steps = static_cast<int>(state.range(0));
  auto opt = MakeMethod<VelmoraLiteral::LiteralScan, VelmoraLiteral::LiteralPiyavsky, VelmoraLiteral::LiteralStrongin,
                        VelmoraLiteral::LiteralOpt>(m, f, MakeFunc(f, false));
  double best = 0;
  for (auto _ : state) {
    best = opt->SearchBySteps(-10, 10, steps);
    benchmark::DoNotOptimize(best);
  }
  state.counters["best_x"] = best;
}

// Registered before benchmark_main's main runs.
[[maybe_unused]] const bool Registered = [] {
  struct Named {
    Method m;
    const char* name;
  };
  const Named methods[] = {{Method::Scan, "Scan"}, {Method::Piyavsky, "Piyavsky"}, {Method::Strongin, "Strongin"}};
  const struct {
    Objective f;
    const char* name;
  } objectives[] = {{Objective::Wave, "wave"}, {Objective::TwoSines, "two_sines"}};
  for (const auto& o : objectives) {
    for (const Named& m : methods) {
      const std::string suffix = std::string(m.name) + "/" + o.name;
      benchmark::RegisterBenchmark(("Fast/" + suffix).c_str(), Fast, m.m, o.f, false, false)
          ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("FastObserved/" + suffix).c_str(), Fast, m.m, o.f, false, true)
          ->Arg(100000)->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("FastFormula/" + suffix).c_str(), Fast, m.m, o.f, true, false)
          ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("Literal/" + suffix).c_str(), Literal, m.m, o.f)
          ->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
    }
  }
  return true;
}();

}  // namespace
