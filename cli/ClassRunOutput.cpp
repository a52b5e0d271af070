#include "ClassRunOutput.h"

#include <algorithm>
#include <ostream>

#include "OperationalCharacteristic.h"
#include "OperationalPicture.h"
#include "OverSeeds.h"
#include "Spelling.h"

namespace Velmora::Cli {

namespace {

std::string_view classKey(const ClassOptions& options) { return classKey(options.range); }

std::string firstHitText(const ClassRunRow& row, const char* none) {
  return row.run.firstHit ? std::to_string(*row.run.firstHit) : none;
}

void writeRule(std::ostream& out, const ClassOptions& options) {
  const ClassRange& range = options.range;
  out << "Class " << classKey(options) << ", ";
  if (range.first == range.last)
    out << "function " << range.first;
  else
    out << "functions " << range.first << " to " << range.last << " (" << range.last - range.first + 1 << ")";
  out << ": a run stops at its first trial within delta = " << printed("%g", options.rule.delta)
      << "·(b − a) of x*, at " << options.rule.maxTrials << " trials, or when the chosen interval is no longer than "
      << printed("%g", Lab::ClassIntervalRel) << "·(b − a).\n";
}

void writeCsv(std::ostream& out, const ClassOptions& options, const std::vector<ClassRunRow>& rows) {
  // The seed column comes with a stochastic method, the same for every shard of a sweep.
  const bool seeded = options.anyStochastic();
  if (options.header) out << "class,index,method,param,first_hit,stop" << (seeded ? ",seed" : "") << '\n';
  for (const ClassRunRow& row : rows) {
    out << classKey(options) << ',' << row.index << ',' << methodName(row.method) << ','
        << (Lab::methodInfo(row.method).param == Lab::ParamMeaning::None ? "" : shortest(row.param)) << ','
        << firstHitText(row, "") << ',' << Lab::classRunStopKey(row.run.stop);
    if (seeded) out << ',' << (row.seed ? std::to_string(*row.seed) : "");
    out << '\n';
  }
}

void writeTable(std::ostream& out, const ClassOptions& options, const std::vector<ClassRunRow>& rows) {
  out << "| class | index | method | param | first_hit | stop |\n";
  out << "|:---|---:|:---|---:|---:|:---|\n";
  for (const ClassRunRow& row : rows) {
    out << "| " << classKey(options) << " | " << row.index << " | " << methodName(row.method) << " | "
        << paramText(row.method, row.param) << " | " << firstHitText(row, "-") << " | "
        << Lab::classRunStopKey(row.run.stop) << " |\n";
  }
}

}  // namespace

std::string classParamText(const ClassOptions& options, MethodId method) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  if (info.batchParamOfProblem && !options.params.count(method))
    return lipschitzOfTheFunction();
  return paramText(method, options.paramFor(method, 0));
}

void writeClassSummary(std::ostream& out, const ClassOptions& options, const std::vector<ClassRunRow>& rows) {
  writeRule(out, options);
  out << "\nSolved within " << options.rule.maxTrials << " trials (first_hit over the solved runs):\n\n";
  out << "| method | param | solved | mean first_hit | median first_hit |\n";
  out << "|:---|---:|---:|---:|---:|\n";
  const auto number = [](const std::optional<double>& value) { return value ? printed("%.1f", *value) : "-"; };
  bool spread = false;
  for (MethodId method : options.methods) {
    const Lab::FirstHitSummary summary = Lab::summariseFirstHits(firstHitsOf(rows, method));
    const std::vector<std::uint64_t> seeds = options.seedsFor(method);
    out << "| " << methodName(method) << " | " << classParamText(options, method) << " | ";
    if (seeds.size() < 2) {
      out << summary.solved << '/' << summary.runs << " | " << number(summary.meanFirstHit) << " | "
          << number(summary.medianFirstHit) << " |\n";
      continue;
    }
    // Over the seeds: the mean of their counts and of their mean first hits, with the lowest and highest.
    spread = true;
    std::vector<double> solved, meanHits;
    for (std::uint64_t seed : seeds) {
      const Lab::FirstHitSummary one = Lab::summariseFirstHits(firstHitsOf(rows, method, seed));
      solved.push_back(static_cast<double>(one.solved));
      if (one.meanFirstHit) meanHits.push_back(*one.meanFirstHit);
    }
    out << overSeedsText(solved) << '/' << summary.runs / seeds.size() << " | " << overSeedsText(meanHits) << " | "
        << number(summary.medianFirstHit) << " |\n";
  }
  bool left = false;
  for (MethodId method : options.methods) {
    const auto runs = static_cast<std::size_t>(std::count_if(
        rows.begin(), rows.end(), [method](const ClassRunRow& row) { return row.method == method && row.run.leftInterval; }));
    if (runs == 0) continue;
    out << (left ? "" : "\n") << leftIntervalLine(method, runs) << '\n';
    left = true;
  }
  if (spread)
    out << '\n' << overSeedsNote("solved and mean first_hit", "median is");
}

void writeClassRuns(std::ostream& out, const ClassOptions& options, const std::vector<ClassRunRow>& rows) {
  if (options.format == Format::Csv) {
    writeCsv(out, options, rows);
    return;
  }
  writeTable(out, options, rows);
  out << '\n';
  writeClassSummary(out, options, rows);
}

}  // namespace Velmora::Cli
