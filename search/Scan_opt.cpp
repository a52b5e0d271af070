#include "Scan_opt.h"

#include <utility>

namespace VELMORAALG {

TScanOpt::TScanOpt(TOptFunc func) : TCharactOpt(std::move(func)) {}

Velmora::Extended TScanOpt::IntervalCharacteristic(double leftX, double, double rightX, double, double) {
  return Velmora::sub(rightX, leftX);
}

// F is not asked for: scanning needs no values to choose.
Velmora::Extended TScanOpt::Characteristic(TTrialPoint& left, TTrialPoint& right) {
  return IntervalCharacteristic(left.X, 0.0, right.X, 0.0, 0.0);
}

Velmora::Extended TScanOpt::NewPoint(int t) {
  const double a = TrialAt(t).X;
  const double b = TrialAt(t + 1).X;
  return Velmora::mul(Velmora::add(b, a), 0.5L);
}

}  // namespace VELMORAALG
