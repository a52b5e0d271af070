// Piyavsky's broken lines: the interval whose lower bound, drawn with slopes
// +-L through its end values, reaches lowest is split where the two lines meet.
#pragma once

#include "Charact_opt.h"

namespace VELMORAALG {

class TPiyavskyOpt : public TCharactOpt {
 public:
  explicit TPiyavskyOpt(TOptFunc func);

  // L as the catalogue made it (positive).
  void SetLipschitz(double value);
  double GetLipschitz() const;
  // L.
  void SetParameter(double value) override { SetLipschitz(value); }

 protected:
  // The negated minimum of the broken line of slopes +-L over the interval.
  Velmora::Extended Characteristic(TTrialPoint& left, TTrialPoint& right) override;
  // Where the two lines meet; outside the interval when L is below the slope there.
  Velmora::Extended NewPoint(int t) override;
  double StepConstant() const override { return Lipschitz; }

 private:
  double Lipschitz = 1.0;
};

}  // namespace VELMORAALG
