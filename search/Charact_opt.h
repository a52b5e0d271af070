// The characteristic scheme of global search on an interval: trials kept in
// interval order; each step splits the interval of largest characteristic at
// the point the method chooses.
//
// The rules are those of a plain list walked in full at every step, with F
// evaluated whenever a rule needs a value. This implementation gives the same
// results bit for bit but keeps every trial's value and finds the interval to
// split in logarithmic time, in a TrialTree.
#pragma once

#include <vector>

#include "Extended.h"
#include "SearchEngine.h"
#include "TrialTree.h"

namespace VELMORAALG {

class TCharactOpt : public SearchEngine {
 public:
  explicit TCharactOpt(TOptFunc func);
  ~TCharactOpt() override;

  std::vector<TSearchInfo> GetTrials() const override;
  // The step constant on every interval; empty for a method without one (scanning).
  std::vector<double> GetIntervalConstants() const override;
  // Steps of the last run whose method constants changed, so that every
  // characteristic was computed anew (Strongin's constant); 0 for the others.
  int GetRefreshCount() const override;

 protected:
  // The rules are written for any interval: a reversed one keeps its ends
  // in the order given, and an empty one is split at its one point.
  bool TakesAnyInterval() const override { return true; }
  void Start(double xmin, double xmax) override;
  bool Choose() override;
  Velmora::Extended ChosenLength() override;
  std::optional<StopReason> Place(TStepRecord& record) override;
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
  void Split(int t, TrialTree::Id left, TrialTree::Id right, TrialTree::Id fresh, double x);
  void StepAllRefreshed(int t, TrialTree::Id fresh, double x);

  TOptFunc Func;
  TrialTree tree_;
  bool refreshAll_ = false;
  bool keepSlopes_ = false;
  int refreshCount_ = 0;
  std::vector<TrialTree::Id> scratch_;
  // The interval BestInterval chose, with both its records, while the list is unchanged.
  bool chosenValid_ = false;
  TrialTree::Choice chosen_{};
};

}  // namespace VELMORAALG
