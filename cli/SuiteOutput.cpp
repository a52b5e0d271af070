#include "SuiteOutput.h"

#include <algorithm>
#include <ostream>

#include "OperationalCharacteristic.h"
#include "OperationalPicture.h"
#include "OverSeeds.h"
#include "Spelling.h"

namespace Velmora::Cli {

namespace {

struct Means {
  std::size_t runs = 0, successes = 0, finished = 0, leftInterval = 0;
  double trials = 0, error = 0, seconds = 0;
  std::optional<double> firstHit;  ///< over the runs that came within eps
};

// Of one seed's runs only when seed is given.
Means meansOf(const std::vector<SuiteRow>& rows, MethodId method, std::optional<std::uint64_t> seed = std::nullopt) {
  Means means;
  std::vector<std::optional<int>> firstHits;
  for (const SuiteRow& row : rows) {
    if (row.method != method || (seed && row.seed != seed)) continue;
    ++means.runs;
    means.trials += static_cast<double>(row.trials);
    means.seconds += row.seconds;
    if (row.success) ++means.successes;
    if (row.leftInterval) ++means.leftInterval;
    firstHits.push_back(row.firstHit);
    if (!row.fault) {
      ++means.finished;
      means.error += row.error;
    }
  }
  if (means.runs) {
    means.trials /= static_cast<double>(means.runs);
    means.seconds /= static_cast<double>(means.runs);
  }
  means.firstHit = Lab::summariseFirstHits(firstHits).meanFirstHit;
  if (means.finished) means.error /= static_cast<double>(means.finished);
  return means;
}

std::string meanParam(const SuiteOptions& options, MethodId method) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  if (info.param == Lab::ParamMeaning::None) return "-";
  if (info.batchParamOfProblem && !options.params.count(method)) return LipschitzOfTheFile;
  return shortest(options.paramFor(method, 0));
}

std::string successText(const SuiteRow& row) { return row.fault ? "fault" : row.success ? "yes" : "no"; }

// The means of each method, a stochastic one's success and first hit over its seeds when it ran with several.
void writeMeans(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows,
                std::size_t problems) {
  out << "\nMeans over " << problems << " problems (first_hit over the runs that came within eps, error over the runs"
      << " that finished):\n\n";
  out << "| method | param | trials | success | first_hit | error | seconds |\n";
  out << "|:---|---:|---:|---:|---:|---:|---:|\n";
  bool spread = false;
  for (MethodId method : options.methods) {
    const Means means = meansOf(rows, method);
    const std::vector<std::uint64_t> seeds = options.seedsFor(method);
    std::string successes = std::to_string(means.successes);
    std::string firstHit = means.firstHit ? printed("%.1f", *means.firstHit) : "-";
    if (seeds.size() > 1) {
      spread = true;
      std::vector<double> successesOfSeeds, firstHitsOfSeeds;
      for (std::uint64_t seed : seeds) {
        const Means one = meansOf(rows, method, seed);
        successesOfSeeds.push_back(static_cast<double>(one.successes));
        if (one.firstHit) firstHitsOfSeeds.push_back(*one.firstHit);
      }
      successes = overSeedsText(successesOfSeeds);
      firstHit = overSeedsText(firstHitsOfSeeds);
    }
    out << "| " << methodName(method) << " | " << meanParam(options, method) << " | " << printed("%.1f", means.trials)
        << " | " << successes << "/" << means.runs / seeds.size() << " | " << firstHit << " | "
        << (means.finished ? printed("%.2e", means.error) : "-") << " | " << printed("%.3g", means.seconds) << " |\n";
  }
  bool left = false;
  for (MethodId method : options.methods)
    if (const std::size_t runs = meansOf(rows, method).leftInterval) {
      out << (left ? "" : "\n") << leftIntervalLine(method, runs) << '\n';
      left = true;
    }
  if (spread) out << '\n' << overSeedsNote("success and first_hit", "trials, error and seconds are");
}

void writeSuiteMarkdown(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows) {
  const std::size_t problems = problemsOf(rows);
  out << "Test set " << options.file << ": " << problems << " problems; ";
  if (options.steps)
    out << options.steps.value() << " steps per run";
  else
    out << "each run stops when the chosen interval is no longer than eps = " << printed("%g", options.epsRel) << "·(b − a)";
  out << "; success: the best point lies within eps of a global minimiser.\n\n";
  out << "| id | method | param | trials | success | first_hit | error | seconds | stop |\n";
  out << "|---:|:---|---:|---:|:---:|---:|---:|---:|:---|\n";
  for (const SuiteRow& row : rows) {
    out << "| " << row.id << " | " << methodName(row.method) << (row.seed ? ", seed " + std::to_string(*row.seed) : "")
        << " | " << paramText(row.method, row.param) << " | "
        << row.trials << " | " << successText(row) << " | " << (row.firstHit ? std::to_string(*row.firstHit) : "-") << " | "
        << (row.fault ? "-" : printed("%.2e", row.error)) << " | " << printed("%.3g", row.seconds) << " |";
    out << ' ' << (row.stop ? Lab::stopReasonKey(*row.stop) : "-") << " |";
    out << '\n';
  }
  writeMeans(out, options, rows, problems);
  bool noted = false;
  for (const SuiteRow& row : rows) {
    if (!row.fault && row.reports.empty()) continue;
    if (!noted) out << "\nFaults and mathematical-library reports:\n\n";
    noted = true;
    out << "- problem " << row.id << ", " << methodName(row.method) << ": ";
    std::vector<std::string> notes = row.reports;
    if (row.fault) notes.push_back("fault \"" + *row.fault + "\" ended the run");
    out << joined(notes, "; ") << '\n';
  }
}

void writeSuiteCsv(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows) {
  const bool seeded = options.anyStochastic();
  out << "id,method,param,trials,success,first_hit,error,seconds,stop" << (seeded ? ",seed" : "") << '\n';
  const auto param = [](MethodId method, double value) {
    return Lab::methodInfo(method).param == Lab::ParamMeaning::None ? std::string() : shortest(value);
  };
  for (const SuiteRow& row : rows) {
    out << csvField(row.id) << ',' << methodName(row.method) << ',' << param(row.method, row.param) << ',' << row.trials
        << ',' << successText(row) << ',' << (row.firstHit ? std::to_string(*row.firstHit) : "") << ','
        << (row.fault ? "" : shortest(row.error)) << ',' << printed("%.6f", row.seconds);
    out << ',' << (row.stop ? Lab::stopReasonKey(*row.stop) : "");
    if (seeded) out << ',' << (row.seed ? std::to_string(*row.seed) : "");
    out << '\n';
  }
  for (MethodId method : options.methods) {
    const Means means = meansOf(rows, method);
    std::string paramField = meanParam(options, method);
    if (paramField == "-") paramField.clear();
    if (Lab::methodInfo(method).batchParamOfProblem && !options.params.count(method))
      paramField = "file";
    out << "mean," << methodName(method) << ',' << paramField << ',' << printed("%.1f", means.trials) << ','
        << means.successes << ',' << (means.firstHit ? printed("%.1f", *means.firstHit) : "") << ','
        << (means.finished ? shortest(means.error) : "") << ',' << printed("%.6f", means.seconds) << ','
        << (seeded ? "," : "") << '\n';
  }
}

}  // namespace

std::size_t problemsOf(const std::vector<SuiteRow>& rows) {
  return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [&](const SuiteRow& row) {
    return row.method == rows.front().method && row.seed == rows.front().seed;
  }));
}

void writeSuite(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows) {
  if (rows.empty()) return;
  if (options.format == Format::Csv)
    writeSuiteCsv(out, options, rows);
  else
    writeSuiteMarkdown(out, options, rows);
}

}  // namespace Velmora::Cli
