#include <algorithm>
#include <ostream>

#include "Commands.h"
#include "OperationalPicture.h"
#include "ParallelRuns.h"
#include "ProgressLine.h"
#include "Spelling.h"
#include "TestSetCsv.h"
#include "SuiteOutput.h"
#include "TestSet.h"

namespace Velmora::Cli {

namespace {

OperationalRequest operationalRequest(const SuiteOptions& options, const std::vector<Lab::TestSetRow>& rows) {
  const std::size_t problems = Lab::problemsOf(rows);
  OperationalRequest request;
  request.file = *options.operationalFile;
  request.title = "Test set " + options.file + " (" + std::to_string(problems) + " problems): a trial within " +
                  printed("%g", options.protocol.epsRel) + "·(b − a) of a minimiser";
  request.logK = options.logK;
  // The runs have no common budget: k runs up to the longest run.
  for (const Lab::TestSetRow& row : rows) request.lastK = std::max(request.lastK, static_cast<int>(row.trials));
  for (MethodId method : options.plan.methods) {
    const auto firstHits = [&](std::optional<std::uint64_t> seed) {
      std::vector<std::optional<int>> hits;
      for (const Lab::TestSetRow& row : rows)
        if (row.method == method && (!seed || row.seed == seed))
          hits.push_back(row.firstHit ? std::optional(static_cast<int>(*row.firstHit)) : std::nullopt);
      return hits;
    };
    request.curves.push_back(
        methodCurve(options, method, curveName(options, method, LipschitzOfTheFile), firstHits, request.lastK));
  }
  return request;
}

}  // namespace

int runTestSuite(const SuiteOptions& options, std::ostream& out, std::ostream& err, const Environment& env) {
  if (options.operationalFile && !env.operational) return badInput(err, "--operational is not available in this build");
  std::vector<Lab::Problem> problems;
  try {
    problems = Lab::readProblemsFile(options.file);
  } catch (const Lab::FileError& error) {
    return badInput(err, error.what());
  }
  ProgressLine line(err);
  Lab::RunProgress progress;
  if (env.progressToTerminal) progress = [&line](std::size_t done, std::size_t runs) { line.showRuns(done, runs); };
  const std::vector<Lab::TestSetRow> rows =
      Lab::runTestSet(problems, options.plan, options.protocol, Lab::jobsOrCores(options.jobs), progress);
  line.wipe();

  writeSuite(out, options, rows);
  if (!outputWritten(out, err)) return ExitFailed;
  std::optional<std::string> pictureFailure;
  if (options.operationalFile) pictureFailure = env.operational(operationalRequest(options, rows));
  bool faulted = false;
  for (const Lab::TestSetRow& row : rows) {
    if (!row.fault) continue;
    faulted = true;
    err << Program << ": problem " << row.id << ", " << methodName(row.method) << ": the run ended with the fault \""
        << *row.fault << "\"\n";
  }
  if (!pictureWritten(pictureFailure, "operational", err)) return ExitFailed;
  return faulted ? ExitFault : ExitOk;
}

int summariseSuiteCsv(const CsvSummaryOptions& given, std::ostream& out, std::ostream& err, const Environment& env) {
  SuiteOptions options;
  static_cast<BatchOptions&>(options) = given;
  if (given.epsRel) options.protocol.epsRel = *given.epsRel;
  options.protocol.steps = given.steps;
  std::vector<Lab::TestSetRow> rows;
  try {
    rows = Lab::readTestSetCsv(given.files, options.plan);
    options.file = "read from " + joined(given.files, ", ");
  } catch (const Lab::FileError& error) {
    return badInput(err, error.what());
  }
  writeSuite(out, options, rows);
  if (!outputWritten(out, err)) return ExitFailed;
  std::optional<std::string> pictureFailure;
  if (options.operationalFile) pictureFailure = env.operational(operationalRequest(options, rows));
  return pictureWritten(pictureFailure, "operational", err) ? ExitOk : ExitFailed;
}

}  // namespace Velmora::Cli
