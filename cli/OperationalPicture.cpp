#include "OperationalPicture.h"

#include "OperationalCharacteristic.h"
#include "Spelling.h"

namespace Velmora::Cli {

std::string lipschitzOfTheFunction() { return printed("%g", Lab::FromFunctionMargin) + "·L of the function"; }

std::string curveName(const BatchOptions& options, MethodId method, const std::string& problemLipschitz) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  std::string name(info.key);
  switch (info.param) {
    case Lab::ParamMeaning::None: break;
    case Lab::ParamMeaning::LipschitzEstimate:
      name += ", ";
      name += options.params.count(method) ? "L = " + shortest(options.params.at(method)) : problemLipschitz;
      break;
    case Lab::ParamMeaning::Multiplier: name += ", r = " + shortest(options.paramFor(method, 0)); break;
    case Lab::ParamMeaning::Population:
      if (options.params.count(method)) name += ", population " + shortest(options.params.at(method));
      break;
  }
  return name;
}

OperationalCurve operationalZoneCurve(std::string name, std::span<const std::vector<std::optional<int>>> firstHitsBySeed,
                                      int lastK) {
  OperationalCurve curve{std::move(name), {}, {}, {}, {}};
  for (const Lab::ZonePoint& point : Lab::operationalZone(firstHitsBySeed, lastK)) {
    curve.k.push_back(point.k);
    curve.share.push_back(point.mean);
    curve.low.push_back(point.low);
    curve.high.push_back(point.high);
  }
  return curve;
}

OperationalCurve operationalCurve(std::string name, std::span<const std::optional<int>> firstHits, int lastK) {
  OperationalCurve curve{std::move(name), {}, {}, {}, {}};
  for (const Lab::SharePoint& point : Lab::operationalCharacteristic(firstHits, lastK)) {
    curve.k.push_back(point.k);
    curve.share.push_back(point.share);
  }
  return curve;
}

}  // namespace Velmora::Cli
