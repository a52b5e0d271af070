#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <span>

namespace Velmora::Cli {

namespace {

constexpr std::string_view ParamPrefix = "--param-";
constexpr unsigned MaxJobs = 256;
// One run keeps every row until it prints them in order; a larger sweep is
// split into shards of ranges.
constexpr std::uint64_t MaxClassFunctions = 1'000'000;

// The options of each mode that no other mode takes (the --param-METHOD options go with BatchOnly).
constexpr std::array SingleSearchOnly{"--interval", "--method", "--param", "--eps", "--interval-eps",
                                      "--params", "--trials", "--plot", "--steps-out"};
constexpr int MaxSeeds = 10000;
constexpr std::array SuiteOnly{"--eps-rel"};
constexpr std::array ClassOnly{"--index", "--print-formula", "--max-trials", "--delta", "--no-header"};
constexpr std::array BatchOnly{"--methods", "--operational", "--log-k", "--jobs", "--seeds"};
constexpr std::array ClassRunOnly{"--max-trials", "--delta", "--jobs", "--format", "--no-header"};

std::string quoted(std::string_view text) {
  std::string result(1, '"');
  result.append(text);
  return result += '"';
}

std::vector<std::string_view> splitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

// "a, b or c"
template <class Items, class Key>
std::string listed(const Items& items, Key key) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i)
    text.append(i == 0 ? "" : i + 1 == items.size() ? " or " : ", ").append(key(items[i]));
  return text;
}

std::string methodKeys() {
  return listed(Lab::allMethods(), [](const Lab::MethodInfo& info) { return info.key; });
}

std::string classKeys() {
  std::vector<std::string_view> keys;
  for (const Lab::TestClass& c : Lab::testClasses()) keys.push_back(c.key);
  keys.insert(keys.end(), ShippedTestSets.begin(), ShippedTestSets.end());
  return listed(keys, [](std::string_view key) { return key; });
}

MethodId parseMethod(std::string_view text) {
  if (const Lab::MethodInfo* info = Lab::findMethod(text)) return info->id;
  throw UsageError("unknown method " + quoted(text) + " (expected " + methodKeys() + ")");
}

std::vector<MethodId> parseMethods(std::string_view text) {
  std::vector<MethodId> list;
  if (text == "all") {
    for (const Lab::MethodInfo& info : Lab::allMethods()) list.push_back(info.id);
    return list;
  }
  for (std::string_view name : splitCommas(text)) {
    const MethodId m = parseMethod(name);
    for (MethodId earlier : list)
      if (earlier == m) throw UsageError("--methods names " + std::string(name) + " twice");
    list.push_back(m);
  }
  return list;
}

Format parseFormat(std::string_view text) {
  if (text == "text") return Format::Text;
  if (text == "csv") return Format::Csv;
  if (text == "json") return Format::Json;
  throw UsageError("unknown format " + quoted(text) + " (expected text, csv or json)");
}

double positive(double value, std::string_view what) {
  if (!(value > 0)) throw UsageError(std::string(what) + " must be greater than 0");
  return value;
}

// A function's number in its class: any unsigned 64-bit number.
std::uint64_t parseIndex(std::string_view text, std::string_view what) {
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  const std::string range =
      " (expected a whole number from 0 to " + std::to_string(std::numeric_limits<std::uint64_t>::max()) + ")";
  const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  const bool negative = text.size() > 1 && text[0] == '-' && text.substr(1).find_first_not_of("0123456789") == std::string_view::npos;
  if (ec == std::errc::result_out_of_range || negative)
    throw UsageError(std::string(what) + ": " + quoted(text) + " is out of range" + range);
  if (!digits || ec != std::errc() || end != text.data() + text.size())
    throw UsageError(std::string(what) + ": " + quoted(text) + " is not a whole number" + range);
  return value;
}

