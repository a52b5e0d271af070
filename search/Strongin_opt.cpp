#include "Strongin_opt.h"

#include <bit>
#include <cstdint>
#include <utility>

namespace VELMORAALG {

using Velmora::add;
using Velmora::div;
using Velmora::Extended;
using Velmora::mul;
using Velmora::sub;

TStronginOpt::TStronginOpt(TOptFunc func) : TCharactOpt(std::move(func)) { KeepSlopes(); }

void TStronginOpt::SetMultiplier(double value) { Multiplier = value > 1 ? value : 1.5; }

double TStronginOpt::GetMultiplier() const { return Multiplier; }

double TStronginOpt::EstimateLipschitz() const { return MaxSlope(); }

double TStronginOpt::LipConst() const { return lipConst_; }

Extended TStronginOpt::IntervalCharacteristic(double leftX, double leftZ, double rightX, double rightZ, double m) {
  const Extended d = sub(rightX, leftX);
  const Extended diff = sub(rightZ, leftZ);
  // Each operand on its own line: the first fault raised depends on the order.
  const Extended dm = mul(d, m);
  const Extended quad = div(mul(diff, diff), dm);
  const Extended sum = add(quad, dm);
  const Extended ends = mul(add(rightZ, leftZ), 2.0L);
  return sub(sum, ends);
}

Extended TStronginOpt::Characteristic(TTrialPoint& left, TTrialPoint& right) {
  const double fl = Value(left);
  const double fr = Value(right);
  return IntervalCharacteristic(left.X, fl, right.X, fr, lipConst_);
}

Extended TStronginOpt::NewPoint(int t) {
  const double M = EstimateLipschitz();
  const double m = M > 0 ? Velmora::toDouble(mul(Multiplier, M)) : 1.0;
  // Stored characteristics were all computed with the old m; an equal m
  // (bit for bit) would give them again.
  if (std::bit_cast<std::uint64_t>(m) != std::bit_cast<std::uint64_t>(lipConst_)) {
    lipConst_ = m;
    CharacteristicsChanged();
  }
  return MeetingPoint(t, lipConst_);
}

}  // namespace VELMORAALG
