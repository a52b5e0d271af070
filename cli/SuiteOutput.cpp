#include "SuiteOutput.h"

#include <algorithm>
#include <ostream>

#include "CsvSchema.h"
#include "OperationalCharacteristic.h"
#include "TestSetCsv.h"
#include "OperationalPicture.h"
#include "Spelling.h"

namespace Velmora::Cli {

namespace {

std::string meanParam(const SuiteOptions& options, MethodId method) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  if (info.param == Lab::ParamMeaning::None) return "-";
  if (info.batchParamOfProblem && !options.plan.params.count(method)) return LipschitzOfTheFile;
  return Lab::shortest(options.plan.paramFor(method, 0));
}

std::string successText(const Lab::TestSetRow& row) { return row.fault ? "fault" : row.success ? "yes" : "no"; }

// The means of each method, a stochastic one's success and first hit over its seeds when it ran with several.
void writeMeans(std::ostream& out, const SuiteOptions& options, const std::vector<Lab::TestSetRow>& rows,
                std::size_t problems) {
  out << "\nMeans over " << problems << " problems (first_hit over the runs that came within eps, error over the runs"
      << " that finished):\n\n";
  out << "| method | param | trials | success | first_hit | error | seconds |\n";
  out << "|:---|---:|---:|---:|---:|---:|---:|\n";
  bool spread = false;
  const std::vector<Lab::TestSetSummary> summaries = Lab::summariseTestSet(rows, options.plan);
  for (const Lab::TestSetSummary& summary : summaries) {
    const Lab::TestSetMeans& means = summary.means;
    std::string successes = std::to_string(means.successes);
    std::string firstHit = means.firstHit ? printed("%.1f", *means.firstHit) : "-";
    if (summary.seeds > 1) {
      spread = true;
      successes = spreadText(summary.successes);
      firstHit = spreadText(summary.firstHit);
    }
    out << "| " << methodName(summary.method) << " | " << meanParam(options, summary.method) << " | "
        << printed("%.1f", means.trials) << " | " << successes << "/" << means.runs / summary.seeds << " | " << firstHit
        << " | " << (means.finished ? printed("%.2e", means.error) : "-") << " | " << printed("%.3g", means.seconds)
        << " |\n";
  }
  bool left = false;
  for (const Lab::TestSetSummary& summary : summaries)
    if (const std::size_t runs = summary.means.leftInterval) {
      out << (left ? "" : "\n") << leftIntervalLine(summary.method, runs) << '\n';
      left = true;
    }
  if (spread) out << '\n' << overSeedsNote("success and first_hit", "trials, error and seconds are");
}

void writeSuiteMarkdown(std::ostream& out, const SuiteOptions& options, const std::vector<Lab::TestSetRow>& rows) {
  const std::size_t problems = Lab::problemsOf(rows);
  out << "Test set " << options.file << ": " << problems << " problems; ";
  if (options.protocol.steps)
    out << options.protocol.steps.value() << " steps per run";
  else
    out << "each run stops when the chosen interval is no longer than eps = " << printed("%g", options.protocol.epsRel)
        << "·(b − a)";
  out << "; success: the best point lies within eps of a global minimiser.\n\n";
  out << "| id | method | param | trials | success | first_hit | error | seconds | stop |\n";
  out << "|---:|:---|---:|---:|:---:|---:|---:|---:|:---|\n";
  for (const Lab::TestSetRow& row : rows) {
    out << "| " << row.id << " | " << methodName(row.method) << (row.seed ? ", seed " + std::to_string(*row.seed) : "")
        << " | " << paramText(row.method, row.param) << " | "
        << row.trials << " | " << successText(row) << " | " << (row.firstHit ? std::to_string(*row.firstHit) : "-") << " | "
        << (row.fault ? "-" : printed("%.2e", row.error)) << " | " << printed("%.3g", row.seconds) << " |";
    out << ' ' << (row.stop ? Lab::stopReasonKey(*row.stop) : "-") << " |";
    out << '\n';
  }
  writeMeans(out, options, rows, problems);
  bool noted = false;
  for (const Lab::TestSetRow& row : rows) {
    if (!row.fault && row.reports.empty()) continue;
    if (!noted) out << "\nFaults and mathematical-library reports:\n\n";
    noted = true;
    out << "- problem " << row.id << ", " << methodName(row.method) << ": ";
    std::vector<std::string> notes = row.reports;
    if (row.fault) notes.push_back("fault \"" + *row.fault + "\" ended the run");
    out << joined(notes, "; ") << '\n';
  }
}

void writeSuiteCsv(std::ostream& out, const SuiteOptions& options, const std::vector<Lab::TestSetRow>& rows) {
  out << Lab::csvHeader(Lab::TestSetCsvKind) << '\n';
  Lab::writeTestSetCsvRows(out, rows);
  for (MethodId method : options.plan.methods) {
    const Lab::TestSetMeans means = Lab::testSetMeans(rows, method);
    std::string paramField = meanParam(options, method);
    if (paramField == "-") paramField.clear();
    if (Lab::methodInfo(method).batchParamOfProblem && !options.plan.params.count(method))
      paramField = "file";
    out << "mean," << methodName(method) << ',' << paramField << ',' << printed("%.1f", means.trials) << ','
        << means.successes << ',' << (means.firstHit ? printed("%.1f", *means.firstHit) : "") << ','
        << (means.finished ? Lab::shortest(means.error) : "") << ',' << printed("%.6f", means.seconds) << ",,\n";
  }
}

}  // namespace

void writeSuite(std::ostream& out, const SuiteOptions& options, const std::vector<Lab::TestSetRow>& rows) {
  if (rows.empty()) return;
  if (options.format == Format::Csv)
    writeSuiteCsv(out, options, rows);
  else
    writeSuiteMarkdown(out, options, rows);
}

}  // namespace Velmora::Cli
