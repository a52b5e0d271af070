#include "FormulaRequest.h"

#include <cmath>
#include <tuple>

#include "MethodCatalogue.h"
#include "ReadNumber.h"
#include "RequestCheck.h"
#include "RunPlan.h"

namespace Velmora::Web {

namespace {

constexpr const char* fieldName(Lab::RequestField field) {
  switch (field) {
    case Lab::RequestField::IntervalStart: return "xmin";
    case Lab::RequestField::IntervalEnd: return "xmax";
    case Lab::RequestField::Interval: return "xmin, xmax";
    case Lab::RequestField::Param: return "param";
    case Lab::RequestField::Steps: return "steps";
    case Lab::RequestField::Precision: return "precision";
    case Lab::RequestField::IntervalEps: return "eps";
  }
  return "";
}

val requestError(const std::string& field, const std::string& message) {
  val error = errorObject("request", message);
  error.set("field", field);
  return error;
}

// A lone byte of a character beyond ASCII reaches the parser's message as
// it read it; the message shows the whole character as typed.
std::size_t utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

void readStopRule(const val& object, Lab::SearchRequest& request) {
  const std::optional<double> steps = numberField(object, "steps");
  const std::optional<double> precision = numberField(object, "precision");
  const std::optional<double> eps = numberField(object, "eps");
  const int given = steps.has_value() + precision.has_value() + eps.has_value();
  if (given != 1) throw Lab::BadValue("give exactly one stop rule: steps, precision or eps");
  if (steps) {
    request.stop = Lab::StopKind::Steps;
    // The count's own range is checkRequest's to say.
    if (!(std::abs(*steps) < 1e9 && *steps == std::floor(*steps))) throw Lab::BadValue("steps must be a whole number");
    request.steps = static_cast<int>(*steps);
  } else if (precision) {
    request.stop = Lab::StopKind::Precision;
    request.eps = *precision;
  } else {
    request.stop = Lab::StopKind::IntervalLength;
    request.eps = *eps;
  }
}

}  // namespace

std::string syntaxErrorLine(const std::string& formula, const Math_Parser::TError& error) {
  std::string message = error.Message;
  const auto at = static_cast<std::size_t>(error.Position);
  if (error.Position >= 0 && at < formula.size() && static_cast<unsigned char>(formula[at]) > 0x7F) {
    const std::size_t lone = message.find(formula[at]);
    if (lone != std::string::npos)
      message.replace(lone, 1, formula.substr(at, utf8Length(static_cast<unsigned char>(formula[at]))));
  }
  return message + " at position " + std::to_string(error.Position);
}

CompiledFormula compileFormula(const val& object) {
  CompiledFormula compiled;
  std::string formula;
  std::array<double, 9> params{};
  try {
    formula = textField(object, "formula").value_or("");
    const std::vector<double> given = numbersField(object, "params");
    if (given.size() > params.size()) throw Lab::BadValue("params: at most 9 values, x[1] to x[9]");
    std::copy(given.begin(), given.end(), params.begin());
  } catch (const Lab::BadValue& bad) {
    compiled.error = requestError("", bad.what());
    return compiled;
  }
  if (formula.empty()) {
    compiled.error = errorObject("formula", "Expression is not entered");
    return compiled;
  }
  try {
    compiled.function = std::make_unique<Lab::FormulaFunction>(formula, params);
  } catch (const Math_Parser::TError& error) {
    compiled.error = errorObject("formula", syntaxErrorLine(formula, error));
    compiled.error.set("position", error.Position);
  }
  return compiled;
}

std::pair<double, double> readInterval(const val& object) {
  const std::optional<double> xmin = numberField(object, "xmin");
  const std::optional<double> xmax = numberField(object, "xmax");
  if (!xmin || !xmax) throw Lab::BadValue("xmin and xmax must both be given");
  return {*xmin, *xmax};
}

val faultAnswer(const Lab::RequestFault& fault) {
  return requestError(fieldName(fault.field), fault.text(fieldName(fault.field)));
}

ReadRequest readFormulaRequest(const val& object) {
  ReadRequest read;
  FormulaRequest search;
  Lab::SearchRequest& request = search.request;
  try {
    std::tie(request.xmin, request.xmax) = readInterval(object);
    const std::string key = textField(object, "method").value_or("strongin");
    const Lab::MethodInfo* method = Lab::findMethod(key);
    if (!method || !Lab::isInstalled(*method))
      throw Lab::BadValue("unknown method \"" + key + "\"; one of " + Lab::methodKeys());
    request.method = method->id;
    request.param = numberField(object, "param");
    readStopRule(object, request);
    if (!Lab::takesStop(*method, request.stop)) throw Lab::BadValue("the method " + key + " does not take this stop rule");
    request.recordSteps = flagField(object, "recordSteps");
  } catch (const Lab::BadValue& bad) {
    read.error = requestError("", bad.what());
    return read;
  }
  if (const std::optional<Lab::RequestFault> fault = Lab::checkRequest(request)) {
    read.error = faultAnswer(*fault);
    return read;
  }
  CompiledFormula compiled = compileFormula(object);
  if (!compiled.function) {
    read.error = compiled.error;
    return read;
  }
  search.function = std::move(compiled.function);
  Lab::FormulaFunction& function = *search.function;
  request.objective = [&function](double x) { return function(x); };
  request.slopeObjective = [&function](double x) { return function.withSlope(x); };
  read.search = std::move(search);
  return read;
}

}  // namespace Velmora::Web
