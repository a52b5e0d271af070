#include "OperationalPicture.h"

#include <span>

#include "OperationalCharacteristic.h"
#include "Spelling.h"

namespace Velmora::Cli {

std::string lipschitzOfTheFunction() { return printed("%g", Lab::FromFunctionMargin) + "·L of the function"; }

std::string curveName(const BatchOptions& options, MethodId method, const std::string& problemLipschitz) {
  const Lab::MethodInfo& info = Lab::methodInfo(method);
  std::string name(info.key);
  if (info.param == Lab::ParamMeaning::None) return name;
  if (options.plan.params.count(method)) return name + ", " + Lab::paramValueText(info, options.plan.params.at(method));
  if (info.batchParamOfProblem) return name + ", " + problemLipschitz;
  // A default of 0 leaves the choice to the method (NLopt's population): nothing to name.
  if (info.batchDefault != 0) name += ", " + Lab::paramValueText(info, info.batchDefault);
  return name;
}

namespace {

OperationalCurve zoneCurve(std::string name, std::span<const std::vector<std::optional<int>>> firstHitsBySeed, int lastK) {
  OperationalCurve curve{std::move(name), {}, {}, {}, {}};
  for (const Lab::ZonePoint& point : Lab::operationalZone(firstHitsBySeed, lastK)) {
    curve.k.push_back(point.k);
    curve.share.push_back(point.mean);
    curve.low.push_back(point.low);
    curve.high.push_back(point.high);
  }
  return curve;
}

OperationalCurve shareCurve(std::string name, std::span<const std::optional<int>> firstHits, int lastK) {
  OperationalCurve curve{std::move(name), {}, {}, {}, {}};
  for (const Lab::SharePoint& point : Lab::operationalCharacteristic(firstHits, lastK)) {
    curve.k.push_back(point.k);
    curve.share.push_back(point.share);
  }
  return curve;
}

}  // namespace

OperationalCurve methodCurve(const BatchOptions& options, MethodId method, std::string name,
                             const FirstHitsOfSeed& firstHits, int lastK) {
  const std::vector<std::uint64_t> seeds = options.plan.seedsFor(method);
  if (!Lab::methodInfo(method).stochastic || seeds.size() < 2) return shareCurve(std::move(name), firstHits(std::nullopt), lastK);
  std::vector<std::vector<std::optional<int>>> bySeed;
  for (std::uint64_t seed : seeds) bySeed.push_back(firstHits(seed));
  return zoneCurve(name + ", " + std::to_string(seeds.size()) + " seeds", bySeed, lastK);
}

}  // namespace Velmora::Cli
