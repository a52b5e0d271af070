#include "Cli.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>

#include "CommandLine.h"
#include "FormulaFunction.h"
#include "GraphSamples.h"
#include "MathReports.h"
#include "Output.h"
#include "NumberText.h"
#include "Search.h"
#include "SearchCsv.h"
#include "TestSuite.h"

namespace Velmora::Cli {

namespace {

constexpr const char* Program = "velmora-run";

int badInput(std::ostream& err, const std::string& message) {
  err << Program << ": " << message << "\n";
  return ExitBadInput;
}

PlotRequest plotRequest(const SearchOptions& options, const Lab::SearchOutcome& result, FormulaFunction& func,
                        std::ostream& err) {
  PlotRequest request;
  request.file = *options.plotFile;
  request.xmin = options.xmin;
  request.xmax = options.xmax;
  for (const Lab::Trial& trial : result.trials) request.trials.push_back({trial.x, trial.f});
  std::size_t faults = 0;
  std::string firstFault;
  for (int i = 0; i < GraphSampleCount; ++i) {
    const double x = graphSampleX(i, options.xmin, options.xmax);
    double y = NAN;
    try {
      y = func(x);
    } catch (const std::exception& fault) {
      if (faults++ == 0) firstFault = std::string(fault.what()) + " at x = " + shortest(x);
    }
    request.curveX.push_back(x);
    request.curveY.push_back(y);
  }
  if (faults)
    err << Program << ": plot: the formula faulted at " << faults << " of " << GraphSampleCount
        << " samples, which the curve leaves out (first: " << firstFault << ")\n";
  return request;
}

int runOneSearch(const SearchOptions& options, std::ostream& out, std::ostream& err, const Environment& env) {
  if (options.plotFile && !env.plot) return badInput(err, "--plot is not available in this build");
  std::optional<FormulaFunction> func;
  try {
    func.emplace(options.formula, options.params);
  } catch (const Math_Parser::TError& error) {
    return badInput(err, "syntax error in the formula:\n" + describeSyntaxError(options.formula, error));
  }
  Lab::SearchRequest request;
  request.objective = [&func](double x) { return (*func)(x); };
  request.xmin = options.xmin;
  request.xmax = options.xmax;
  request.method = options.method;
  request.param = options.param.value_or(Lab::DefaultMethodParam);
  request.stop = options.stop;
  request.steps = options.steps;
  request.eps = options.eps;
  request.recordSteps = options.stepsFile.has_value();
  Lab::SearchOutcome result = Lab::runSearch(request);

  std::optional<std::string> writeFailure;
  if (options.stepsFile) {
    std::ofstream steps(*options.stepsFile);
    Lab::writeStepsCsv(steps, "step,interval,left,right,charact,constant,x,f,precision", result.stepRecords);
    steps.close();
    if (!steps) writeFailure = "--steps-out: cannot write " + *options.stepsFile;
  }

  std::optional<std::string> plotFailure;
  if (options.plotFile && !result.fault) {
    Lab::MathReports curveReports;
    const PlotRequest request = plotRequest(options, result, *func, err);
    for (const std::string& report : curveReports.distinct())
      if (std::find(result.reports.begin(), result.reports.end(), report) == result.reports.end())
        result.reports.push_back(report);
    plotFailure = env.plot(request);
  }

  writeSearch(out, options, result);
  out.flush();
  if (!out) {
    err << Program << ": the output could not be written\n";
    return ExitFailed;
  }
  if (writeFailure) {
    err << Program << ": " << *writeFailure << "\n";
    return ExitFailed;
  }
  if (result.fault) {
    err << Program << ": the run ended with the fault \"" << *result.fault << "\" after " << result.stepCount
        << " steps\n";
    if (options.plotFile) err << Program << ": no plot written, as the run did not finish\n";
    return ExitFault;
  }
  if (plotFailure) {
    err << Program << ": plot: " << *plotFailure << "\n";
    return ExitFailed;
  }
  return ExitOk;
}

int runTestSuite(const SuiteOptions& options, std::ostream& out, std::ostream& err, const Environment& env) {
  std::vector<Problem> problems;
  try {
    problems = readProblemsFile(options.file);
  } catch (const SuiteFileError& error) {
    return badInput(err, error.what());
  }
  SuiteProgress progress;
  std::size_t lastWidth = 0;
  if (env.progressToTerminal) {
    progress = [&err, &lastWidth](std::size_t run, std::size_t runs, const Problem& problem, MethodId method) {
      std::string line(1, '[');
      line.append(std::to_string(run)).append(1, '/').append(std::to_string(runs)).append("] problem ");
      line.append(problem.id).append(", ").append(methodName(method));
      err << '\r' << line << std::string(lastWidth > line.size() ? lastWidth - line.size() : 0, ' ') << std::flush;
      lastWidth = line.size();
    };
  }
  const std::vector<SuiteRow> rows = runSuite(problems, options, progress);
  if (lastWidth) err << '\r' << std::string(lastWidth, ' ') << '\r' << std::flush;

  writeSuite(out, options, rows);
  out.flush();
  if (!out) {
    err << Program << ": the output could not be written\n";
    return ExitFailed;
  }
  bool faulted = false;
  for (const SuiteRow& row : rows) {
    if (!row.fault) continue;
    faulted = true;
    err << Program << ": problem " << row.id << ", " << methodName(row.method) << ": the run ended with the fault \""
        << *row.fault << "\"\n";
  }
  return faulted ? ExitFault : ExitOk;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env) {
  try {
    const Command command = parseCommandLine(args);
    if (std::holds_alternative<HelpRequest>(command)) {
      out << usageText();
      return ExitOk;
    }
    if (const auto* search = std::get_if<SearchOptions>(&command)) return runOneSearch(*search, out, err, env);
    return runTestSuite(std::get<SuiteOptions>(command), out, err, env);
  } catch (const UsageError& error) {
    err << Program << ": " << error.what() << "\n" << "Try '" << Program << " --help'.\n";
    return ExitBadInput;
  } catch (const std::exception& error) {
    // Nothing but memory exhaustion is expected here; it still gets a message, not a crash.
    err << Program << ": " << error.what() << "\n";
    return ExitFailed;
  }
}

}  // namespace Velmora::Cli
