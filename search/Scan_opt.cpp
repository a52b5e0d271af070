#include "Scan_opt.h"

#include <utility>

namespace VELMORAALG {

TScanOpt::TScanOpt(TOptFunc func) : TCharactOpt(std::move(func)) {}

Velmora::Extended TScanOpt::Characteristic(TTrialPoint& left, TTrialPoint& right) {
  return Velmora::sub(right.X, left.X);
}

Velmora::Extended TScanOpt::NewPoint(int t) {
  const double a = TrialAt(t).X;
  const double b = TrialAt(t + 1).X;
  return Velmora::mul(Velmora::add(b, a), 0.5L);
}

}  // namespace VELMORAALG
