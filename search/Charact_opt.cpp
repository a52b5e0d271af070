#include "Charact_opt.h"

#include <cmath>
#include <limits>
#include <utility>

#include "Rules.h"

namespace VELMORAALG {

using Velmora::Extended;

TCharactOpt::TCharactOpt(TOptFunc func) : Func(std::move(func)) {}

TCharactOpt::~TCharactOpt() = default;

double TCharactOpt::Value(TTrialPoint& p) {
  if (!p.Known) {
    p.Z = Func(p.X);
    p.Known = true;
  }
  return p.Z;
}

void TCharactOpt::CharacteristicsChanged() { refreshAll_ = true; }

void TCharactOpt::KeepSlopes() { keepSlopes_ = true; }

double TCharactOpt::MaxSlope() const { return tree_.MaxSlope(); }

void TCharactOpt::Start(double xmin, double xmax) {
  TTrialPoint first{xmin};
  TTrialPoint last{xmax};
  const double r0 = Velmora::toDouble(Characteristic(first, last));

  tree_.Reset(keepSlopes_);
  refreshAll_ = false;
  refreshCount_ = 0;
  chosenValid_ = false;

  const TrialTree::Id a = tree_.NewNode(xmin);
  const TrialTree::Id b = tree_.NewNode(xmax);
  tree_[a].Point = first;
  tree_[a].Charact = r0;
  tree_[b].Point = last;
  tree_.Start(a, b);

  // After the list is made: a fault of F here leaves both ends as trials.
  const double z1 = Value(tree_[a].Point);
  const double z2 = Value(tree_[b].Point);
  if (IsLower(z2, z1)) {
    bestX_ = xmax;
    bestZ_ = z2;
  } else {
    bestX_ = xmin;
    bestZ_ = z1;
  }
}

int TCharactOpt::BestInterval() {
  if (!chosenValid_) {
    chosen_ = tree_.Choose();
    chosenValid_ = true;
  }
  return chosen_.Rank;
}

TTrialPoint& TCharactOpt::TrialAt(int t) {
  if (chosenValid_ && t == chosen_.Rank) return tree_[chosen_.Left].Point;
  if (chosenValid_ && t == chosen_.Rank + 1) return tree_[chosen_.Right].Point;
  return tree_[tree_.NodeAt(t)].Point;
}

int TCharactOpt::TrialCount() const { return tree_.Size(); }

Extended TCharactOpt::MeetingPoint(int t, double slope) {
  TTrialPoint& a = TrialAt(t);
  TTrialPoint& b = TrialAt(t + 1);
  const double fa = Value(a);
  const double fb = Value(b);
  return VELMORAALG::MeetingPoint(a.X, fa, b.X, fb, slope);
}

bool TCharactOpt::Choose() {
  BestInterval();
  return true;
}

Extended TCharactOpt::ChosenLength() {
  const int t = BestInterval();
  return Velmora::fabs(static_cast<Extended>(TrialAt(t + 1).X) - static_cast<Extended>(TrialAt(t).X));
}

// Piyavsky's point may land beyond its interval, as the rules allow; one on
// an end splits nothing, and would only make a zero-length interval that the
// information characteristic divides by.
std::optional<StopReason> TCharactOpt::Place(TStepRecord& record) {
  const int t = BestInterval();
  const TrialTree::Id left = chosen_.Left;
  const TrialTree::Id right = chosen_.Right;
  const double chosenCharact = tree_[left].Charact;
  const double x = Velmora::toDouble(NewPoint(t));
  if (LandsOnAnEnd(tree_[left].Point.X, tree_[right].Point.X, x)) return StopReason::IntervalUnsplittable;
  const TrialTree::Id fresh = tree_.NewNode(0.0);
  tree_[fresh].Point.X = x;

  if (refreshAll_) {
    refreshAll_ = false;
    ++refreshCount_;
    StepAllRefreshed(t, fresh, x);
  } else {
    // Every other characteristic would come out as it is stored: same
    // constants, same ends, same values.
    Split(t, left, right, fresh, x);
  }

  const double z = Value(tree_[fresh].Point);
  if (TakesBestPlace(z, bestZ_)) {
    bestX_ = x;
    bestZ_ = z;
  }
  record = {0, t, tree_[left].Point.X, tree_[right].Point.X, chosenCharact, StepConstant(), x, z, precision_};
  return std::nullopt;
}

// The new record goes between left and right, records t and t + 1, and both
// halves of the interval get their characteristics.
void TCharactOpt::Split(int t, TrialTree::Id left, TrialTree::Id right, TrialTree::Id fresh, double x) {
  precision_ = Velmora::toDouble(Velmora::sub(tree_[right].Point.X, x));
  const double cRight = Velmora::toDouble(Characteristic(tree_[fresh].Point, tree_[right].Point));
  const double cLeft = Velmora::toDouble(Characteristic(tree_[left].Point, tree_[fresh].Point));
  tree_[fresh].Charact = cRight;
  chosenValid_ = false;
  tree_.InsertAfter(t, left, right, fresh, cLeft);
}

// The full walk in list order, so that a fault stops it where the rules
// would stop, with the same records refreshed.
void TCharactOpt::StepAllRefreshed(int t, TrialTree::Id fresh, double x) {
  chosenValid_ = false;
  tree_.InOrder(scratch_);
  const auto n = static_cast<int>(scratch_.size());
  for (int i = 0; i + 1 < n; ++i) {
    const TrialTree::Id left = scratch_[i];
    const TrialTree::Id right = scratch_[i + 1];
    tree_[left].Charact = Velmora::toDouble(Characteristic(tree_[left].Point, tree_[right].Point));
    if (i + 1 == t) Split(t, left, right, fresh, x);
  }
  tree_.RebuildAggregates();
}

int TCharactOpt::GetRefreshCount() const { return refreshCount_; }

std::vector<double> TCharactOpt::GetIntervalConstants() const {
  const int intervals = tree_.Size() - 1;
  if (StepConstant() == 0 || intervals < 1) return {};
  return std::vector<double>(static_cast<std::size_t>(intervals), StepConstant());
}

// Records are made in the order the trials are placed, the ends first.
std::vector<TSearchInfo> TCharactOpt::GetTrials() const {
  std::vector<TrialTree::Id> order;
  tree_.InOrder(order);
  std::vector<TSearchInfo> trials;
  trials.reserve(order.size());
  for (const TrialTree::Id v : order) {
    const TTrialPoint& p = tree_[v].Point;
    trials.push_back({p.X, p.Known ? p.Z : std::numeric_limits<double>::quiet_NaN(), tree_[v].Charact, v});
  }
  return trials;
}

}  // namespace VELMORAALG
