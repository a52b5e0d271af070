#include <algorithm>
#include <ostream>

#include "ClassCsv.h"
#include "ClassRunOutput.h"
#include "ClassRuns.h"
#include "Commands.h"
#include "OperationalPicture.h"
#include "ParallelRuns.h"
#include "ProgressLine.h"
#include "Spelling.h"

namespace Velmora::Cli {

namespace {

OperationalRequest operationalRequest(const ClassOptions& options, const std::vector<ClassRunRow>& rows) {
  OperationalRequest request;
  request.file = *options.operationalFile;
  const ClassRange& range = options.range;
  request.title = "Class " + std::string(classKey(range)) + ", functions " + std::to_string(range.first) +
                  " to " + std::to_string(range.last) + ": a trial within " + printed("%g", options.rule.delta) +
                  "·(b − a) of x*";
  request.lastK = options.rule.maxTrials;
  request.logK = options.logK;
  for (MethodId method : options.methods) {
    const std::string name = curveName(options, method, lipschitzOfTheFunction());
    const std::vector<std::uint64_t> seeds = options.seedsFor(method);
    if (!Lab::methodInfo(method).stochastic || seeds.size() < 2) {
      request.curves.push_back(operationalCurve(name, firstHitsOf(rows, method), request.lastK));
      continue;
    }
    std::vector<std::vector<std::optional<int>>> bySeed;
    for (std::uint64_t seed : seeds) bySeed.push_back(firstHitsOf(rows, method, seed));
    request.curves.push_back(operationalZoneCurve(name + ", " + std::to_string(seeds.size()) + " seeds", bySeed, request.lastK));
  }
  return request;
}

}  // namespace

int runClassRuns(const ClassOptions& options, std::ostream& out, std::ostream& err, const Environment& env) {
  if (options.operationalFile && !env.operational) return badInput(err, "--operational is not available in this build");
  std::optional<FunctionSource> source;
  try {
    source.emplace(options.range, env.dataFolder);
  } catch (const SuiteFileError& error) {
    return badInput(err, error.what());
  } catch (const UsageError& error) {
    return badInput(err, error.what());
  }
  ProgressLine line(err);
  ClassProgress progress;
  if (env.progressToTerminal) progress = [&line](std::size_t done, std::size_t runs) { line.showRuns(done, runs); };
  const std::vector<ClassRunRow> rows = runClass(options, *source, jobsOrCores(options.jobs), progress);
  line.wipe();

  writeClassRuns(out, options, rows);
  if (!outputWritten(out, err)) return ExitFailed;
  // The csv holds the runs alone, so that shards concatenate; the summary goes beside it.
  if (options.format == Format::Csv) writeClassSummary(err, options, rows);
  std::optional<std::string> pictureFailure;
  if (options.operationalFile) pictureFailure = env.operational(operationalRequest(options, rows));
  bool faulted = false;
  for (const ClassRunRow& row : rows) {
    if (!row.run.fault) continue;
    faulted = true;
    err << Program << ": " << classKey(options.range) << " " << row.index << ", "
        << methodName(row.method) << ": the run ended with the fault \"" << *row.run.fault << "\"\n";
  }
  if (!pictureWritten(pictureFailure, "operational", err)) return ExitFailed;
  return faulted ? ExitFault : ExitOk;
}

int summariseCsv(const CsvSummaryOptions& given, std::ostream& out, std::ostream& err, const Environment& env) {
  if (given.operationalFile && !env.operational) return badInput(err, "--operational is not available in this build");
  ClassOptions options = given;
  std::vector<ClassRunRow> rows;
  try {
    rows = readClassCsv(given.files, options);
  } catch (const SuiteFileError& error) {
    return badInput(err, error.what());
  } catch (const UsageError& error) {
    return badInput(err, error.what());
  }
  if (options.format == Format::Csv)
    writeClassRuns(out, options, rows);
  else
    writeClassSummary(out, options, rows);
  if (!outputWritten(out, err)) return ExitFailed;
  std::optional<std::string> pictureFailure;
  if (options.operationalFile) pictureFailure = env.operational(operationalRequest(options, rows));
  return pictureWritten(pictureFailure, "operational", err) ? ExitOk : ExitFailed;
}

int listFormulas(const FormulaListing& listing, std::ostream& out, std::ostream& err, const Environment& env) {
  std::optional<FunctionSource> source;
  try {
    source.emplace(listing.range, env.dataFolder);
  } catch (const SuiteFileError& error) {
    return badInput(err, error.what());
  } catch (const UsageError& error) {
    return badInput(err, error.what());
  }
  for (std::uint64_t index = listing.range.first;; ++index) {
    out << source->make(index).formula << '\n';
    if (index == listing.range.last) break;
  }
  return outputWritten(out, err) ? ExitOk : ExitFailed;
}

}  // namespace Velmora::Cli
