#include "Piyavsky_opt.h"

#include <utility>

namespace VELMORAALG {

using Velmora::add;
using Velmora::Extended;
using Velmora::mul;
using Velmora::sub;

TPiyavskyOpt::TPiyavskyOpt(TOptFunc func) : TCharactOpt(std::move(func)) {}

void TPiyavskyOpt::SetLipschitz(double value) { Lipschitz = value > 0 ? value : 1.0; }

double TPiyavskyOpt::GetLipschitz() const { return Lipschitz; }

Extended TPiyavskyOpt::IntervalCharacteristic(double leftX, double leftZ, double rightX, double rightZ,
                                              double lipschitz) {
  // Each operand on its own line: the first fault raised depends on the order.
  const Extended reach = mul(mul(sub(rightX, leftX), lipschitz), 0.5L);
  const Extended mean = mul(add(rightZ, leftZ), 0.5L);
  return sub(reach, mean);
}

Extended TPiyavskyOpt::Characteristic(TTrialPoint& left, TTrialPoint& right) {
  const double fl = Value(left);
  const double fr = Value(right);
  return IntervalCharacteristic(left.X, fl, right.X, fr, Lipschitz);
}

Extended TPiyavskyOpt::NewPoint(int t) {
  return MeetingPoint(t, Lipschitz);
}

}  // namespace VELMORAALG
