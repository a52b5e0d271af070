// Sequential scanning: always halves the longest interval.
#pragma once

#include "Charact_opt.h"

namespace VELMORAALG {

class TScanOpt : public TCharactOpt {
 public:
  explicit TScanOpt(TOptFunc func);

  // Scanning takes no parameter.
  void SetParameter(double) override {}

 protected:
  // The interval's length, so the longest wins.
  Velmora::Extended Characteristic(TTrialPoint& left, TTrialPoint& right) override;
  // The midpoint.
  Velmora::Extended NewPoint(int t) override;
};

}  // namespace VELMORAALG
