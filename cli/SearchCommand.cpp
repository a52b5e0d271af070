#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>

#include "Commands.h"
#include "FormulaFunction.h"
#include "GraphSamples.h"
#include "MathReports.h"
#include "Minorant.h"
#include "OutsideWarning.h"
#include "Output.h"
#include "Search.h"
#include "SearchCsv.h"
#include "SyntaxErrorText.h"

namespace Velmora::Cli {

namespace {

PlotRequest plotRequest(const SearchOptions& options, const Lab::SearchOutcome& result, Lab::FormulaFunction& func,
                        std::ostream& err) {
  PlotRequest request;
  request.file = *options.plotFile;
  request.xmin = options.request.xmin;
  request.xmax = options.request.xmax;
  for (const Lab::Trial& trial : result.trials) request.trials.push_back({trial.x, trial.f});
  request.minorant = Lab::minorantOf(result);
  Lab::GraphCurve curve = Lab::graphCurve(func, options.request.xmin, options.request.xmax);
  request.curveX = std::move(curve.x);
  request.curveY = std::move(curve.f);
  if (curve.faults)
    err << Program << ": plot: the formula faulted at " << curve.faults << " of " << Lab::GraphSampleCount
        << " samples, which the curve leaves out (first: " << curve.firstFault << ")\n";
  return request;
}

}  // namespace

int runOneSearch(const SearchOptions& options, std::ostream& out, std::ostream& err, const Environment& env) {
  if (options.plotFile && !env.plot) return badInput(err, "--plot is not available in this build");
  std::optional<Lab::FormulaFunction> func;
  try {
    func.emplace(options.formula, options.params);
  } catch (const Math_Parser::TError& error) {
    return badInput(err, "syntax error in the formula:\n" + Lab::describeSyntaxError(options.formula, error));
  }
  Lab::SearchRequest request = options.request;
  request.objective = [&func](double x) { return (*func)(x); };
  request.slopeObjective = [&func](double x) { return func->withSlope(x); };
  request.keepIntervalConstants = options.plotFile.has_value();
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
  if (!outputWritten(out, err)) return ExitFailed;
  if (const auto warning = Lab::outsideWarning(result, request.method, request.xmin, request.xmax))
    err << Program << ": warning: " << *warning << "\n";
  if (result.firstNonFinite && !result.fault)
    err << Program << ": warning: the run met a point or a value that is not a finite number: "
        << Lab::nonFiniteText(*result.firstNonFinite) << ".\n";
  if (writeFailure) {
    err << Program << ": " << *writeFailure << "\n";
    return ExitFailed;
  }
  if (result.fault) {
    err << Program << ": the run ended with the fault \"" << *result.fault << "\""
        << (result.faultInMethod ? " in the method's own arithmetic, not in F," : "") << " after " << result.stepCount
        << (result.stepCount == 1 ? " step" : " steps");
    if (result.firstNonFinite) err << "; it met " << Lab::nonFiniteText(*result.firstNonFinite);
    err << '\n';
    if (options.plotFile) err << Program << ": no plot written, as the run did not finish\n";
    return ExitFault;
  }
  return pictureWritten(plotFailure, "plot", err) ? ExitOk : ExitFailed;
}

}  // namespace Velmora::Cli
