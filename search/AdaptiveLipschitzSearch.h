// Global search with Lipschitz estimates that follow the trials, in the rhythm
// of the univariate literature: after every trial each interval's estimate
// l_i and characteristic R_i are computed anew from all trials, and only then
// is the next interval chosen. (The window's Strongin refreshes its constant
// one step later, which is why it is a scheme of its own.)
//
// Trials a = x_0 < ... < x_k = b with values z_i; for interval i,
// D_i = x_i - x_(i-1), H_i = |z_i - z_(i-1)| / D_i, H = max H_i, X = max D_i,
// lambda_i = max(H_(i-1), H_i, H_(i+1)) over the neighbours that exist and
// gamma_i = H * D_i / X. The estimate l_i is r * max(., Xi) of H (Global), of
// lambda_i and gamma_i (LocalMax), of (lambda_i + gamma_i)/2 (LocalAdditive)
// or of H_i and (lambda_i + gamma_i)/2 (LocalMaxAdditive). The characteristic
// is l_i D_i/2 - (z_i + z_(i-1))/2, the negated minimum of the broken line
// (Geometric), or l_i D_i + (z_i - z_(i-1))^2/(l_i D_i) - 2(z_i + z_(i-1))
// (Information). The largest wins, the leftmost on ties, and its interval t
// gets the point (x_(t-1) + x_t)/2 - (z_t - z_(t-1))/(2 l_t).
//
// Arithmetic is 80-bit with checked faults; H_i, l_i, R_i, the new point and
// the precision are rounded to doubles where they are stored; lengths stay at
// 80 bits. A NaN value of F makes the slopes and characteristics next to it
// NaN: a NaN enters no maximum and never wins.
//
// Each step costs O(sqrt n): the trials live in a list of blocks, each knowing
// its largest slope, its longest interval and its best characteristic, and
// the blocks are walked for H and X only when the split interval held one of
// them. Every estimate is recomputed only when H changes, or X for the
// estimates that read it; otherwise only the four intervals whose lambda or D
// the new trial changed. A characteristic is recomputed only where its
// interval or its estimate changed.
#pragma once

#include <limits>
#include <optional>
#include <vector>

#include "Charact_opt.h"
#include "Extended.h"

namespace VELMORAALG {

class AdaptiveLipschitzSearch {
 public:
  enum class Characteristic { Geometric, Information };
  enum class Estimate { Global, LocalMax, LocalAdditive, LocalMaxAdditive };

  enum class End {
    RuleMet,        ///< the run's stop rule (steps, precision or interval length)
    StepBound,      ///< a precision or interval-length run met its step bound first
    StopRequested,  ///< the step observer asked for the stop
    // The new point was not strictly inside its interval: an estimate below
    // the interval's own slope (LocalAdditive with a small r), or an interval
    // so short that no double lies inside it.
    PointLeftInterval,
    // Every interval has an end where F is NaN, so no characteristic is a number.
    NoComparableInterval,
  };

  // The floor of every estimate before the reliability multiplies it, so that
  // a constant F still gets a positive one.
  static constexpr double Xi = 1e-8;
  static constexpr double DefaultReliability = 2.0;
  static constexpr int MaxPrecisionSteps = TCharactOpt::MaxPrecisionSteps;

  AdaptiveLipschitzSearch(TOptFunc func, Characteristic characteristic, Estimate estimate);

  // r must be finite and greater than 0 (std::invalid_argument otherwise).
  void SetReliability(double r);
  double GetReliability() const;

  // As TCharactOpt's: the observer sees each completed step, with the l_t
  // used for the new point as the constant, and may end the run after it.
  void SetStepObserver(TStepObserver observer);
  void RequestStop();

