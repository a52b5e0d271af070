#include "Scan_opt.h"

#include <utility>

#include "Rules.h"

namespace VELMORAALG {

TScanOpt::TScanOpt(TOptFunc func) : TCharactOpt(std::move(func)) {}

// F is not asked for: scanning needs no values to choose.
Velmora::Extended TScanOpt::Characteristic(TTrialPoint& left, TTrialPoint& right) {
  return LengthCharacteristic(Velmora::sub(right.X, left.X), 0.0, 0.0, 0.0);
}

Velmora::Extended TScanOpt::NewPoint(int t) {
  const double a = TrialAt(t).X;
  const double b = TrialAt(t + 1).X;
  return Velmora::mul(Velmora::add(b, a), 0.5L);
}

}  // namespace VELMORAALG
