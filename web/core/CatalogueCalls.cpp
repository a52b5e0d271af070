#include "CatalogueCalls.h"

#include "MethodCatalogue.h"
#include "NumberText.h"
#include "SampleFormulas.h"

namespace Velmora::Web {

namespace {

val stopsOf(const Lab::MethodInfo& method) {
  val stops = val::array();
  if (Lab::takesStop(method, Lab::StopKind::Steps)) stops.call<void>("push", std::string("steps"));
  if (Lab::takesStop(method, Lab::StopKind::Precision)) stops.call<void>("push", std::string("precision"));
  if (Lab::takesStop(method, Lab::StopKind::IntervalLength)) stops.call<void>("push", std::string("eps"));
  return stops;
}

val textOrNull(std::string_view text) { return text.empty() ? val::null() : val(std::string(text)); }

}  // namespace

val methods() {
  val list = val::array();
  for (const Lab::MethodInfo& m : Lab::allMethods()) {
    if (!Lab::isInstalled(m)) continue;
    val method = val::object();
    method.set("id", std::string(m.key));
    method.set("name", std::string(m.englishName));
    method.set("param", textOrNull(Lab::paramMeaningKey(m.param)));
    method.set("param_rule", textOrNull(m.paramRule));
    method.set("default", m.param == Lab::ParamMeaning::None ? val::null() : val(m.defaultParam));
    method.set("installed", true);
    method.set("windowName", std::string(m.windowName));
    method.set("paramLabel", std::string(m.paramLabel));
    method.set("paramNoun", std::string(m.paramNoun));
    method.set("paramSymbol", std::string(m.paramSymbol));
    method.set("stepConstantLabel", std::string(m.stepConstantLabel));
    method.set("stops", stopsOf(m));
    method.set("usesSlope", m.makeWithSlope != nullptr);
    method.set("stochastic", m.stochastic);
    method.set("brokenLine", m.brokenLine);
    method.set("batchNeedsParam", m.batchNeedsParam);
    list.call<void>("push", method);
  }
  return list;
}

val readNumber(const std::string& text) {
  const std::string separator = text.find(',') != std::string::npos ? "," : ".";
  const std::optional<double> value = Lab::textToNumber(text, separator);
  return value ? val(*value) : val::null();
}

std::string formatFixed(double value, int precision, int decimals, const std::string& separator) {
  return Lab::formatFixed(value, precision, decimals, separator);
}

std::string shortest(double value) { return Lab::shortest(value); }

int maxSteps() { return Lab::MaxSteps; }

val sampleFormulas() {
  val list = val::array();
  for (const char* formula : Lab::SampleFormulas) list.call<void>("push", std::string(formula));
  return list;
}

}  // namespace Velmora::Web
