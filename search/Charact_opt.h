// The characteristic scheme of global search on an interval: trials kept in
// interval order; each step splits the interval of largest characteristic at
// the point the method chooses.
//
// The rules are those of a plain list walked in full at every step, with F
// evaluated whenever a rule needs a value. This implementation gives the same
// results bit for bit but keeps every trial's value and finds the interval to
// split in logarithmic time: the trials live in a balanced tree ordered as the
// list is, each subtree knowing its interval of largest characteristic.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Extended.h"
#include "SearchEngine.h"

namespace VELMORAALG {

// A trial point as the rules see it: its value is asked for through
// TCharactOpt::Value, which evaluates F the first time only.
struct TTrialPoint {
  double X = 0.0;
  double Z = 0.0;
  bool Known = false;
};

class TCharactOpt {
 public:
  // A precision run stops after this many steps even when eps is not reached.
  static constexpr int MaxPrecisionSteps = 100000;

  explicit TCharactOpt(TOptFunc func);
  virtual ~TCharactOpt();
  TCharactOpt(const TCharactOpt&) = delete;
  TCharactOpt& operator=(const TCharactOpt&) = delete;

  // Called once after each completed step of every later run; an empty
  // observer costs nothing. A step that faults is not reported.
  void SetStepObserver(TStepObserver observer);
  // Ends the running run after the step in progress, as if its stop rule had
  // been met; an observer calls it to stop at a condition of its own.
  void RequestStop();

  double SearchBySteps(double xmin, double xmax, int steps);
  // Stops after the first step whose Precision is <= eps, or after maxSteps steps.
  double SearchByPrecision(double xmin, double xmax, double eps, int maxSteps = MaxPrecisionSteps);
  // Stops before a step when the interval it would split is no longer than eps
  // (its absolute length, measured exactly), or after maxSteps steps.
  double SearchByIntervalLength(double xmin, double xmax, double eps,
                                int maxSteps = MaxPrecisionSteps);

  double GetPrecision() const;
  int GetStepCount() const;
  std::vector<TSearchInfo> GetTrials() const;  ///< a copy, in list order
  // For each trial in list order, its number in the order of placing: the two
  // ends are 1 and 2, the point of step k is k + 2.
  std::vector<int> GetTrialOrder() const;
  // F at each trial, in list order; NaN for a trial whose value a failed run never reached.
  std::vector<double> GetTrialValues() const;
  double GetBestX() const;      ///< the result of the last run, also after a fault
  double GetBestValue() const;  ///< F at GetBestX()
  bool PrecisionBoundHit() const;  ///< the last precision or interval-length run stopped at the step bound
  // Steps of the last run whose method constants changed, so that every
  // characteristic was computed anew (Strongin's constant); 0 for the others.
  int GetRefreshCount() const;

  // Where the lines of slopes slope and -slope through the two ends meet: the
  // new point of the broken-line methods, and the vertex a replay draws.
  static Velmora::Extended MeetingPoint(double leftX, double leftZ, double rightX, double rightZ, double slope);

 protected:
  void Init(double xmin, double xmax);
  void Step();
  // Number of the interval to split, from 1 in list order.
  int BestInterval();

  // The characteristic of the interval from left to right; evaluates F through Value.
  virtual Velmora::Extended Characteristic(TTrialPoint& left, TTrialPoint& right) = 0;
  // The new trial point in interval t, between TrialAt(t) and TrialAt(t + 1).
  virtual Velmora::Extended NewPoint(int t) = 0;
  // The method's constant as the step just made used it; 0 when it has none.
  virtual double StepConstant() const { return 0.0; }

  // F at the point, evaluated on first need and kept with the trial.
  double Value(TTrialPoint& p);
  // Record t of the list, from 1; valid until the list changes.
  TTrialPoint& TrialAt(int t);
  int TrialCount() const;
  // The meeting point of interval t; F is asked for at its left end first.
  Velmora::Extended MeetingPoint(int t, double slope);
  // A method whose constants changed calls this from NewPoint: the step then
  // recomputes every characteristic in list order, as the rules do.
  void CharacteristicsChanged();

  // A method that needs the largest slope |F(p) - F(q)| / (p - q) over the
  // current intervals asks for it here (the constructor sets it); the scheme
  // then keeps each interval's slope. The method's characteristic must have
  // asked for F at both ends of every interval it is given.
  void KeepSlopes();
  // The largest slope over the current intervals, 0 when none is positive.
  // Raises the fault that forming the slopes in list order would raise first.
  double MaxSlope() const;

 private:
  // One record of the list and the aggregates of its subtree (64 bytes).
  struct Node {
    TTrialPoint Point;
    double Charact = 0.0;
    double BestCharact = 0.0;  ///< the characteristic of Best
    std::int32_t Left = 0, Right = 0, Size = 0;
    std::int32_t Best = 0;  ///< the subtree's interval of largest characteristic; 0 when none
    std::uint32_t Priority = 0;
    bool Last = false;  ///< the record of xmax, which begins no interval
  };
  // Kept apart so that methods without slopes do not carry them through the cache.
  struct SlopeInfo {
    double Slope = 0.0;
    double MaxSlope = 0.0;  ///< over the subtree's intervals; -inf when none
  };

  void Pull(std::int32_t v);
  std::int32_t Merge(std::int32_t a, std::int32_t b);
  void Split(std::int32_t v, int count, std::int32_t& a, std::int32_t& b);
  std::int32_t Insert(std::int32_t v, int rank, std::int32_t fresh);
  std::int32_t NodeAt(int t) const;
  std::int32_t NewNode(double x);
  void InOrder(std::vector<std::int32_t>& out) const;
  void RebuildAggregates(std::int32_t v);
  void SetSlope(std::int32_t left, std::int32_t right);
  void InsertAfter(int t, std::int32_t left, std::int32_t right, std::int32_t fresh, double leftCharact);
  void StepAllRefreshed(int t, std::int32_t fresh, double x);

  TOptFunc Func;
  std::vector<Node> nodes_;  ///< nodes_[0] is the empty tree
  std::int32_t root_ = 0;
  std::uint32_t seed_ = 0;
  bool refreshAll_ = false;
  bool keepSlopes_ = false;
  int pendingSlopeFault_ = -1;  ///< a Velmora::FaultKind, or -1
  bool boundHit_ = false;
  int refreshCount_ = 0;
  TStepObserver observer_;
  bool stopRequested_ = false;
  std::vector<SlopeInfo> slopes_;
  std::vector<std::int32_t> scratch_;
  // The interval BestInterval chose, with both its records, while the list is unchanged.
  bool chosenValid_ = false;
  int chosenRank_ = 0;
  std::int32_t chosenLeft_ = 0, chosenRight_ = 0;

  int StepCount = 0;
  double BestX = 0.0;
  double BestZ = 0.0;
  double Precision = 0.0;
};

}  // namespace VELMORAALG
