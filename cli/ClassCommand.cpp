#include <algorithm>
#include <ostream>

#include "ClassCsv.h"
#include "ClassRunOutput.h"
#include "ClassRuns.h"
#include "FunctionSource.h"
#include "Commands.h"
#include "OperationalPicture.h"
#include "ParallelRuns.h"
#include "ProgressLine.h"
#include "Spelling.h"

namespace Velmora::Cli {

namespace {

OperationalRequest operationalRequest(const ClassOptions& options, const std::vector<Lab::ClassRunRow>& rows) {
  OperationalRequest request;
  request.file = *options.operationalFile;
  const Lab::ClassRange& range = options.range;
  request.title = "Class " + std::string(classKey(range)) + ", functions " + std::to_string(range.first) +
                  " to " + std::to_string(range.last) + ": a trial within " + printed("%g", options.rule.delta) +
                  "·(b − a) of x*";
  request.lastK = options.rule.maxTrials;
  request.logK = options.logK;
  for (MethodId method : options.plan.methods) {
    const auto firstHits = [&](std::optional<std::uint64_t> seed) { return Lab::firstHitsOf(rows, method, seed); };
    request.curves.push_back(
        methodCurve(options, method, curveName(options, method, lipschitzOfTheFunction()), firstHits, request.lastK));
  }
  return request;
}

// The functions of the range; none, with the message, when its test set cannot be used.
std::optional<Lab::FunctionSource> functionSource(const Lab::ClassRange& range, const Environment& env,
                                                 std::ostream& err) {
  try {
    return Lab::FunctionSource(range, env.dataFolder);
  } catch (const Lab::FileError& error) {
    badInput(err, error.what());
  } catch (const Lab::BadValue& error) {
    badInput(err, "--class " + std::string(error.what()));
  }
  return std::nullopt;
}

}  // namespace

int runClassRuns(const ClassOptions& options, std::ostream& out, std::ostream& err, const Environment& env) {
  if (options.operationalFile && !env.operational) return badInput(err, "--operational is not available in this build");
  const std::optional<Lab::FunctionSource> source = functionSource(options.range, env, err);
  if (!source) return ExitBadInput;
  ProgressLine line(err);
  Lab::RunProgress progress;
  if (env.progressToTerminal) progress = [&line](std::size_t done, std::size_t runs) { line.showRuns(done, runs); };
  const std::vector<Lab::ClassRunRow> rows =
      Lab::runClass(options.plan, options.rule, *source, options.range, Lab::jobsOrCores(options.jobs), progress);
  line.wipe();

  writeClassRuns(out, options, rows);
  if (!outputWritten(out, err)) return ExitFailed;
  // The csv holds the runs alone, so that shards concatenate; the summary goes beside it.
  if (options.format == Format::Csv) writeClassSummary(err, options, rows);
  std::optional<std::string> pictureFailure;
  if (options.operationalFile) pictureFailure = env.operational(operationalRequest(options, rows));
  bool faulted = false;
  for (const Lab::ClassRunRow& row : rows) {
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
  std::vector<Lab::ClassRunRow> rows;
  try {
    rows = Lab::readClassCsv(given.files, options.rule, options.plan, options.range);
  } catch (const Lab::FileError& error) {
    return badInput(err, error.what());
  } catch (const Lab::BadValue& error) {
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
  const std::optional<Lab::FunctionSource> source = functionSource(listing.range, env, err);
  if (!source) return ExitBadInput;
  for (std::uint64_t index = listing.range.first;; ++index) {
    out << source->make(index).formula << '\n';
    if (index == listing.range.last) break;
  }
  return outputWritten(out, err) ? ExitOk : ExitFailed;
}

}  // namespace Velmora::Cli
