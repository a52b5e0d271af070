#include "Piyavsky_opt.h"

#include <utility>

#include "Rules.h"

namespace VELMORAALG {

TPiyavskyOpt::TPiyavskyOpt(TOptFunc func) : TCharactOpt(std::move(func)) {}

void TPiyavskyOpt::SetLipschitz(double value) { Lipschitz = value; }

double TPiyavskyOpt::GetLipschitz() const { return Lipschitz; }

Velmora::Extended TPiyavskyOpt::Characteristic(TTrialPoint& left, TTrialPoint& right) {
  const double fl = Value(left);
  const double fr = Value(right);
  return GeometricCharacteristic(Velmora::sub(right.X, left.X), fl, fr, Lipschitz);
}

Velmora::Extended TPiyavskyOpt::NewPoint(int t) { return MeetingPoint(t, Lipschitz); }

}  // namespace VELMORAALG
