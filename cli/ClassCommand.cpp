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
    const auto firstHits = [&](std::optional<std::uint64_t> seed) { return firstHitsOf(rows, method, seed); };
    request.curves.push_back(
        methodCurve(options, method, curveName(options, method, lipschitzOfTheFunction()), firstHits, request.lastK));
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

int summariseClassCsv(const CsvSummaryOptions& given, std::ostream& out, std::ostream& err, const Environment& env) {
  ClassOptions options;
  static_cast<BatchOptions&>(options) = given;
  if (given.maxTrials) options.rule.maxTrials = *given.maxTrials;
  if (given.delta) options.rule.delta = *given.delta;
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
