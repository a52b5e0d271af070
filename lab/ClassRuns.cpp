#include "ClassRuns.h"

#include "ParallelRuns.h"

namespace Velmora::Lab {

std::vector<ClassRunRow> runClass(const RunPlan& plan, const ClassRule& rule, const FunctionSource& source,
                                  const ClassRange& range, unsigned jobs, const RunProgress& progress) {
  const std::size_t functions = range.last - range.first + 1;
  const std::size_t runs = plan.runsPerProblem();
  std::vector<ClassRunRow> rows(functions * runs);
  // A function is made once for all methods: making it costs about as much as a run.
  const auto runFunction = [&](std::size_t i) {
    const TestFunction f = source.make(range.first + i);
    std::size_t next = i * runs;
    for (MethodId method : plan.methods) {
      for (std::uint64_t seed : plan.seedsFor(method)) {
        ClassRunRow& row = rows[next++];
        row.index = f.index;
        row.method = method;
        row.param = plan.paramFor(row.method, lipschitzFromFunction(f));
        if (methodInfo(method).stochastic) row.seed = seed;
        row.run = runOnTestFunction(f, row.method, row.param, rule, seed);
      }
    }
    for (std::size_t own = 0; own < plan.ownMethods.size(); ++own) {
      ClassRunRow& row = rows[next++];
      row.index = f.index;
      row.own = own;
      row.run = runOnTestFunction(f, plan.ownMethods[own].make, rule);
    }
  };
  std::function<void(std::size_t)> report;
  if (progress) report = [&](std::size_t done) { progress(done * runs, rows.size()); };
  runInParallel(functions, jobs, runFunction, report);
  return rows;
}

std::vector<std::optional<int>> firstHitsOf(const std::vector<ClassRunRow>& rows, MethodId method,
                                            std::optional<std::uint64_t> seed) {
  std::vector<std::optional<int>> hits;
  for (const ClassRunRow& row : rows)
    if (!row.own && row.method == method && (!seed || row.seed == seed)) hits.push_back(row.run.firstHit);
  return hits;
}

}  // namespace Velmora::Lab
