// Sequential scanning: always halves the longest interval.
#pragma once

#include "Charact_opt.h"

namespace VELMORAALG {

class TScanOpt : public TCharactOpt {
 public:
  explicit TScanOpt(TOptFunc func);

  // The interval's length, so the longest wins; the values and the constant
  // take no part.
  static Velmora::Extended IntervalCharacteristic(double leftX, double leftZ, double rightX, double rightZ,
                                                  double constant);

 protected:
  Velmora::Extended Characteristic(TTrialPoint& left, TTrialPoint& right) override;
  // The midpoint.
  Velmora::Extended NewPoint(int t) override;
};

}  // namespace VELMORAALG
