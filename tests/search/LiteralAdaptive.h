// The adaptive-estimate search as its rules read: plain arrays, every slope,
// estimate and characteristic computed anew from all trials after each one,
// the whole list walked for each choice. Slow, and the reference the fast
// engine must match bit for bit.
#pragma once

#include <utility>
#include <vector>

#include "AdaptiveLipschitzSearch.h"
#include "Extended.h"

namespace VelmoraLiteral {

class LiteralAdaptive {
 public:
  using Characteristic = VELMORAALG::AdaptiveLipschitzSearch::Characteristic;
  using Estimate = VELMORAALG::AdaptiveLipschitzSearch::Estimate;

  LiteralAdaptive(VELMORAALG::TOptFunc func, Characteristic characteristic, Estimate estimate, double r,
                  VELMORAALG::LocalImprovement::Mode localImprovement = VELMORAALG::LocalImprovement::Mode::Off)
      : func_(std::move(func)), characteristic_(characteristic), estimate_(estimate), r_(r),
        localImprovement_(localImprovement) {}

  void SetStepObserver(VELMORAALG::TStepObserver observer) { observer_ = std::move(observer); }
  void RequestStop() { stopRequested_ = true; }

  void SearchBySteps(double xmin, double xmax, int steps);
  void SearchByPrecision(double xmin, double xmax, double eps, int maxSteps);
  void SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps);

  VELMORAALG::StopReason GetStopReason() const { return end_; }
  double GetPrecision() const { return precision_; }
  int GetStepCount() const { return steps_; }
  double GetBestX() const { return bestX_; }
  double GetBestValue() const { return bestZ_; }
  std::vector<VELMORAALG::TSearchInfo> GetTrials() const;
  std::vector<double> GetIntervalConstants() const { return estimateOf_; }

 private:
  void Start(double xmin, double xmax);
  void Recompute();
  int Choose();  ///< index of the interval's left trial; -1 when none can win
  bool Place(int t);

  VELMORAALG::TOptFunc func_;
  Characteristic characteristic_;
  Estimate estimate_;
  double r_;
  VELMORAALG::LocalImprovement localImprovement_;
  VELMORAALG::TStepObserver observer_;
  bool stopRequested_ = false;

  std::vector<double> x_, z_;
  std::vector<int> placed_;
  std::vector<double> slope_, estimateOf_, charact_;  ///< per interval, by its left trial

  VELMORAALG::StopReason end_ = VELMORAALG::StopReason::StepsDone;
  int steps_ = 0;
  double bestX_ = 0, bestZ_ = 0, precision_ = 0;
};

}  // namespace VelmoraLiteral
