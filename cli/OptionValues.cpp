#include "OptionValues.h"

#include "RequestCheck.h"

namespace Velmora::Cli {

namespace {

// Piyavsky's L in runs over many problems may come from the problem: from the
// file's column in a test set, from the function's constant in a class.
constexpr std::string_view FromFile = "from-file";
constexpr std::string_view FromFunction = "from-function";

// How the command line names each field of a request.
std::string_view optionOf(Lab::RequestField field) {
  switch (field) {
    case Lab::RequestField::IntervalStart: return "--interval A";
    case Lab::RequestField::IntervalEnd: return "--interval B";
    case Lab::RequestField::Interval: return "--interval";
    case Lab::RequestField::Param: return "--param";
    case Lab::RequestField::Steps: return "--steps";
    case Lab::RequestField::Precision: return "--eps";
    case Lab::RequestField::IntervalEps: return "--interval-eps";
  }
  return "";
}

void refuse(const std::optional<Lab::RequestFault>& fault) {
  if (fault) throw UsageError(fault->text(optionOf(fault->field)));
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string result(1, '"');
  result.append(text);
  return result += '"';
}

double positive(double value, std::string_view what) {
  if (!(value > 0)) throw UsageError(std::string(what) + " must be greater than 0");
  return value;
}

std::string fileName(std::string_view text, std::string_view what) {
  if (text.empty()) throw UsageError(std::string(what) + " needs a file name");
  return std::string(text);
}

std::vector<MethodId> parseMethods(std::string_view text) {
  std::vector<MethodId> list;
  if (text == "all") {
    for (const Lab::MethodInfo& info : Lab::allMethods())
      if (Lab::isInstalled(info) && !info.batchNeedsParam) list.push_back(info.id);
    return list;
  }
  for (std::string_view name : Lab::splitFields(text, ',')) {
    const MethodId m = Lab::readMethod(name);
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

std::pair<Lab::ClassRange, bool> parseClass(std::string_view text) {
  return Lab::parseClassRange(text, "--class " + std::string(text));
}

std::array<double, 9> parseParams(std::string_view text) {
  const std::vector<std::string_view> parts = Lab::splitFields(text, ',');
  if (parts.size() > 9) throw UsageError("--params takes at most 9 values, for x[1]..x[9]");
  std::array<double, 9> values{};
  for (std::size_t i = 0; i < parts.size(); ++i)
    values[i] = readNumber(parts[i], "--params value " + std::to_string(i + 1) + " (x[" + std::to_string(i + 1) + "])");
  return values;
}

double parseSearchParam(MethodId method, std::string_view text) {
  if (Lab::methodInfo(method).param == Lab::ParamMeaning::None) refuse(Lab::checkParam(method, 0));
  if (text == FromFunction || text == FromFile)
    throw UsageError("--param " + std::string(text) + " is for runs over many problems: --param-piyavsky " +
                     std::string(text) + " with " + (text == FromFunction ? "--class" : "--suite"));
  const double param = readNumber(text, "--param");
  refuse(Lab::checkParam(method, param));
  return param;
}

void checkInterval(double xmin, double xmax) { refuse(Lab::checkInterval(xmin, xmax)); }

void checkRequest(const Lab::SearchRequest& request) { refuse(Lab::checkRequest(request)); }

std::map<MethodId, double> parseBatchParams(const std::vector<std::pair<std::string, std::string>>& given,
                                            bool classRuns) {
  std::map<MethodId, double> params;
  for (const auto& [option, text] : given) {
    const Lab::MethodInfo& info = *Lab::findMethod(std::string_view(option).substr(option.find('-', 2) + 1));
    if (info.batchParamOfProblem) {
      if (text == (classRuns ? FromFunction : FromFile)) continue;
      if (text == FromFunction) throw UsageError(option + " from-function is for class runs (--class); a test set takes from-file or a number");
      if (text == FromFile) throw UsageError(option + " from-file is for test sets (--suite); a class run takes from-function or a number");
    }
    const double value = info.param == Lab::ParamMeaning::None ? 0 : readNumber(text, option);
    if (const auto fault = Lab::checkPlanParam(info.id, value)) throw UsageError(fault->text(option));
    params[info.id] = value;
  }
  return params;
}

}  // namespace Velmora::Cli
