#include "MethodCatalogue.h"

#include <cmath>

#include "AdaptiveLipschitzSearch.h"
#include "NumberText.h"
#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "SmoothMinorantSearch.h"
#include "Strongin_opt.h"
#if VELMORA_PEERS
#include "NloptSearch.h"
#endif

namespace Velmora::Lab {

namespace {

using VELMORAALG::AdaptiveLipschitzSearch;
using VELMORAALG::SearchEngine;
using VELMORAALG::TOptFunc;

bool anyValue(double) { return true; }
bool aboveOne(double value) { return value > 1; }
// An infinite r would make every characteristic infinite and every choice a tie.
bool finiteAboveZero(double value) { return value > 0 && std::isfinite(value); }

double noParam(double) { return 0; }
// An estimate that is not positive is 1.
double lipschitzUsed(double value) { return value > 0 ? value : 1.0; }
// A multiplier not above 1 is 1.5.
double multiplierUsed(double value) { return value > 1 ? value : DefaultMethodParam; }
// A refused r is the variant's default.
template <std::size_t Index>
double reliabilityUsed(double value) {
  return finiteAboveZero(value) ? value : VELMORAALG::AdaptiveVariants[Index].defaultReliability;
}

template <class Method>
std::unique_ptr<SearchEngine> make(TOptFunc objective) {
  return std::make_unique<Method>(std::move(objective));
}

template <std::size_t Index>
std::unique_ptr<SearchEngine> makeVariant(TOptFunc objective) {
  constexpr VELMORAALG::AdaptiveVariant variant = VELMORAALG::AdaptiveVariants[Index];
  return std::make_unique<AdaptiveLipschitzSearch>(std::move(objective), variant.characteristic, variant.estimate,
                                                   variant.localImprovement);
}

template <std::size_t Index>
constexpr MethodInfo variant(MethodId id, std::string_view englishName) {
  return {.id = id,
          .key = VELMORAALG::AdaptiveVariants[Index].key,
          .englishName = englishName,
          .make = makeVariant<Index>,
          .param = ParamMeaning::Multiplier,
          .paramNoun = "multiplier",
          .paramSymbol = "r",
          .defaultParam = VELMORAALG::AdaptiveVariants[Index].defaultReliability,
          .batchDefault = VELMORAALG::AdaptiveVariants[Index].defaultReliability,
          .acceptsParam = finiteAboveZero,
          .paramRule = "greater than 0",
          .effectiveParam = reliabilityUsed<Index>};
}

// The estimate L as given; a refused one is the window's default.
double lipschitzGivenUsed(double value) { return finiteAboveZero(value) ? value : DefaultMethodParam; }

// A variant whose estimate is L itself: in test sets and classes the problem's own.
template <std::size_t Index>
constexpr MethodInfo aPrioriVariant(MethodId id, std::string_view englishName) {
  static_assert(VELMORAALG::AdaptiveVariants[Index].estimate == AdaptiveLipschitzSearch::Estimate::APriori);
  return {.id = id,
          .key = VELMORAALG::AdaptiveVariants[Index].key,
          .englishName = englishName,
          .make = makeVariant<Index>,
          .param = ParamMeaning::LipschitzEstimate,
          .paramNoun = "Lipschitz estimate",
          .paramSymbol = "L",
          .defaultParam = DefaultMethodParam,
          .batchParamOfProblem = true,
          .acceptsParam = finiteAboveZero,
          .paramRule = "greater than 0",
          .effectiveParam = lipschitzGivenUsed};
}

bool finiteAboveOne(double value) { return value > 1 && std::isfinite(value); }
// A refused r is 2.
double smoothReliabilityUsed(double value) {
  return finiteAboveOne(value) ? value : VELMORAALG::SmoothMinorantSearch::DefaultReliability;
}

template <std::size_t Index>
std::unique_ptr<SearchEngine> makeSmooth(VELMORAALG::TSlopeFunc objective) {
  constexpr VELMORAALG::SmoothVariant variant = VELMORAALG::SmoothVariants[Index];
  return std::make_unique<VELMORAALG::SmoothMinorantSearch>(std::move(objective), variant.estimate,
                                                            variant.localImprovement);
}

template <std::size_t Index>
constexpr MethodInfo smooth(MethodId id, std::string_view englishName) {
  return {.id = id,
          .key = VELMORAALG::SmoothVariants[Index].key,
          .englishName = englishName,
          .makeWithSlope = makeSmooth<Index>,
          .param = ParamMeaning::Multiplier,
          .paramNoun = "multiplier",
          .paramSymbol = "r",
          .defaultParam = VELMORAALG::SmoothMinorantSearch::DefaultReliability,
          .batchDefault = BatchMultiplier,
          .acceptsParam = finiteAboveOne,
          .paramRule = "greater than 1",
          .effectiveParam = smoothReliabilityUsed};
}

// M given for every interval: the Lipschitz constant of f' is no problem's data.
template <std::size_t Index>
constexpr MethodInfo smoothAPriori(MethodId id, std::string_view englishName) {
  static_assert(VELMORAALG::SmoothVariants[Index].estimate == VELMORAALG::SmoothMinorantSearch::Estimate::APriori);
  return {.id = id,
          .key = VELMORAALG::SmoothVariants[Index].key,
          .englishName = englishName,
          .makeWithSlope = makeSmooth<Index>,
          .param = ParamMeaning::SlopeLipschitzEstimate,
          .paramNoun = "Lipschitz estimate of f'",
          .paramSymbol = "M",
          .defaultParam = DefaultMethodParam,
          .batchNeedsParam = true,
          .acceptsParam = finiteAboveZero,
          .paramRule = "greater than 0",
          .effectiveParam = lipschitzGivenUsed};
}

#if VELMORA_PEERS
bool wholeOrZero(double value) { return value >= 0 && value == std::floor(value) && value <= 1e6; }
double populationUsed(double value) { return wholeOrZero(value) ? value : 0; }

template <VELMORAALG::NloptSearch::Algorithm algorithm>
std::unique_ptr<SearchEngine> makePeer(TOptFunc objective) {
  return std::make_unique<VELMORAALG::NloptSearch>(std::move(objective), algorithm);
}

template <VELMORAALG::NloptSearch::Algorithm algorithm>
bool peerInstalled() {
  return VELMORAALG::NloptSearch::Installed(algorithm);
}

template <VELMORAALG::NloptSearch::Algorithm algorithm>
constexpr MethodInfo peer(MethodId id, std::string_view key, std::string_view englishName) {
  constexpr bool stochastic = VELMORAALG::NloptSearch::Stochastic(algorithm);
  return {.id = id,
          .key = key,
          .englishName = englishName,
          .make = makePeer<algorithm>,
          .param = stochastic ? ParamMeaning::Population : ParamMeaning::None,
          .paramNoun = stochastic ? "population" : "",
          .paramZeroWords = stochastic ? "NLopt's population" : "",
          .acceptsParam = stochastic ? wholeOrZero : anyValue,
          .paramRule = stochastic ? "a whole number from 0 (NLopt's default) to 1000000" : "",
          .effectiveParam = stochastic ? populationUsed : noParam,
          .stochastic = stochastic,
          .installed = peerInstalled<algorithm>};
}

using Nlopt = VELMORAALG::NloptSearch::Algorithm;
#endif

constexpr std::size_t WindowMethodCount = 3;

const MethodInfo Catalogue[] = {
    {.id = MethodId::Scan,
     .key = "scan",
     .englishName = "sequential scanning",
     .make = make<VELMORAALG::TScanOpt>,
     .acceptsParam = anyValue,
     .effectiveParam = noParam,
     .windowName = "Метод последовательного сканирования;",
     .characteristic = VELMORAALG::LengthCharacteristic},
    {.id = MethodId::Piyavsky,
     .key = "piyavsky",
     .englishName = "broken lines (Piyavsky)",
     .make = make<VELMORAALG::TPiyavskyOpt>,
     .param = ParamMeaning::LipschitzEstimate,
     .paramNoun = "Lipschitz estimate",
     .paramSymbol = "L",
     .defaultParam = DefaultMethodParam,
     .batchParamOfProblem = true,
     .acceptsParam = anyValue,
     .effectiveParam = lipschitzUsed,
     .windowName = "Метод ломаных (Пиявского);",
     .paramLabel = "Оценка Константы Липщица:------------>",
     .stepConstantLabel = "Ломаная с L = ",
     .characteristic = VELMORAALG::GeometricCharacteristic,
     .brokenLine = true},
    {.id = MethodId::Strongin,
     .key = "strongin",
     .englishName = "information-statistical (Strongin)",
     .make = make<VELMORAALG::TStronginOpt>,
     .param = ParamMeaning::Multiplier,
     .paramNoun = "multiplier",
     .paramSymbol = "r",
     .defaultParam = DefaultMethodParam,
     .batchDefault = BatchMultiplier,
     .acceptsParam = aboveOne,
     .paramRule = "greater than 1",
     .effectiveParam = multiplierUsed,
     .windowName = "Инф.-статистический  метод (Стронгина);",
     .paramLabel = "Множитель Константы Липщица:------>",
     .stepConstantLabel = "Оценка константы m = r·M = ",
     .characteristic = VELMORAALG::InformationCharacteristic,
     .brokenLine = true},
    variant<0>(MethodId::GeomGl, "geometric, global estimate"),
    variant<1>(MethodId::GeomLtm, "geometric, maximum local tuning"),
    variant<2>(MethodId::GeomLta, "geometric, additive local tuning"),
    variant<3>(MethodId::GeomLtma, "geometric, maximum-additive local tuning"),
    variant<4>(MethodId::InfGl, "information, global estimate"),
    variant<5>(MethodId::InfLtm, "information, maximum local tuning"),
    variant<6>(MethodId::InfLta, "information, additive local tuning"),
    variant<7>(MethodId::InfLtma, "information, maximum-additive local tuning"),
    variant<8>(MethodId::GeomLtimp, "geometric, maximum local tuning, pessimistic local improvement"),
    variant<9>(MethodId::GeomLtiap, "geometric, additive local tuning, pessimistic local improvement"),
    variant<10>(MethodId::GeomLtimap, "geometric, maximum-additive local tuning, pessimistic local improvement"),
    variant<11>(MethodId::GeomLtimo, "geometric, maximum local tuning, optimistic local improvement"),
    variant<12>(MethodId::GeomLtiao, "geometric, additive local tuning, optimistic local improvement"),
    variant<13>(MethodId::GeomLtimao, "geometric, maximum-additive local tuning, optimistic local improvement"),
    variant<14>(MethodId::InfLtimp, "information, maximum local tuning, pessimistic local improvement"),
    variant<15>(MethodId::InfLtiap, "information, additive local tuning, pessimistic local improvement"),
    variant<16>(MethodId::InfLtimap, "information, maximum-additive local tuning, pessimistic local improvement"),
    variant<17>(MethodId::InfLtimo, "information, maximum local tuning, optimistic local improvement"),
    variant<18>(MethodId::InfLtiao, "information, additive local tuning, optimistic local improvement"),
    variant<19>(MethodId::InfLtimao, "information, maximum-additive local tuning, optimistic local improvement"),
    aPrioriVariant<20>(MethodId::InfAl, "information, a given Lipschitz estimate"),
    smooth<0>(MethodId::DGl, "smooth minorant of f', global estimate"),
    smooth<1>(MethodId::DLt, "smooth minorant of f', local tuning"),
    smooth<2>(MethodId::DGlLi, "smooth minorant of f', global estimate, local improvement"),
    smooth<3>(MethodId::DLtLi, "smooth minorant of f', local tuning, local improvement"),
    smoothAPriori<4>(MethodId::DAl, "smooth minorant of f', a given Lipschitz estimate of f'"),
    smoothAPriori<5>(MethodId::DAlLi, "smooth minorant of f', a given Lipschitz estimate of f', local improvement"),
#if VELMORA_PEERS
    peer<Nlopt::Direct>(MethodId::NloptDirect, "nlopt-direct", "NLopt's DIRECT (Jones et al. 1993)"),
    peer<Nlopt::DirectL>(MethodId::NloptDirectL, "nlopt-direct-l", "NLopt's DIRECT-L (Gablonsky and Kelley 2001)"),
    peer<Nlopt::Ags>(MethodId::NloptAgs, "nlopt-ags", "NLopt's AGS (Sergeyev, Strongin and Lera 2013)"),
    peer<Nlopt::Crs2>(MethodId::NloptCrs2, "nlopt-crs2", "NLopt's CRS2 with local mutation (Kaelo and Ali 2006)"),
    peer<Nlopt::Esch>(MethodId::NloptEsch, "nlopt-esch", "NLopt's ESCH evolutionary strategy (da Silva Santos et al. 2010)"),
    peer<Nlopt::Isres>(MethodId::NloptIsres, "nlopt-isres", "NLopt's ISRES (Runarsson and Yao 2005)"),
    peer<Nlopt::Mlsl>(MethodId::NloptMlsl, "nlopt-mlsl",
                      "NLopt's MLSL, low-discrepancy, with BOBYQA (Kan and Timmer 1987)"),
#endif
};

}  // namespace

bool takesStop(const MethodInfo& method, StopKind kind) {
  return (method.makeWithSlope ? method.makeWithSlope({}) : method.make({}))->RuleRefusal(kind).empty();
}

std::span<const MethodInfo> windowMethods() { return std::span(Catalogue).first(WindowMethodCount); }

std::span<const MethodInfo> allMethods() { return Catalogue; }

bool isInstalled(const MethodInfo& method) { return !method.installed || method.installed(); }

const MethodInfo& methodInfo(MethodId id) {
  for (const MethodInfo& info : Catalogue)
    if (info.id == id) return info;
  return Catalogue[0];
}

const MethodInfo* findMethod(std::string_view key) {
  for (const MethodInfo& info : Catalogue)
    if (info.key == key) return &info;
  return nullptr;
}

double batchParam(MethodId id, double problemL) {
  const MethodInfo& method = methodInfo(id);
  return method.batchParamOfProblem ? problemL : method.batchDefault;
}

std::string paramName(const MethodInfo& method) {
  std::string name(method.paramNoun);
  if (!method.paramSymbol.empty()) name.append(" ").append(method.paramSymbol);
  return name;
}

std::string paramValueText(const MethodInfo& method, double value) {
  if (method.paramSymbol.empty()) return std::string(method.paramNoun) + " " + shortest(value);
  return std::string(method.paramSymbol) + " = " + shortest(value);
}

std::string paramInWords(const MethodInfo& method, double value) {
  if (value == 0 && !method.paramZeroWords.empty()) return std::string(method.paramZeroWords);
  if (method.paramSymbol.empty()) return paramValueText(method, value);
  return std::string(method.paramNoun) + " " + paramValueText(method, value);
}

std::string_view paramMeaningKey(ParamMeaning meaning) {
  switch (meaning) {
    case ParamMeaning::None: return "";
    case ParamMeaning::LipschitzEstimate: return "lipschitz";
    case ParamMeaning::SlopeLipschitzEstimate: return "lipschitz-of-derivative";
    case ParamMeaning::Multiplier: return "multiplier";
    case ParamMeaning::Population: return "population";
  }
  return "";
}

}  // namespace Velmora::Lab
