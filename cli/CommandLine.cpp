#include "CommandLine.h"

#include <charconv>
#include <cmath>
#include <set>

namespace Velmora::Cli {

namespace {

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

MethodId parseMethod(std::string_view text) {
  if (const Lab::MethodInfo* info = Lab::findMethod(text)) return info->id;
  std::string known;
  const auto methods = Lab::windowMethods();
  for (std::size_t i = 0; i < methods.size(); ++i)
    known.append(i == 0 ? "" : i + 1 == methods.size() ? " or " : ", ").append(methods[i].key);
  throw UsageError("unknown method " + quoted(text) + " (expected " + known + ")");
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
         "  velmora-run FORMULA --interval A B --method scan|piyavsky|strongin [--param V]\n"
         "              (--steps N | --eps E | --interval-eps E) [--params P1,P2,...]\n"
         "              [--trials] [--format text|csv|json] [--plot FILE.png]\n"
         "              [--steps-out FILE.csv]\n"
         "  velmora-run --suite FILE.tsv [--methods scan,piyavsky,strongin]\n"
         "              [--param-piyavsky from-file|V] [--param-strongin R] [--eps-rel E]\n"
         "              [--steps N] [--format text|csv]\n"
         "  velmora-run --help\n"
         "\n"
         "FORMULA uses x[0] as the argument and x[1]..x[9] as the values of --params.\n"
         "--param is the Lipschitz estimate of piyavsky or the multiplier of strongin (> 1);\n"
         "both default to 1.5. Numbers use \".\" as the decimal point.\n";
}

Command parseCommandLine(const std::vector<std::string>& args) {
  ArgReader reader(args);
  std::set<std::string> seen;
  std::vector<std::string> positional;
  std::optional<std::string> suiteFile;

  // Collected first and checked against the mode afterwards, so that each
  // option's misuse gets its own message whatever the order of the arguments.
  std::optional<std::pair<double, double>> interval;
  std::optional<MethodId> method;
  std::optional<double> param;
  std::optional<int> steps;
  std::optional<double> eps, intervalEps;
  std::optional<std::array<double, 9>> params;
  bool trials = false;
  std::optional<Format> format;
  std::optional<std::string> plotFile;
  std::optional<std::string> stepsFile;
  std::optional<std::vector<MethodId>> methods;
  std::optional<std::string> piyavskyText;
  std::optional<double> stronginR, epsRel;
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
      param = parseNumber(reader.value(arg), arg);
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
    } else if (arg == "--methods") {
      std::vector<MethodId> list;
      for (std::string_view name : splitCommas(reader.value(arg))) {
        const MethodId m = parseMethod(name);
        for (MethodId earlier : list)
          if (earlier == m) throw UsageError("--methods names " + std::string(name) + " twice");
        list.push_back(m);
      }
      methods = list;
    } else if (arg == "--param-piyavsky") {
      piyavskyText = reader.value(arg);
    } else if (arg == "--param-strongin") {
      stronginR = parseNumber(reader.value(arg), arg);
      if (!(*stronginR > 1)) throw UsageError("--param-strongin: the multiplier r must be greater than 1");
    } else if (arg == "--eps-rel") {
      epsRel = positive(parseNumber(reader.value(arg), arg), arg);
    } else {
      throw UsageError("unknown option " + arg);
    }
  }

  const auto refuse = [&](std::initializer_list<const char*> options, const char* mode) {
    for (const char* option : options)
      if (seen.count(option)) throw UsageError(std::string(option) + " cannot be used " + mode);
  };

  if (suiteFile) {
    refuse({"--interval", "--method", "--param", "--eps", "--interval-eps", "--params", "--trials", "--plot",
            "--steps-out"},
           "with --suite");
    if (!positional.empty()) throw UsageError("--suite takes no formula (got " + quoted(positional.front()) + ")");
    if (format == Format::Json) throw UsageError("--suite writes text (a Markdown table) or csv, not json");
    SuiteOptions suite;
    suite.file = *suiteFile;
    if (methods) suite.methods = *methods;
    if (piyavskyText && *piyavskyText != "from-file")
      suite.piyavskyL = positive(parseNumber(*piyavskyText, "--param-piyavsky"), "--param-piyavsky");
    if (stronginR) suite.stronginR = *stronginR;
    if (epsRel) suite.epsRel = *epsRel;
    suite.steps = steps;
    if (format) suite.format = *format;
    return suite;
  }

  refuse({"--methods", "--param-piyavsky", "--param-strongin", "--eps-rel"}, "without --suite");
  if (positional.empty()) throw UsageError("no formula given");
  if (positional.size() > 1) throw UsageError("more than one formula given: " + quoted(positional[0]) + " and " + quoted(positional[1]));
  SearchOptions search;
  search.formula = positional.front();
  if (!interval) throw UsageError("--interval A B is required");
  search.xmin = interval->first;
  search.xmax = interval->second;
  if (!(search.xmin < search.xmax)) throw UsageError("--interval: A must be less than B");
  if (!method) throw UsageError("--method is required (scan, piyavsky or strongin)");
  search.method = *method;
  if (param) {
    const Lab::MethodInfo& info = Lab::methodInfo(search.method);
    if (info.param == Lab::ParamMeaning::None)
      throw UsageError("--param is not used by the " + std::string(info.key) + " method");
    // The window's own check; the Lipschitz estimate of piyavsky is taken as it comes.
    if (!info.acceptsParam(*param))
      throw UsageError("--param: the multiplier of " + std::string(info.key) + " must be greater than 1");
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
  if (params) search.params = *params;
  search.trials = trials;
  if (format) search.format = *format;
  search.plotFile = plotFile;
  search.stepsFile = stepsFile;
  return search;
}

}  // namespace Velmora::Cli
