#include "ClassRunOutput.h"

#include <algorithm>
#include <ostream>

#include "ClassCsv.h"
#include "CsvSchema.h"
#include "OperationalCharacteristic.h"
#include "OperationalPicture.h"
#include "Spelling.h"

namespace Velmora::Cli {

namespace {

std::string_view classKey(const ClassOptions& options) { return classKey(options.range); }

std::string firstHitText(const Lab::ClassRunRow& row, const char* none) {
  return row.run.firstHit ? std::to_string(*row.run.firstHit) : none;
}

void writeRule(std::ostream& out, const ClassOptions& options) {
  const Lab::ClassRange& range = options.range;
  out << "Class " << classKey(options) << ", ";
  if (range.first == range.last)
    out << "function " << range.first;
  else
    out << "functions " << range.first << " to " << range.last << " (" << range.last - range.first + 1 << ")";
  out << ": a run stops at its first trial within delta = " << printed("%g", options.rule.delta)
      << "·(b − a) of x*, at " << options.rule.maxTrials << " trials, or when the chosen interval is no longer than "
      << printed("%g", Lab::ClassIntervalRel) << "·(b − a).\n";
}

void writeCsv(std::ostream& out, const ClassOptions& options, const std::vector<Lab::ClassRunRow>& rows) {
  if (options.header) out << Lab::csvHeader(Lab::ClassCsvKind) << '\n';
  Lab::writeClassCsvRows(out, options.range, rows);
}

void writeTable(std::ostream& out, const ClassOptions& options, const std::vector<Lab::ClassRunRow>& rows) {
  out << "| class | index | method | param | first_hit | stop |\n";
  out << "|:---|---:|:---|---:|---:|:---|\n";
  for (const Lab::ClassRunRow& row : rows) {
    out << "| " << classKey(options) << " | " << row.index << " | " << methodName(row.method) << " | "
        << paramText(row.method, row.param) << " | " << firstHitText(row, "-") << " | "
        << Lab::classRunStopKey(row.run.stop) << " |\n";
  }
}

}  // namespace

std::string classParamText(const ClassOptions& options, MethodId method) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  if (info.batchParamOfProblem && !options.plan.params.count(method))
    return lipschitzOfTheFunction();
  return paramText(method, options.plan.paramFor(method, 0));
}

void writeClassSummary(std::ostream& out, const ClassOptions& options, const std::vector<Lab::ClassRunRow>& rows) {
  writeRule(out, options);
  out << "\nSolved within " << options.rule.maxTrials << " trials (first_hit over the solved runs):\n\n";
  out << "| method | param | solved | mean first_hit | median first_hit |\n";
  out << "|:---|---:|---:|---:|---:|\n";
  const auto number = [](const std::optional<double>& value) { return value ? printed("%.1f", *value) : "-"; };
  bool spread = false;
  const std::vector<Lab::ClassSummary> summaries = Lab::summariseClassRuns(rows, options.plan);
  for (const Lab::ClassSummary& summary : summaries) {
    const Lab::FirstHitSummary& pooled = summary.firstHits;
    out << "| " << methodName(summary.method) << " | " << classParamText(options, summary.method) << " | ";
    if (summary.seeds < 2) {
      out << pooled.solved << '/' << pooled.runs << " | " << number(pooled.meanFirstHit) << " | "
          << number(pooled.medianFirstHit) << " |\n";
      continue;
    }
    spread = true;
    out << spreadText(summary.solved) << '/' << pooled.runs / summary.seeds << " | " << spreadText(summary.meanFirstHit)
        << " | " << number(pooled.medianFirstHit) << " |\n";
  }
  bool left = false;
  for (const Lab::ClassSummary& summary : summaries) {
    if (summary.leftInterval == 0) continue;
    out << (left ? "" : "\n") << leftIntervalLine(summary.method, summary.leftInterval) << '\n';
    left = true;
  }
  if (spread)
    out << '\n' << overSeedsNote("solved and mean first_hit", "median is");
}

void writeClassRuns(std::ostream& out, const ClassOptions& options, const std::vector<Lab::ClassRunRow>& rows) {
  if (options.format == Format::Csv) {
    writeCsv(out, options, rows);
    return;
  }
  writeTable(out, options, rows);
  out << '\n';
  writeClassSummary(out, options, rows);
}

}  // namespace Velmora::Cli
