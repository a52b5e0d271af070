#include "CommandLine.h"

#include <set>
#include <span>

namespace Velmora::Cli {

namespace {

constexpr std::string_view ParamPrefix = "--param-";
constexpr unsigned MaxJobs = 256;

// The options of each mode that no other mode takes (the --param-METHOD options go with BatchOnly).
constexpr std::array SingleSearchOnly{"--interval", "--method", "--param", "--eps", "--interval-eps",
                                      "--params", "--trials", "--plot", "--steps-out"};
constexpr int MaxSeeds = 10000;
constexpr std::array SuiteOnly{"--eps-rel"};
constexpr std::array ClassOnly{"--index", "--print-formula", "--max-trials", "--delta", "--no-header"};
constexpr std::array BatchOnly{"--methods", "--operational", "--log-k", "--jobs", "--seeds"};
constexpr std::array ClassRunOnly{"--max-trials", "--delta", "--jobs", "--format", "--no-header"};

// Breaks a line of words before the 80th column.
std::string wrapped(const std::string& text) {
  std::string lines;
  std::size_t start = 0;
  while (text.size() - start > 79) {
    const std::size_t space = text.rfind(' ', start + 79);
    lines.append(text, start, space - start).append("\n");
    start = space + 1;
  }
  return lines.append(text, start);
}

// Walks the arguments; an option's values are the tokens after it, whatever they
// look like, so "--interval -10 10" reads two numbers.
class ArgReader {
 public:
  explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}
  bool done() const { return next_ >= args_.size(); }
  const std::string& take() { return args_[next_++]; }
  const std::string& value(std::string_view option) {
    if (done()) throw UsageError(std::string(option) + " needs a value");
    return take();
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
};

}  // namespace

double BatchOptions::paramFor(MethodId method, double problemL) const {
  if (const auto given = params.find(method); given != params.end()) return given->second;
  return Lab::batchParam(method, problemL);
}

std::vector<std::uint64_t> BatchOptions::seedsFor(MethodId method) const {
  if (!Lab::methodInfo(method).stochastic || !seeds) return {seed};
  std::vector<std::uint64_t> all;
  for (int s = 0; s < *seeds; ++s) all.push_back(static_cast<std::uint64_t>(s));
  return all;
}

bool BatchOptions::anyStochastic() const {
  return std::any_of(methods.begin(), methods.end(), [](MethodId m) { return Lab::methodInfo(m).stochastic; });
}

namespace {

// NLopt's methods count evaluations; a rule of precision or interval length has no meaning for them.
void refuseRuleForPeers(const std::vector<MethodId>& methods, const char* rule) {
  for (MethodId m : methods)
    if (Lab::methodInfo(m).budgetOnly)
      throw UsageError(std::string(Lab::methodInfo(m).key) + " stops at a budget of evaluations: give --steps N, not " +
                       rule);
}

}  // namespace

std::string_view methodName(MethodId method) { return Lab::methodInfo(method).key; }

std::string usageText() {
  return "usage:\n"
         "  velmora-run FORMULA --interval A B --method METHOD [--param V]\n"
         "              (--steps N | --eps E | --interval-eps E) [--params P1,P2,...]\n"
         "              [--trials] [--format text|csv|json] [--plot FILE.png]\n"
         "              [--steps-out FILE.csv] [--seed N]\n"
         "  velmora-run --suite FILE.tsv [--methods M1,M2,...|all] [--param-METHOD V]...\n"
         "              [--eps-rel E] [--steps N] [--jobs N] [--format text|csv]\n"
         "              [--seed N | --seeds N] [--operational FILE.png [--log-k]]\n"
         "  velmora-run --class CLASS:N|CLASS:FIRST-LAST [--methods M1,M2,...|all]\n"
         "              [--param-METHOD V]... [--max-trials N] [--delta D] [--jobs N]\n"
         "              [--format text|csv] [--no-header] [--seed N | --seeds N]\n"
         "              [--operational FILE.png [--log-k]]\n"
         "  velmora-run --class CLASS --index I [--print-formula | the options above]\n"
         "  velmora-run --from-csv FILE.csv... [--max-trials N] [--delta D] [--format text|csv]\n"
         "              [--operational FILE.png [--log-k]]\n"
         "  velmora-run --help\n"
         "\n"
         + wrapped("METHOD is " + methodKeys() + "; CLASS is " + classKeys() + ".") + "\n"
         "FORMULA uses x[0] as the argument and x[1]..x[9] as the values of --params.\n"
         "--param is the Lipschitz estimate L of piyavsky, or the multiplier r of strongin\n"
         "(> 1, default 1.5) or of a variant (> 0, default 2). In test sets and classes\n"
         "every r is 2 and piyavsky's L that of the problem (--param-piyavsky from-file,\n"
         "or from-function: the function's constant times 1.1) unless --param-METHOD\n"
         "gives one. NLopt's methods (nlopt-*) stop only at --steps N, a budget of N + 2\n"
         "evaluations; crs2, esch, isres and mlsl draw from --seed N (default 0), or in\n"
         "test sets and classes from each of --seeds N, and take their population as\n"
         "--param-METHOD (0: NLopt's own). Numbers use \".\" as the decimal point.\n"
         "A run whose trials leave [A, B] warns on stderr and still exits with status 0.\n";
}

Command parseCommandLine(const std::vector<std::string>& args) {
  ArgReader reader(args);
  std::set<std::string> seen;
  std::vector<std::string> positional;
  std::optional<std::string> suiteFile;
  std::optional<std::string> classText;
  std::optional<std::string> csvFile;

  // Collected first and checked against the mode afterwards, so that each
  // option's misuse gets its own message whatever the order of the arguments.
  std::optional<std::pair<double, double>> interval;
  std::optional<MethodId> method;
  std::optional<std::string> paramText;
  std::optional<int> steps;
  std::optional<double> eps, intervalEps;
  std::optional<std::array<double, 9>> params;
  bool trials = false;
  std::optional<Format> format;
  std::optional<std::string> plotFile;
  std::optional<std::string> stepsFile;
  std::optional<std::vector<MethodId>> methods;
  std::vector<std::pair<std::string, std::string>> methodParams;
  std::optional<double> epsRel;
  std::optional<std::uint64_t> index;
  std::optional<int> maxTrials;
  std::optional<double> delta;
  std::optional<unsigned> jobs;
  std::optional<std::string> operationalFile;
  std::optional<std::uint64_t> seed;
  std::optional<int> seeds;
  bool optionsEnded = false;

  while (!reader.done()) {
    const std::string& arg = reader.take();
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      if (arg == "-h") return HelpRequest{};
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help") return HelpRequest{};
    if (!seen.insert(arg).second) throw UsageError(arg + " is given more than once");

    if (arg == "--interval") {
      const double a = parseNumber(reader.value(arg), "--interval A");
      const double b = parseNumber(reader.value(arg + " B"), "--interval B");
      interval.emplace(a, b);
    } else if (arg == "--method") {
      method = parseMethod(reader.value(arg));
    } else if (arg == "--param") {
      paramText = reader.value(arg);
    } else if (arg == "--steps") {
      steps = parseCount(reader.value(arg), arg, 1, Lab::MaxSteps);
    } else if (arg == "--eps") {
      // As in the window, an eps the run cannot reach (0, negative, finer than
      // doubles resolve) is taken: the step bound ends the run and says so.
      eps = parseNumber(reader.value(arg), arg);
    } else if (arg == "--interval-eps") {
      intervalEps = parseNumber(reader.value(arg), arg);
    } else if (arg == "--params") {
      params = parseParams(reader.value(arg));
    } else if (arg == "--trials") {
      trials = true;
    } else if (arg == "--format") {
      format = parseFormat(reader.value(arg));
    } else if (arg == "--plot") {
      plotFile = fileName(reader.value(arg), arg);
    } else if (arg == "--steps-out") {
      stepsFile = fileName(reader.value(arg), arg);
    } else if (arg == "--suite") {
      suiteFile = reader.value(arg);
    } else if (arg == "--from-csv") {
      csvFile = reader.value(arg);
    } else if (arg == "--class") {
      classText = reader.value(arg);
    } else if (arg == "--methods") {
      methods = parseMethods(reader.value(arg));
    } else if (arg.compare(0, ParamPrefix.size(), ParamPrefix) == 0) {
      const std::string key = arg.substr(ParamPrefix.size());
      if (!Lab::findMethod(key)) throw UsageError("unknown option " + arg + " (" + quoted(key) + " is no method)");
      methodParams.emplace_back(arg, reader.value(arg));
    } else if (arg == "--eps-rel") {
      epsRel = positive(parseNumber(reader.value(arg), arg), arg);
    } else if (arg == "--index") {
      index = parseIndex(reader.value(arg), arg);
    } else if (arg == "--print-formula" || arg == "--no-header" || arg == "--log-k") {
      // Flags: being seen is all they say.
    } else if (arg == "--max-trials") {
      maxTrials = parseCount(reader.value(arg), arg, 2, Lab::MaxSteps + 2);
    } else if (arg == "--delta") {
      delta = positive(parseNumber(reader.value(arg), arg), arg);
    } else if (arg == "--jobs") {
      jobs = static_cast<unsigned>(parseCount(reader.value(arg), arg, 1, MaxJobs));
    } else if (arg == "--seed") {
      seed = parseIndex(reader.value(arg), arg);
    } else if (arg == "--seeds") {
      seeds = parseCount(reader.value(arg), arg, 1, MaxSeeds);
    } else if (arg == "--operational") {
      operationalFile = fileName(reader.value(arg), arg);
    } else {
      throw UsageError("unknown option " + arg);
    }
  }

  using Options = std::span<const char* const>;
  const auto refuse = [&](Options options, const char* mode) {
    for (const char* option : options)
      if (seen.count(option)) throw UsageError(std::string(option) + " cannot be used " + mode);
  };
  const auto refuseBatch = [&](const char* mode) {
    refuse(BatchOnly, mode);
    if (!methodParams.empty()) throw UsageError(methodParams.front().first + " cannot be used " + mode);
  };
  const auto batch = [&](BatchOptions& options, bool classRuns) {
    if (format == Format::Json) throw UsageError(std::string(classRuns ? "--class" : "--suite") + " writes text or csv, not json");
    if (format) options.format = *format;
    if (methods) options.methods = *methods;
    options.params = parseBatchParams(methodParams, classRuns);
    options.operationalFile = operationalFile;
    if (seen.count("--log-k") && !operationalFile) throw UsageError("--log-k needs --operational");
    options.logK = seen.count("--log-k") > 0;
    options.jobs = jobs;
    if (seed && seeds) throw UsageError("--seed and --seeds cannot be used together");
    options.seed = seed.value_or(0);
    options.seeds = seeds;
  };

  if (suiteFile && classText) throw UsageError("--suite and --class cannot be used together");
  if (csvFile) {
    if (suiteFile || classText) throw UsageError("--from-csv reads runs made before: it takes no --suite or --class");
    refuse(SingleSearchOnly, "with --from-csv");
    refuse(SuiteOnly, "with --from-csv");
    for (const char* option : {"--index", "--print-formula", "--jobs", "--no-header", "--methods", "--seed", "--seeds"})
      if (seen.count(option)) throw UsageError(std::string(option) + " cannot be used with --from-csv");
    if (!methodParams.empty()) throw UsageError(methodParams.front().first + " cannot be used with --from-csv");
    CsvSummaryOptions options;
    batch(options, true);
    options.files.push_back(*csvFile);
    options.files.insert(options.files.end(), positional.begin(), positional.end());
    if (maxTrials) options.rule.maxTrials = *maxTrials;
    if (delta) options.rule.delta = *delta;
    return options;
  }

  if (suiteFile) {
    refuse(SingleSearchOnly, "with --suite");
    refuse(ClassOnly, "with --suite");
    if (!positional.empty()) throw UsageError("--suite takes no formula (got " + quoted(positional.front()) + ")");
    SuiteOptions suite;
    batch(suite, false);
    suite.file = *suiteFile;
    if (epsRel) suite.epsRel = *epsRel;
    suite.steps = steps;
    if (!steps) refuseRuleForPeers(suite.methods, "the interval rule of --eps-rel");
    return suite;
  }

  if (classText) {
    refuse(SingleSearchOnly, "with --class");
    refuse(SuiteOnly, "with --class");
    if (steps) throw UsageError("--steps cannot be used with --class (its runs stop at --max-trials)");
    if (!positional.empty()) throw UsageError("--class takes no formula (got " + quoted(positional.front()) + ")");
    auto [range, counted] = parseClass(*classText);
    if (counted && index) throw UsageError("--index cannot be used with a count or range in --class " + *classText);
    if (!counted && !index)
      throw UsageError("--class " + *classText + " needs functions: " + *classText + ":N, " + *classText +
                       ":FIRST-LAST or --index I");
    if (!counted) range.first = range.last = *index;
    if (seen.count("--print-formula")) {
      refuseBatch("with --print-formula");
      refuse(ClassRunOnly, "with --print-formula");
      return FormulaListing{range};
    }
    ClassOptions options;
    batch(options, true);
    options.range = range;
    if (maxTrials) options.rule.maxTrials = *maxTrials;
    if (delta) options.rule.delta = *delta;
    if (seen.count("--no-header") && options.format != Format::Csv) throw UsageError("--no-header is for --format csv");
    options.header = !seen.count("--no-header");
    return options;
  }

  refuse(SuiteOnly, "without --suite");
  refuse(ClassOnly, "without --class");
  refuseBatch("without --suite or --class");
  if (positional.empty()) throw UsageError("no formula given");
  if (positional.size() > 1) throw UsageError("more than one formula given: " + quoted(positional[0]) + " and " + quoted(positional[1]));
  SearchOptions search;
  search.formula = positional.front();
  if (!interval) throw UsageError("--interval A B is required");
  search.request.xmin = interval->first;
  search.request.xmax = interval->second;
  checkInterval(search.request.xmin, search.request.xmax);
  if (!method) throw UsageError("--method is required (" + methodKeys() + ")");
  search.request.method = *method;
  if (paramText) search.request.param = parseSearchParam(search.request.method, *paramText);
  const int stopRules = (steps ? 1 : 0) + (eps ? 1 : 0) + (intervalEps ? 1 : 0);
  if (stopRules == 0) throw UsageError("a stop rule is required: --steps N, --eps E or --interval-eps E");
  if (stopRules > 1) throw UsageError("give only one stop rule: --steps, --eps or --interval-eps");
  if (steps) {
    search.request.stop = StopRule::Steps;
    search.request.steps = *steps;
  } else if (eps) {
    search.request.stop = StopRule::Precision;
    search.request.eps = *eps;
  } else {
    search.request.stop = StopRule::IntervalLength;
    search.request.eps = *intervalEps;
  }
  if (search.request.stop != StopRule::Steps) refuseRuleForPeers({search.request.method}, eps ? "--eps" : "--interval-eps");
  if (params) search.params = *params;
  search.request.seed = seed.value_or(0);
  search.trials = trials;
  if (format) search.format = *format;
  search.plotFile = plotFile;
  search.stepsFile = stepsFile;
  search.request.recordSteps = stepsFile.has_value();
  checkRequest(search.request);
  return search;
}

}  // namespace Velmora::Cli
