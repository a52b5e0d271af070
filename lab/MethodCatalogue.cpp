#include "MethodCatalogue.h"

#include <array>

#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

namespace Velmora::Lab {

namespace {

using VELMORAALG::TCharactOpt;
using VELMORAALG::TOptFunc;

bool anyValue(double) { return true; }
bool aboveOne(double value) { return value > 1; }

double noParam(double) { return 0; }
double lipschitzUsed(double value) { return value > 0 ? value : 1.0; }
double multiplierUsed(double value) { return value > 1 ? value : DefaultMethodParam; }

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

const std::array<MethodInfo, 3> Catalogue{{
    {MethodId::Scan, "scan", "Метод последовательного сканирования;", "sequential scanning", ParamMeaning::None,
     "", 0, anyValue, noParam, make<VELMORAALG::TScanOpt>, applyNothing,
     VELMORAALG::TScanOpt::IntervalCharacteristic, false},
    {MethodId::Piyavsky, "piyavsky", "Метод ломаных (Пиявского);", "broken lines (Piyavsky)",
     ParamMeaning::LipschitzEstimate, "Оценка Константы Липщица:------------>", DefaultMethodParam, anyValue,
     lipschitzUsed, make<VELMORAALG::TPiyavskyOpt>, applyLipschitz, VELMORAALG::TPiyavskyOpt::IntervalCharacteristic,
     true},
    {MethodId::Strongin, "strongin", "Инф.-статистический  метод (Стронгина);",
     "information-statistical (Strongin)", ParamMeaning::Multiplier, "Множитель Константы Липщица:------>",
     DefaultMethodParam, aboveOne, multiplierUsed, make<VELMORAALG::TStronginOpt>, applyMultiplier,
     VELMORAALG::TStronginOpt::IntervalCharacteristic, true},
}};

}  // namespace

std::span<const MethodInfo> windowMethods() { return Catalogue; }

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