// CLASS, CLASS:N (functions 0..N-1) or CLASS:FIRST-LAST; the range is empty
// for CLASS alone, and its first and last are unset.
std::pair<ClassRange, bool> parseClass(std::string_view text) {
  const std::size_t colon = text.find(':');
  const std::string_view key = text.substr(0, colon);
  ClassRange range;
  if (const Lab::TestClass* cls = Lab::findTestClass(key))
    range.cls = cls->id;
  else if (std::find(ShippedTestSets.begin(), ShippedTestSets.end(), key) != ShippedTestSets.end())
    range.set = key;
  else
    throw UsageError("unknown class " + quoted(key) + " (expected " + classKeys() + ")");
  if (colon == std::string_view::npos) return {range, false};
  const std::string what = "--class " + std::string(text);
  const std::string_view rest = text.substr(colon + 1);
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || dash == 0) {
    const std::uint64_t count = parseIndex(rest, what);
    if (count == 0) throw UsageError(what + ": a count of functions is at least 1");
    range.last = count - 1;
  } else {
    range.first = parseIndex(rest.substr(0, dash), what);
    range.last = parseIndex(rest.substr(dash + 1), what);
    if (range.last < range.first) throw UsageError(what + ": the range ends before it starts");
  }
  if (range.last - range.first >= MaxClassFunctions)
    throw UsageError(what + ": at most " + std::to_string(MaxClassFunctions) +
                     " functions in one run (split the range into shards)");
  return {range, true};
}

// Piyavsky's L in runs over many problems may come from the problem: from the
// file's column in a test set, from the function's constant in a class.
constexpr std::string_view FromFile = "from-file";
constexpr std::string_view FromFunction = "from-function";

std::map<MethodId, double> batchParams(const std::vector<std::pair<std::string, std::string>>& given, bool classRuns) {
  std::map<MethodId, double> params;
  for (const auto& [option, text] : given) {
    const Lab::MethodInfo& info = *Lab::findMethod(std::string_view(option).substr(ParamPrefix.size()));
    switch (info.param) {
      case Lab::ParamMeaning::None: throw UsageError(option + ": " + std::string(info.key) + " takes no parameter");
      case Lab::ParamMeaning::LipschitzEstimate:
        if (text == (classRuns ? FromFunction : FromFile)) continue;
        if (text == FromFunction) throw UsageError(option + " from-function is for class runs (--class); a test set takes from-file or a number");
        if (text == FromFile) throw UsageError(option + " from-file is for test sets (--suite); a class run takes from-function or a number");
        params[info.id] = positive(parseNumber(text, option), option);
        break;
      case Lab::ParamMeaning::Multiplier: {
        const double value = parseNumber(text, option);
        if (!info.acceptsParam(value)) throw UsageError(option + ": the multiplier r must be " + std::string(info.paramRule));
        params[info.id] = value;
        break;
      }
      case Lab::ParamMeaning::Population: {
        const double value = parseNumber(text, option);
        if (!info.acceptsParam(value)) throw UsageError(option + ": the population must be " + std::string(info.paramRule));
        params[info.id] = value;
        break;
      }
    }
  }
  return params;
}

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
  switch (Lab::methodInfo(method).param) {
    case Lab::ParamMeaning::None: return 0;
    case Lab::ParamMeaning::LipschitzEstimate: return problemL;
    case Lab::ParamMeaning::Multiplier: return BatchMultiplier;
    case Lab::ParamMeaning::Population: return 0;
  }
  return 0;
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
    if (Lab::methodInfo(m).family == Lab::MethodFamily::Peer)
      throw UsageError(std::string(Lab::methodInfo(m).key) + " stops at a budget of evaluations: give --steps N, not " +
                       rule);
}

}  // namespace

std::string_view classKey(const ClassRange& range) {
  return range.set.empty() ? Lab::testClass(range.cls).key : std::string_view(range.set);
}

std::string_view methodName(MethodId method) { return Lab::methodInfo(method).key; }

double parseNumber(std::string_view text, std::string_view what) {
  std::string_view digits = text;
  // from_chars takes no "+", but people and the window write "+10".
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  const std::string name(what);
  if (ec == std::errc::result_out_of_range) throw UsageError(name + ": " + quoted(text) + " is out of the range of numbers");
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    std::string message = name + ": " + quoted(text) + " is not a number";
    if (text.find(',') != std::string_view::npos) message += " (the decimal point is \".\")";
    throw UsageError(message);
  }
  if (!std::isfinite(value)) throw UsageError(name + ": " + quoted(text) + " is not a finite number");
  return value;
}

