// Every method on every function of a range of a test class, on several
// threads, under the rule of class runs.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ClassRun.h"
#include "CommandLine.h"
#include "FunctionSource.h"

namespace Velmora::Cli {

struct ClassRunRow {
  std::uint64_t index = 0;
  MethodId method = MethodId::Scan;
  double param = 0;  ///< L or r as entered; 0 for scanning
  std::optional<std::uint64_t> seed;  ///< a stochastic method's only
  Lab::ClassRun run;
};

// Called now and then with the runs done so far and all of them.
using ClassProgress = std::function<void(std::size_t done, std::size_t runs)>;

// The rows function by function, and for each function method by method in
// the order of options.methods (a stochastic one seed by seed), whatever the
// number of threads.
std::vector<ClassRunRow> runClass(const ClassOptions& options, const FunctionSource& functions, unsigned jobs,
                                  const ClassProgress& progress = {});

// The first hits of one method's runs, in the order of the rows; of one seed's only when seed is given.
std::vector<std::optional<int>> firstHitsOf(const std::vector<ClassRunRow>& rows, MethodId method,
                                            std::optional<std::uint64_t> seed = std::nullopt);

}  // namespace Velmora::Cli
