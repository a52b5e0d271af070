#include "RunSummaries.h"

#include <algorithm>
#include <numeric>

namespace Velmora::Lab {

std::optional<Spread> spreadOf(const std::vector<double>& values) {
  if (values.empty()) return std::nullopt;
  const double mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
  const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
  return Spread{mean, *lo, *hi};
}

TestSetMeans testSetMeans(const std::vector<TestSetRow>& rows, MethodId method, std::optional<std::uint64_t> seed) {
  TestSetMeans means;
  std::vector<std::optional<int>> firstHits;
  for (const TestSetRow& row : rows) {
    if (row.own || row.method != method || (seed && row.seed != seed)) continue;
    ++means.runs;
    means.trials += static_cast<double>(row.trials);
    means.seconds += row.seconds;
    if (row.success) ++means.successes;
    if (row.leftInterval) ++means.leftInterval;
    firstHits.push_back(row.firstHit ? std::optional(static_cast<int>(*row.firstHit)) : std::nullopt);
    if (!row.fault) {
      ++means.finished;
      means.error += row.error;
    }
  }
  if (means.runs) {
    means.trials /= static_cast<double>(means.runs);
    means.seconds /= static_cast<double>(means.runs);
  }
  means.firstHit = summariseFirstHits(firstHits).meanFirstHit;
  if (means.finished) means.error /= static_cast<double>(means.finished);
  return means;
}

std::vector<TestSetSummary> summariseTestSet(const std::vector<TestSetRow>& rows, const RunPlan& plan) {
  std::vector<TestSetSummary> summaries;
  for (MethodId method : plan.methods) {
    TestSetSummary summary{method, testSetMeans(rows, method), plan.seedsFor(method).size(), {}, {}};
    if (summary.seeds > 1) {
      std::vector<double> successes, firstHits;
      for (std::uint64_t seed : plan.seedsFor(method)) {
        const TestSetMeans one = testSetMeans(rows, method, seed);
        successes.push_back(static_cast<double>(one.successes));
        if (one.firstHit) firstHits.push_back(*one.firstHit);
      }
      summary.successes = spreadOf(successes);
      summary.firstHit = spreadOf(firstHits);
    }
    summaries.push_back(summary);
  }
  return summaries;
}

std::size_t problemsOf(const std::vector<TestSetRow>& rows) {
  return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [&](const TestSetRow& row) {
    return row.method == rows.front().method && row.own == rows.front().own && row.seed == rows.front().seed;
  }));
}

std::vector<ClassSummary> summariseClassRuns(const std::vector<ClassRunRow>& rows, const RunPlan& plan) {
  std::vector<ClassSummary> summaries;
  for (MethodId method : plan.methods) {
    ClassSummary summary{method, summariseFirstHits(firstHitsOf(rows, method)), plan.seedsFor(method).size(), {}, {}, 0};
    if (summary.seeds > 1) {
      // Over the seeds: their counts and their mean first hits.
      std::vector<double> solved, meanHits;
      for (std::uint64_t seed : plan.seedsFor(method)) {
        const FirstHitSummary one = summariseFirstHits(firstHitsOf(rows, method, seed));
        solved.push_back(static_cast<double>(one.solved));
        if (one.meanFirstHit) meanHits.push_back(*one.meanFirstHit);
      }
      summary.solved = spreadOf(solved);
      summary.meanFirstHit = spreadOf(meanHits);
    }
    summary.leftInterval = static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [method](const ClassRunRow& row) {
      return !row.own && row.method == method && row.run.leftInterval;
    }));
    summaries.push_back(summary);
  }
  return summaries;
}

}  // namespace Velmora::Lab
