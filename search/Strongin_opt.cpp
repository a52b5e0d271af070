#include "Strongin_opt.h"

#include <bit>
#include <cstdint>
#include <utility>

#include "Rules.h"

namespace VELMORAALG {

using Velmora::Extended;
using Velmora::mul;
using Velmora::sub;

TStronginOpt::TStronginOpt(TOptFunc func) : TCharactOpt(std::move(func)) { KeepSlopes(); }

void TStronginOpt::SetMultiplier(double value) { Multiplier = value; }

double TStronginOpt::GetMultiplier() const { return Multiplier; }

double TStronginOpt::EstimateLipschitz() const { return MaxSlope(); }

double TStronginOpt::LipConst() const { return lipConst_; }

Extended TStronginOpt::Characteristic(TTrialPoint& left, TTrialPoint& right) {
  const double fl = Value(left);
  const double fr = Value(right);
  return InformationCharacteristic(sub(right.X, left.X), fl, fr, lipConst_);
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
