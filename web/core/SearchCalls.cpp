#include "SearchCalls.h"

#include <tuple>

#include <algorithm>

#include "CourseCalls.h"
#include "FormulaRequest.h"
#include "GraphSamples.h"
#include "ReadNumber.h"

namespace Velmora::Web {

namespace {

val trialsObject(const std::vector<Lab::Trial>& trials) {
  std::vector<double> x, f;
  x.reserve(trials.size());
  f.reserve(trials.size());
  for (const Lab::Trial& t : trials) {
    x.push_back(t.x);
    f.push_back(t.f);
  }
  return pointsObject(x, f);
}

val stepsObject(const std::vector<VELMORAALG::TStepRecord>& records) {
  const auto column = [&records](auto field) {
    std::vector<double> values;
    values.reserve(records.size());
    for (const VELMORAALG::TStepRecord& r : records) values.push_back(static_cast<double>(r.*field));
    return float64Array(values);
  };
  using R = VELMORAALG::TStepRecord;
  val steps = val::object();
  steps.set("step", column(&R::Step));
  steps.set("interval", column(&R::Interval));
  steps.set("left", column(&R::Left));
  steps.set("right", column(&R::Right));
  steps.set("charact", column(&R::Charact));
  steps.set("constant", column(&R::Constant));
  steps.set("x", column(&R::X));
  steps.set("f", column(&R::Z));
  steps.set("precision", column(&R::Precision));
  return steps;
}

val resultObject(const Lab::SearchOutcome& outcome, bool withSteps) {
  val result = val::object();
  result.set("x", outcome.bestX);
  result.set("fun", outcome.fBest);
  result.set("nit", outcome.stepCount);
  result.set("nfev", static_cast<double>(outcome.evaluations.value_or(outcome.trials.size())));
  result.set("stop", std::string(Lab::stopReasonKey(outcome.stop)));
  result.set("stopText", std::string(Lab::stopReasonText(outcome.stop)));
  result.set("success", Lab::succeeded(outcome));
  result.set("message", Lab::outcomeMessage(outcome));
  result.set("precision", outcome.fault || outcome.stepCount == 0 ? val::null() : val(outcome.precision));
  result.set("param", outcome.paramUsed);
  val trials = trialsObject(outcome.trials);
  // f' at each trial, for a method that used it, as the Python module gives it.
  trials.set("df", outcome.slopes.empty() ? val::null() : float64Array(outcome.slopes));
  result.set("trials", trials);
  std::vector<int> order;
  order.reserve(outcome.trials.size());
  for (const Lab::Trial& t : outcome.trials) order.push_back(t.placed);
  result.set("order", int32Array(order));
  result.set("fault", optionalText(outcome.fault));
  result.set("faultInMethod", outcome.faultInMethod);
  val reports = val::array();
  for (const std::string& report : outcome.reports) reports.call<void>("push", report);
  result.set("reports", reports);
  result.set("trialsOutside", static_cast<double>(outcome.trialsOutside));
  result.set("firstStepOutside", outcome.firstStepOutside);
  result.set("steps", withSteps ? stepsObject(outcome.stepRecords) : val::null());
  result.set("error", val::null());
  return result;
}

}  // namespace

val search(const val& object) {
  return answered([&] {
    ReadRequest read = readFormulaRequest(object);
    if (!read.search) return errorAnswer(read.error);
    const Lab::SearchOutcome outcome = Lab::runSearch(read.search->request);
    val result = resultObject(outcome, read.search->request.recordSteps);
    if (flagField(object, "keepRun")) keepRun(std::move(*read.search), outcome);
    return result;
  });
}

val samples(const val& object) {
  return answered([&] {
    double xmin = 0, xmax = 0;
    try {
      std::tie(xmin, xmax) = readInterval(object);
    } catch (const Lab::BadValue& bad) {
      val error = errorObject("request", bad.what());
      error.set("field", "");
      return errorAnswer(error);
    }
    if (const std::optional<Lab::RequestFault> fault = Lab::checkInterval(xmin, xmax))
      return errorAnswer(faultAnswer(*fault));
    CompiledFormula compiled = compileFormula(object);
    if (!compiled.function) return errorAnswer(compiled.error);
    const Lab::GraphCurve curve = Lab::graphCurve(*compiled.function, xmin, xmax);
    val answer = pointsObject(curve.x, curve.f);
    answer.set("faults", static_cast<double>(curve.faults));
    answer.set("firstFault", curve.firstFault);
    answer.set("error", val::null());
    return answer;
  });
}

val checkFormula(const std::string& formula) {
  return answered([&] {
    val answer = val::object();
    if (formula.empty()) {
      answer.set("ok", false);
      answer.set("message", "Expression is not entered");
      return answer;
    }
    try {
      Lab::FormulaFunction compiled(formula);
      answer.set("ok", true);
      answer.set("message", "Expression is Entered correctly");
    } catch (const Math_Parser::TError& error) {
      answer.set("ok", false);
      answer.set("message", syntaxErrorLine(formula, error));
      answer.set("position", error.Position);
    }
    return answer;
  });
}

}  // namespace Velmora::Web