  // Each run needs a finite interval with xmin < xmax (std::invalid_argument
  // otherwise). Faults of F and of the arithmetic end the run and pass on; a
  // new trial whose value F gave stays in the list when the arithmetic after
  // it faults, though its step is not counted. A step after which the
  // observer asks for the stop ends the run with StopRequested, whatever
  // else that step met.
  void SearchBySteps(double xmin, double xmax, int steps);
  // Stops after the first step whose precision is <= eps, or after maxSteps steps.
  void SearchByPrecision(double xmin, double xmax, double eps, int maxSteps = MaxPrecisionSteps);
  // Stops before a step when the interval it would split is no longer than eps.
  void SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps = MaxPrecisionSteps);

  End GetEnd() const;
  bool PrecisionBoundHit() const;
  double GetPrecision() const;  ///< right end of the last split interval minus its new point; 0 before a step
  int GetStepCount() const;
  double GetBestX() const;
  double GetBestValue() const;
  // Steps of the last run that recomputed every estimate (H or X changed).
  int GetRefreshCount() const;
  std::vector<TSearchInfo> GetTrials() const;  ///< in list order; the last trial's characteristic is 0
  // Each interval's estimate l_i in list order, one fewer than the trials.
  std::vector<double> GetEstimates() const;
  // F at each trial in list order; NaN for a trial whose value a failed run never reached.
  std::vector<double> GetTrialValues() const;
  // Each trial's number in the order of placing: the ends 1 and 2, step k's point k + 2.
  std::vector<int> GetTrialOrder() const;

 private:
  // A trial and the interval that begins at it (nothing for the last trial).
  struct Trial {
    double x = 0, z = 0;
    int placed = 0;
    Velmora::Extended length = 0;
    double slope = 0;
    double estimate = std::numeric_limits<double>::quiet_NaN();  ///< NaN until the interval is rated
    double charact = 0;
  };
  struct Block {
    std::vector<Trial> trials;
    int best = -1;  ///< the block's interval of largest characteristic; -1 when none is a number
    double bestCharact = 0;
    double maxSlope = 0;
    Velmora::Extended maxLength = 0;
  };
  struct Position {
    int block = 0, index = 0;
  };

  enum class Rule { Steps, Precision, IntervalLength };
  // The one loop of the three runs; limit is the step count for Steps and
  // the step bound for the others.
  void Run(double xmin, double xmax, Rule rule, double eps, int limit);
  void Start(double xmin, double xmax);
  std::optional<Position> Choose() const;
  // Places the point of the chosen interval; false when the run ends instead.
  bool Place(Position chosen);
  Position Insert(Position after, const Trial& trial);

  Trial& At(Position p);
  const Trial& At(Position p) const;
  bool IsLast(Position p) const;
  Position Next(Position p) const;
  Position Previous(Position p) const;
  int IntervalNumber(Position p) const;

  // Sets the length and the slope of the interval at p.
  void Measure(Position p);
  // Sets l and R of the interval from left to right, between intervals of the given slopes.
  void Rate(Trial& left, const Trial& right, double leftSlope, double rightSlope);
  void RateAt(Position p);
  void RateAll();
  int IntervalsIn(int block) const;
  // A block's largest slope and longest interval.
  void SummariseMeasures(int block);
  // A block's best characteristic.
  void ChooseInBlock(int block);
  // Blocks whose trials changed in this step; both kinds of summary catch up with them.
  void Mark(int block);
  void MeasureMarked();
  void ChooseInMarked();
  // H and X from the blocks.
  void ScanMaxima(double& slope, Velmora::Extended& length) const;
  // Keeps H and X; true when either changed in a way the estimates see.
  bool SetMaxima(double slope, Velmora::Extended length);

  TOptFunc func_;
  Characteristic characteristic_;
  Estimate estimate_;
  double reliability_ = DefaultReliability;
  TStepObserver observer_;
  bool stopRequested_ = false;

  std::vector<Block> blocks_;
  std::vector<int> marked_;
  int trialCount_ = 0;
  double maxSlope_ = 0;               ///< H
  Velmora::Extended maxLength_ = 0;   ///< X

  End end_ = End::RuleMet;
  int stepCount_ = 0;
  int refreshCount_ = 0;
  double bestX_ = 0, bestZ_ = 0;
  double precision_ = 0;
};

}  // namespace VELMORAALG
