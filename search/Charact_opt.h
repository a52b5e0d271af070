// The characteristic scheme of global search on an interval: trials kept in
// interval order; each step splits the interval of largest characteristic at
// the point the method chooses.
#pragma once

#include <functional>
#include <vector>

namespace VELMORAALG {

// F must return the same value for the same point every time.
using TOptFunc = std::function<double(double)>;

// One trial: the point and the characteristic of the interval that begins there.
struct TSearchInfo {
  double X;
  double Charact;
};

class TCharactOpt {
 public:
  // A precision run stops after this many steps even when eps is not reached.
  static constexpr int MaxPrecisionSteps = 100000;

  explicit TCharactOpt(TOptFunc func);
  virtual ~TCharactOpt();

  double SearchBySteps(double xmin, double xmax, int steps);
  double SearchByPrecision(double xmin, double xmax, double eps);

  double GetPrecision() const;
  int GetStepCount() const;
  std::vector<TSearchInfo> GetTrials() const;  ///< a copy, in list order
  bool PrecisionBoundHit() const;               ///< the last precision run stopped at the step bound
};

}  // namespace VELMORAALG
