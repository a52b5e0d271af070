#include "CommandLine.h"

#include <algorithm>

#include "GivenOptions.h"

namespace Velmora::Cli {

std::string_view methodName(MethodId method) { return Lab::methodInfo(method).key; }

namespace {

// NLopt's methods count evaluations; a rule of precision or interval length has no meaning for them.
void refuseRuleForPeers(const std::vector<MethodId>& methods, Lab::StopKind kind, const char* rule) {
  for (MethodId m : methods)
    if (!Lab::takesStop(Lab::methodInfo(m), kind))
      throw UsageError(std::string(Lab::methodInfo(m).key) + " stops at a budget of evaluations: give --steps N, not " +
                       rule);
}

bool anyStochastic(const std::vector<MethodId>& methods) {
  for (MethodId m : methods)
    if (Lab::methodInfo(m).stochastic) return true;
  return false;
}

// Options that were given but change nothing in this run: a line each, so a
// user does not take their silence for an effect.
std::vector<std::string> idleOptions(const GivenOptions& given, const std::vector<MethodId>& methods) {
  std::vector<std::string> lines;
  const bool drawing = anyStochastic(methods);
  if (given.seed && !drawing) lines.push_back("--seed does nothing here: no method of this run draws random numbers");
  if (given.seeds && !drawing) lines.push_back("--seeds does nothing here: no method of this run draws random numbers");
  for (const auto& [option, text] : given.methodParams) {
    const Lab::MethodInfo* info = Lab::findMethod(std::string_view(option).substr(option.find('-', 2) + 1));
    if (info && std::find(methods.begin(), methods.end(), info->id) == methods.end())
      lines.push_back(option + " does nothing here: " + std::string(info->key) + " is not among the methods run");
  }
  return lines;
}

// What runs over many problems share; mode is the one they run in.
void readBatch(const GivenOptions& given, Mode mode, BatchOptions& options) {
  if (given.format == Format::Json)
    throw UsageError(std::string(selector(mode).name) + " writes text or csv, not json");
  if (given.format) options.format = *given.format;
  if (given.methods) options.plan.methods = *given.methods;
  options.plan.params = parseBatchParams(given.methodParams, mode != Mode::Suite);
  if (const auto lacking = options.plan.methodLackingParam(); lacking && mode != Mode::FromCsv) {
    const Lab::MethodInfo& info = Lab::methodInfo(*lacking);
    throw UsageError(std::string(info.key) + " needs --param-" + std::string(info.key) + " " +
                     std::string(info.paramSymbol) + " in a run over many problems: no problem gives its " +
                     std::string(info.paramNoun));
  }
  refuseWithoutNeeded(given);
  options.operationalFile = given.operationalFile;
  options.logK = given.logK;
  options.jobs = given.jobs;
  if (given.seed && given.seeds) throw UsageError("--seed and --seeds cannot be used together");
  options.plan.seed = given.seed.value_or(0);
  options.plan.seeds = given.seeds;
  // The rows of --from-csv name their own methods.
  if (mode != Mode::FromCsv) options.warnings = idleOptions(given, options.plan.methods);
}

void refuseFormula(const GivenOptions& given, Mode mode) {
  if (!given.positional.empty())
    throw UsageError(std::string(selector(mode).name) + " takes no formula (got " + quoted(given.positional.front()) + ")");
}

CsvSummaryOptions csvSummary(const GivenOptions& given) {
  if (given.suiteFile || given.classText)
    throw UsageError("--from-csv reads runs made before: it takes no --suite or --class");
  checkAgainstMode(given, Mode::FromCsv, Mode::FromCsv);
  CsvSummaryOptions options;
  readBatch(given, Mode::FromCsv, options);
  options.files.push_back(*given.csvFile);
  options.files.insert(options.files.end(), given.positional.begin(), given.positional.end());
  options.maxTrials = given.maxTrials;
  options.delta = given.delta;
  options.epsRel = given.epsRel;
  options.steps = given.steps;
  return options;
}

SuiteOptions suite(const GivenOptions& given) {
  checkAgainstMode(given, Mode::Suite, Mode::Suite);
  refuseFormula(given, Mode::Suite);
  SuiteOptions suite;
  readBatch(given, Mode::Suite, suite);
  suite.file = *given.suiteFile;
  if (given.epsRel) suite.protocol.epsRel = *given.epsRel;
  suite.protocol.steps = given.steps;
  if (!given.steps) refuseRuleForPeers(suite.plan.methods, StopKind::IntervalLength, "the interval rule of --eps-rel");
  return suite;
}

// The functions of --class, by count, by range or by --index.
Lab::ClassRange classRange(const GivenOptions& given) {
  const std::string& text = *given.classText;
  auto [range, counted] = parseClass(text);
  if (counted && given.index) throw UsageError("--index cannot be used with a count or range in --class " + text);
  if (!counted && !given.index)
    throw UsageError("--class " + text + " needs functions: " + text + ":N, " + text + ":FIRST-LAST or --index I");
  if (!counted) range.first = range.last = *given.index;
  return range;
}

Command classCommand(const GivenOptions& given) {
  checkAgainstMode(given, Mode::Class | Mode::Formulas, Mode::Class);
  refuseFormula(given, Mode::Class);
  const Lab::ClassRange range = classRange(given);
  if (given.printFormula) {
    checkAgainstMode(given, Mode::Formulas, Mode::Formulas);
    return FormulaListing{range};
  }
  ClassOptions options;
  readBatch(given, Mode::Class, options);
  options.range = range;
  if (given.maxTrials) options.rule.maxTrials = *given.maxTrials;
  if (given.delta) options.rule.delta = *given.delta;
  if (given.noHeader && options.format != Format::Csv) throw UsageError("--no-header is for --format csv");
  options.header = !given.noHeader;
  return options;
}

void readStopRule(const GivenOptions& given, Lab::SearchRequest& request) {
  const int stopRules = (given.steps ? 1 : 0) + (given.eps ? 1 : 0) + (given.intervalEps ? 1 : 0);
  if (stopRules == 0) throw UsageError("a stop rule is required: --steps N, --eps E or --interval-eps E");
  if (stopRules > 1) throw UsageError("give only one stop rule: --steps, --eps or --interval-eps");
  if (given.steps) {
    request.stop = StopKind::Steps;
    request.steps = *given.steps;
  } else {
    request.stop = given.eps ? StopKind::Precision : StopKind::IntervalLength;
    request.eps = given.eps ? *given.eps : *given.intervalEps;
    refuseRuleForPeers({*request.method}, request.stop, given.eps ? "--eps" : "--interval-eps");
  }
}

SearchOptions search(const GivenOptions& given) {
  checkAgainstMode(given, Mode::Search, Mode::Search);
  if (given.positional.empty()) throw UsageError("no formula given");
  if (given.positional.size() > 1)
    throw UsageError("more than one formula given: " + quoted(given.positional[0]) + " and " + quoted(given.positional[1]));
  SearchOptions search;
  search.formula = given.positional.front();
  Lab::SearchRequest& request = search.request;
  if (!given.interval) throw UsageError("--interval A B is required");
  std::tie(request.xmin, request.xmax) = *given.interval;
  checkInterval(request.xmin, request.xmax);
  if (!given.method) throw UsageError("--method is required (" + methodKeys() + ")");
  request.method = *given.method;
  if (given.paramText) request.param = parseSearchParam(*request.method, *given.paramText);
  readStopRule(given, request);
  request.seed = given.seed.value_or(0);
  request.recordSteps = given.stepsFile.has_value();
  checkRequest(request);
  if (given.params) search.params = *given.params;
  search.trials = given.trials;
  if (given.format) search.format = *given.format;
  search.plotFile = given.plotFile;
  search.stepsFile = given.stepsFile;
  search.warnings = idleOptions(given, {*request.method});
  return search;
}

}  // namespace

Command parseCommandLine(const std::vector<std::string>& args) {
  const GivenOptions given = readArguments(args);
  if (given.help) return HelpRequest{};
  if (given.suiteFile && given.classText) throw UsageError("--suite and --class cannot be used together");
  if (given.csvFile) return csvSummary(given);
  if (given.suiteFile) return suite(given);
  if (given.classText) return classCommand(given);
  return search(given);
}

}  // namespace Velmora::Cli