int parseCount(std::string_view text, std::string_view what, int lo, int hi) {
  std::string_view digits = text;
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+') digits.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  const std::string range = " (expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ")";
  const bool whole = ec == std::errc() && end == digits.data() + digits.size();
  if (ec == std::errc::result_out_of_range || (whole && (value < lo || value > hi)))
    throw UsageError(std::string(what) + ": " + quoted(text) + " is out of range" + range);
  if (!whole)
    throw UsageError(std::string(what) + ": " + quoted(text) + " is not a whole number" + range);
  return value;
}

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
         "--param-METHOD (0: NLopt's own). Numbers use \".\" as the decimal point.\n";
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
      const std::vector<std::string_view> parts = splitCommas(reader.value(arg));
      if (parts.size() > 9) throw UsageError("--params takes at most 9 values, for x[1]..x[9]");
      std::array<double, 9> values{};
      for (std::size_t i = 0; i < parts.size(); ++i)
        values[i] = parseNumber(parts[i], "--params value " + std::to_string(i + 1) + " (x[" + std::to_string(i + 1) + "])");
      params = values;
    } else if (arg == "--trials") {
      trials = true;
    } else if (arg == "--format") {
      format = parseFormat(reader.value(arg));
    } else if (arg == "--plot") {
      plotFile = reader.value(arg);
      if (plotFile->empty()) throw UsageError("--plot needs a file name");
    } else if (arg == "--steps-out") {
      stepsFile = reader.value(arg);
      if (stepsFile->empty()) throw UsageError("--steps-out needs a file name");
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
      operationalFile = reader.value(arg);
      if (operationalFile->empty()) throw UsageError("--operational needs a file name");
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
    options.params = batchParams(methodParams, classRuns);
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
  search.xmin = interval->first;
  search.xmax = interval->second;
  if (!(search.xmin < search.xmax)) throw UsageError("--interval: A must be less than B");
  if (!method) throw UsageError("--method is required (" + methodKeys() + ")");
  search.method = *method;
  if (paramText) {
    const Lab::MethodInfo& info = Lab::methodInfo(search.method);
    if (info.param == Lab::ParamMeaning::None)
      throw UsageError("--param is not used by the " + std::string(info.key) + " method");
    if (*paramText == FromFunction || *paramText == FromFile)
      throw UsageError("--param " + *paramText + " is for runs over many problems: --param-piyavsky " + *paramText +
                       " with " + (*paramText == FromFunction ? "--class" : "--suite"));
    const double param = parseNumber(*paramText, "--param");
    // The window's own check; the Lipschitz estimate of piyavsky is taken as it comes.
    if (!info.acceptsParam(param))
      throw UsageError("--param: the multiplier of " + std::string(info.key) + " must be " + std::string(info.paramRule));
    search.param = param;
  }
  const int stopRules = (steps ? 1 : 0) + (eps ? 1 : 0) + (intervalEps ? 1 : 0);
  if (stopRules == 0) throw UsageError("a stop rule is required: --steps N, --eps E or --interval-eps E");
  if (stopRules > 1) throw UsageError("give only one stop rule: --steps, --eps or --interval-eps");
  if (steps) {
    search.stop = StopRule::Steps;
    search.steps = *steps;
  } else if (eps) {
    search.stop = StopRule::Precision;
    search.eps = *eps;
  } else {
    search.stop = StopRule::IntervalLength;
    search.eps = *intervalEps;
  }
  if (search.stop != StopRule::Steps) refuseRuleForPeers({search.method}, eps ? "--eps" : "--interval-eps");
  if (params) search.params = *params;
  search.seed = seed.value_or(0);
  search.trials = trials;
  if (format) search.format = *format;
  search.plotFile = plotFile;
  search.stepsFile = stepsFile;
  return search;
}

}  // namespace Velmora::Cli
