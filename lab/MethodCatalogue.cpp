#include "MethodCatalogue.h"

#include <array>
#include <cmath>

#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

namespace Velmora::Lab {

namespace {

using VELMORAALG::AdaptiveLipschitzSearch;
using VELMORAALG::TCharactOpt;
using VELMORAALG::TOptFunc;
using Characteristic = AdaptiveLipschitzSearch::Characteristic;
using Estimate = AdaptiveLipschitzSearch::Estimate;

bool anyValue(double) { return true; }
bool aboveOne(double value) { return value > 1; }
// An infinite r would make every characteristic infinite and every choice a tie.
bool finiteAboveZero(double value) { return value > 0 && std::isfinite(value); }

double noParam(double) { return 0; }
double lipschitzUsed(double value) { return value > 0 ? value : 1.0; }
double multiplierUsed(double value) { return value > 1 ? value : DefaultMethodParam; }
double reliabilityUsed(double value) {
  return finiteAboveZero(value) ? value : AdaptiveLipschitzSearch::DefaultReliability;
}

template <class Method>
std::unique_ptr<TCharactOpt> make(TOptFunc objective) {
  return std::make_unique<Method>(std::move(objective));
}

void applyNothing(TCharactOpt&, double) {}
void applyLipschitz(TCharactOpt& method, double value) {
  dynamic_cast<VELMORAALG::TPiyavskyOpt&>(method).SetLipschitz(value);
}
void applyMultiplier(TCharactOpt& method, double value) {
  dynamic_cast<VELMORAALG::TStronginOpt&>(method).SetMultiplier(value);
}

template <Characteristic characteristic, Estimate estimate>
std::unique_ptr<AdaptiveLipschitzSearch> makeAdaptive(TOptFunc objective, double entered) {
  auto method = std::make_unique<AdaptiveLipschitzSearch>(std::move(objective), characteristic, estimate);
  method->SetReliability(reliabilityUsed(entered));
  return method;
}

constexpr MethodInfo variant(MethodId id, std::string_view key, std::string_view englishName,
                             std::unique_ptr<AdaptiveLipschitzSearch> (*maker)(TOptFunc, double)) {
  return {id,
          key,
          "",
          englishName,
          ParamMeaning::Multiplier,
          "",
          AdaptiveLipschitzSearch::DefaultReliability,
          finiteAboveZero,
          "greater than 0",
          reliabilityUsed,
          MethodFamily::AdaptiveEstimate,
          nullptr,
          nullptr,
          maker,
          nullptr,
          false};
}

bool wholeOrZero(double value) { return value >= 0 && value == std::floor(value) && value <= 1e6; }
double populationUsed(double value) { return wholeOrZero(value) ? value : 0; }

template <VELMORAALG::NloptSearch::Algorithm algorithm>
std::unique_ptr<VELMORAALG::NloptSearch> makePeer(TOptFunc objective, double entered, std::uint64_t seed) {
  auto method = std::make_unique<VELMORAALG::NloptSearch>(std::move(objective), algorithm);
  method->SetParameter(populationUsed(entered));
  method->SetSeed(seed);
  return method;
}

template <VELMORAALG::NloptSearch::Algorithm algorithm>
constexpr MethodInfo peer(MethodId id, std::string_view key, std::string_view englishName) {
  constexpr bool stochastic = VELMORAALG::NloptSearch::Stochastic(algorithm);
  return {id,
          key,
          "",
          englishName,
          stochastic ? ParamMeaning::Population : ParamMeaning::None,
          "",
          0,
          stochastic ? wholeOrZero : anyValue,
          stochastic ? "a whole number from 0 (NLopt's default) to 1000000" : "",
          stochastic ? populationUsed : noParam,
          MethodFamily::Peer,
          nullptr,
          nullptr,
          nullptr,
          nullptr,
          false,
          makePeer<algorithm>,
          stochastic};
}

using Nlopt = VELMORAALG::NloptSearch::Algorithm;

constexpr std::size_t WindowMethodCount = 3;

const std::array<MethodInfo, 18> Catalogue{{
    {MethodId::Scan, "scan", "Метод последовательного сканирования;", "sequential scanning", ParamMeaning::None,
     "", 0, anyValue, "", noParam, MethodFamily::CharacteristicScheme, make<VELMORAALG::TScanOpt>, applyNothing,
     nullptr, VELMORAALG::TScanOpt::IntervalCharacteristic, false},
    {MethodId::Piyavsky, "piyavsky", "Метод ломаных (Пиявского);", "broken lines (Piyavsky)",
     ParamMeaning::LipschitzEstimate, "Оценка Константы Липщица:------------>", DefaultMethodParam, anyValue, "",
     lipschitzUsed, MethodFamily::CharacteristicScheme, make<VELMORAALG::TPiyavskyOpt>, applyLipschitz, nullptr,
     VELMORAALG::TPiyavskyOpt::IntervalCharacteristic, true},
    {MethodId::Strongin, "strongin", "Инф.-статистический  метод (Стронгина);",
     "information-statistical (Strongin)", ParamMeaning::Multiplier, "Множитель Константы Липщица:------>",
     DefaultMethodParam, aboveOne, "greater than 1", multiplierUsed, MethodFamily::CharacteristicScheme,
     make<VELMORAALG::TStronginOpt>, applyMultiplier, nullptr, VELMORAALG::TStronginOpt::IntervalCharacteristic,
     true},
    variant(MethodId::GeomGl, "geom-gl", "geometric, global estimate",
            makeAdaptive<Characteristic::Geometric, Estimate::Global>),
    variant(MethodId::GeomLtm, "geom-ltm", "geometric, maximum local tuning",
            makeAdaptive<Characteristic::Geometric, Estimate::LocalMax>),
    variant(MethodId::GeomLta, "geom-lta", "geometric, additive local tuning",
            makeAdaptive<Characteristic::Geometric, Estimate::LocalAdditive>),
    variant(MethodId::GeomLtma, "geom-ltma", "geometric, maximum-additive local tuning",
            makeAdaptive<Characteristic::Geometric, Estimate::LocalMaxAdditive>),
    variant(MethodId::InfGl, "inf-gl", "information, global estimate",
            makeAdaptive<Characteristic::Information, Estimate::Global>),
    variant(MethodId::InfLtm, "inf-ltm", "information, maximum local tuning",
            makeAdaptive<Characteristic::Information, Estimate::LocalMax>),
    variant(MethodId::InfLta, "inf-lta", "information, additive local tuning",
            makeAdaptive<Characteristic::Information, Estimate::LocalAdditive>),
    variant(MethodId::InfLtma, "inf-ltma", "information, maximum-additive local tuning",
            makeAdaptive<Characteristic::Information, Estimate::LocalMaxAdditive>),
    peer<Nlopt::Direct>(MethodId::NloptDirect, "nlopt-direct", "NLopt's DIRECT (Jones et al. 1993)"),
    peer<Nlopt::DirectL>(MethodId::NloptDirectL, "nlopt-direct-l", "NLopt's DIRECT-L (Gablonsky and Kelley 2001)"),
    peer<Nlopt::Ags>(MethodId::NloptAgs, "nlopt-ags", "NLopt's AGS (Sergeyev, Strongin and Lera 2013)"),
    peer<Nlopt::Crs2>(MethodId::NloptCrs2, "nlopt-crs2", "NLopt's CRS2 with local mutation (Kaelo and Ali 2006)"),
    peer<Nlopt::Esch>(MethodId::NloptEsch, "nlopt-esch", "NLopt's ESCH evolutionary strategy (da Silva Santos et al. 2010)"),
    peer<Nlopt::Isres>(MethodId::NloptIsres, "nlopt-isres", "NLopt's ISRES (Runarsson and Yao 2005)"),
    peer<Nlopt::Mlsl>(MethodId::NloptMlsl, "nlopt-mlsl",
                      "NLopt's MLSL, low-discrepancy, with BOBYQA (Kan and Timmer 1987)"),
}};

}  // namespace

std::span<const MethodInfo> windowMethods() { return std::span(Catalogue).first(WindowMethodCount); }

std::span<const MethodInfo> allMethods() { return Catalogue; }

const MethodInfo& methodInfo(MethodId id) {
  for (const MethodInfo& info : Catalogue)
    if (info.id == id) return info;
  return Catalogue.front();
}

const MethodInfo* findMethod(std::string_view key) {
  for (const MethodInfo& info : Catalogue)
    if (info.key == key) return &info;
  return nullptr;
}

}  // namespace Velmora::Lab
