#include "OptionValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "Fields.h"
#include "NumberText.h"

namespace Velmora::Cli {

namespace {

// One run keeps every row until it prints them in order; a larger sweep is
// split into shards of ranges.
constexpr std::uint64_t MaxClassFunctions = 1'000'000;

// Piyavsky's L in runs over many problems may come from the problem: from the
// file's column in a test set, from the function's constant in a class.
constexpr std::string_view FromFile = "from-file";
constexpr std::string_view FromFunction = "from-function";

// from_chars takes no "+", but people and the window write "+10".
std::string_view withoutPlus(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  return text;
}

std::string notFinite(std::string_view what, double value) {
  return std::string(what) + ": " + quoted(shortest(value)) + " is not a finite number";
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string result(1, '"');
  result.append(text);
  return result += '"';
}

std::string listed(const std::vector<std::string_view>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i)
    text.append(i == 0 ? "" : i + 1 == items.size() ? " or " : ", ").append(items[i]);
  return text;
}

std::string methodKeys() {
  std::vector<std::string_view> keys;
  for (const Lab::MethodInfo& info : Lab::allMethods()) keys.push_back(info.key);
  return listed(keys);
}

std::string classKeys() {
  std::vector<std::string_view> keys;
  for (const Lab::TestClass& c : Lab::testClasses()) keys.push_back(c.key);
  keys.insert(keys.end(), ShippedTestSets.begin(), ShippedTestSets.end());
  return listed(keys);
}

double parseNumber(std::string_view text, std::string_view what) {
  const std::string_view digits = withoutPlus(text);
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
  const std::string_view digits = withoutPlus(text);
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

double positive(double value, std::string_view what) {
  if (!(value > 0)) throw UsageError(std::string(what) + " must be greater than 0");
  return value;
}

std::string fileName(std::string_view text, std::string_view what) {
  if (text.empty()) throw UsageError(std::string(what) + " needs a file name");
  return std::string(text);
}

MethodId parseMethod(std::string_view text) {
  if (const Lab::MethodInfo* info = Lab::findMethod(text)) {
    if (!Lab::isInstalled(*info))
      throw UsageError("method " + quoted(text) + " cannot run here: the installed NLopt was built without it");
    return info->id;
  }
  throw UsageError("unknown method " + quoted(text) + " (expected " + methodKeys() + ")");
}

std::vector<MethodId> parseMethods(std::string_view text) {
  std::vector<MethodId> list;
  if (text == "all") {
    for (const Lab::MethodInfo& info : Lab::allMethods())
      if (Lab::isInstalled(info)) list.push_back(info.id);
    return list;
  }
  for (std::string_view name : splitFields(text, ',')) {
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

std::string_view classKey(const ClassRange& range) {
  return range.set.empty() ? Lab::testClass(range.cls).key : std::string_view(range.set);
}

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

std::array<double, 9> parseParams(std::string_view text) {
  const std::vector<std::string_view> parts = splitFields(text, ',');
  if (parts.size() > 9) throw UsageError("--params takes at most 9 values, for x[1]..x[9]");
  std::array<double, 9> values{};
  for (std::size_t i = 0; i < parts.size(); ++i)
    values[i] = parseNumber(parts[i], "--params value " + std::to_string(i + 1) + " (x[" + std::to_string(i + 1) + "])");
  return values;
}

double parseSearchParam(MethodId method, std::string_view text) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  if (info.param == Lab::ParamMeaning::None)
    throw UsageError("--param is not used by the " + std::string(info.key) + " method");
  if (text == FromFunction || text == FromFile)
    throw UsageError("--param " + std::string(text) + " is for runs over many problems: --param-piyavsky " +
                     std::string(text) + " with " + (text == FromFunction ? "--class" : "--suite"));
  const double param = parseNumber(text, "--param");
  checkSearchParam(method, param);
  return param;
}

void checkInterval(double xmin, double xmax) {
  if (!std::isfinite(xmin)) throw UsageError(notFinite("--interval A", xmin));
  if (!std::isfinite(xmax)) throw UsageError(notFinite("--interval B", xmax));
  if (!(xmin < xmax)) throw UsageError("--interval: A must be less than B");
}

void checkSearchParam(MethodId method, double param) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  if (info.param == Lab::ParamMeaning::None)
    throw UsageError("--param is not used by the " + std::string(info.key) + " method");
  if (!std::isfinite(param)) throw UsageError(notFinite("--param", param));
  // The window's own check; the Lipschitz estimate of piyavsky is taken as it comes.
  if (!info.acceptsParam(param))
    throw UsageError("--param: the " + std::string(info.paramNoun) + " of " + std::string(info.key) + " must be " +
                     std::string(info.paramRule));
}

void checkRequest(const Lab::SearchRequest& request) {
  checkInterval(request.xmin, request.xmax);
  if (request.param) checkSearchParam(request.method.value(), *request.param);
  switch (request.stop) {
    case Lab::StopKind::Steps: parseCount(std::to_string(request.steps), "--steps", 1, Lab::MaxSteps); break;
    // As in the window, an eps the run cannot reach (0, negative, finer than
    // doubles resolve) is taken: the step bound ends the run and says so.
    case Lab::StopKind::Precision:
      if (!std::isfinite(request.eps)) throw UsageError(notFinite("--eps", request.eps));
      break;
    case Lab::StopKind::IntervalLength:
      if (!std::isfinite(request.eps)) throw UsageError(notFinite("--interval-eps", request.eps));
      break;
  }
}

std::map<MethodId, double> parseBatchParams(const std::vector<std::pair<std::string, std::string>>& given,
                                            bool classRuns) {
  std::map<MethodId, double> params;
  for (const auto& [option, text] : given) {
    const Lab::MethodInfo& info = *Lab::findMethod(std::string_view(option).substr(option.find('-', 2) + 1));
    if (info.param == Lab::ParamMeaning::None) throw UsageError(option + ": " + std::string(info.key) + " takes no parameter");
    if (info.batchParamOfProblem) {
      if (text == (classRuns ? FromFunction : FromFile)) continue;
      if (text == FromFunction) throw UsageError(option + " from-function is for class runs (--class); a test set takes from-file or a number");
      if (text == FromFile) throw UsageError(option + " from-file is for test sets (--suite); a class run takes from-function or a number");
      params[info.id] = positive(parseNumber(text, option), option);
      continue;
    }
    const double value = parseNumber(text, option);
    if (!info.acceptsParam(value))
      throw UsageError(option + ": the " + Lab::paramName(info) + " must be " + std::string(info.paramRule));
    params[info.id] = value;
  }
  return params;
}

}  // namespace Velmora::Cli
