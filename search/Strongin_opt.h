// Strongin's information-statistical method: the Lipschitz constant is
// estimated from the trials (their largest slope M) and used as m = r * M.
#pragma once

#include "Charact_opt.h"

namespace VELMORAALG {

class TStronginOpt : public TCharactOpt {
 public:
  explicit TStronginOpt(TOptFunc func);

  // r as the catalogue made it (greater than 1).
  void SetMultiplier(double value);
  double GetMultiplier() const;
  // M: the largest |F(p) - F(q)| / (p - q) over neighbouring trials, 0 when
  // none is positive. Coinciding neighbours raise the division fault.
  double EstimateLipschitz() const;
  // The working constant m, refreshed by every step; 1.0 before the first.
  double LipConst() const;
  // r.
  void SetParameter(double value) override { SetMultiplier(value); }
  double CarriedConstant() const override { return lipConst_; }
  void SetCarriedConstant(double value) override { lipConst_ = value; }

 protected:
  // (dF)^2 / (d m) + d m - 2 (F(r) + F(l)) with d = r - l and m the working constant.
  Velmora::Extended Characteristic(TTrialPoint& left, TTrialPoint& right) override;
  // Refreshes m from the trials as they stand, then places the point.
  Velmora::Extended NewPoint(int t) override;
  double StepConstant() const override { return lipConst_; }

 private:
  double Multiplier = 1.5;
  double lipConst_ = 1.0;
};

}  // namespace VELMORAALG
