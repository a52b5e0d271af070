#include "ClassRuns.h"

#include "ParallelRuns.h"

namespace Velmora::Cli {

std::vector<ClassRunRow> runClass(const ClassOptions& options, const FunctionSource& source, unsigned jobs,
                                  const ClassProgress& progress) {
  const std::size_t functions = options.range.last - options.range.first + 1;
  std::size_t methods = 0;
  for (MethodId method : options.methods) methods += options.seedsFor(method).size();
  std::vector<ClassRunRow> rows(functions * methods);
  // A function is made once for all methods: making it costs about as much as a run.
  const auto runFunction = [&](std::size_t i) {
    const Lab::TestFunction f = source.make(options.range.first + i);
    std::size_t next = i * methods;
    for (MethodId method : options.methods) {
      for (std::uint64_t seed : options.seedsFor(method)) {
        ClassRunRow& row = rows[next++];
        row.index = f.index;
        row.method = method;
        row.param = options.paramFor(row.method, Lab::lipschitzFromFunction(f));
        if (Lab::methodInfo(method).stochastic) row.seed = seed;
        row.run = Lab::runOnTestFunction(f, row.method, row.param, options.rule, seed);
      }
    }
  };
  std::function<void(std::size_t)> report;
  if (progress) report = [&](std::size_t done) { progress(done * methods, rows.size()); };
  runInParallel(functions, jobs, runFunction, report);
  return rows;
}

std::vector<std::optional<int>> firstHitsOf(const std::vector<ClassRunRow>& rows, MethodId method,
                                            std::optional<std::uint64_t> seed) {
  std::vector<std::optional<int>> hits;
  for (const ClassRunRow& row : rows)
    if (row.method == method && (!seed || row.seed == seed)) hits.push_back(row.run.firstHit);
  return hits;
}

}  // namespace Velmora::Cli
