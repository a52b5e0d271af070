// The figures of runs over many problems, per method: a test set's means,
// a class run's counts, means and medians, and for a stochastic method that
// ran with several seeds the spread over its seeds, which tells more than
// the pooled runs. Front ends only print them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ClassRuns.h"
#include "OperationalCharacteristic.h"
#include "RunPlan.h"
#include "TestSet.h"

namespace Velmora::Lab {

// Of each seed's value: the mean, the lowest and the highest.
struct Spread {
  double mean = 0;
  double lowest = 0;
  double highest = 0;
};
// None when no seed has a value.
std::optional<Spread> spreadOf(const std::vector<double>& values);

struct TestSetMeans {
  std::size_t runs = 0, successes = 0, finished = 0, leftInterval = 0;
  double trials = 0, error = 0, seconds = 0;  ///< error over the runs that finished
  std::optional<double> firstHit;             ///< over the runs that came within eps
};

// Of one catalogue method's runs; of one seed's only when seed is given.
TestSetMeans testSetMeans(const std::vector<TestSetRow>& rows, MethodId method,
                          std::optional<std::uint64_t> seed = std::nullopt);

struct TestSetSummary {
  MethodId method;
  TestSetMeans means;  ///< over the runs of every seed
  std::size_t seeds = 1;
  // With several seeds, over them: each seed's successes and mean first hit.
  std::optional<Spread> successes, firstHit;
};
// One per method of the plan, in its order.
std::vector<TestSetSummary> summariseTestSet(const std::vector<TestSetRow>& rows, const RunPlan& plan);
// The number of problems the runs were on.
std::size_t problemsOf(const std::vector<TestSetRow>& rows);

struct ClassSummary {
  MethodId method;
  FirstHitSummary firstHits;  ///< over the runs of every seed
  std::size_t seeds = 1;
  // With several seeds, over them: each seed's solved runs and mean first hit.
  std::optional<Spread> solved, meanFirstHit;
  std::size_t leftInterval = 0;  ///< runs that placed a trial outside [a, b]
};
// One per method of the plan, in its order.
std::vector<ClassSummary> summariseClassRuns(const std::vector<ClassRunRow>& rows, const RunPlan& plan);

}  // namespace Velmora::Lab
