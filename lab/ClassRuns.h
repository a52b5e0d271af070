// Every method of a plan on every function of a range of a test class, on
// several threads, under the rule of class runs.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ClassRun.h"
#include "FunctionSource.h"
#include "RunPlan.h"
#include "TestSet.h"

namespace Velmora::Lab {

struct ClassRunRow {
  std::uint64_t index = 0;
  MethodId method = MethodId::Scan;
  std::optional<std::size_t> own;     ///< which of the plan's own methods ran, when one did
  double param = 0;                   ///< L or r as entered; 0 for scanning and for an own method
  std::optional<std::uint64_t> seed;  ///< a stochastic method's only
  ClassRun run;
};

// The rows of functions range.first..range.last (of source's class) function
// by function, and for each function method by method in the order of the
// plan (a stochastic one seed by seed, the own methods last), whatever the
// number of threads.
std::vector<ClassRunRow> runClass(const RunPlan& plan, const ClassRule& rule, const FunctionSource& source,
                                  const ClassRange& range, unsigned jobs, const RunProgress& progress = {});

// The first hits of one catalogue method's runs, in the order of the rows; of one seed's only when seed is given.
std::vector<std::optional<int>> firstHitsOf(const std::vector<ClassRunRow>& rows, MethodId method,
                                            std::optional<std::uint64_t> seed = std::nullopt);

}  // namespace Velmora::Lab
