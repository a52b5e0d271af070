#include "Charact_opt.h"

#include <cmath>
#include <limits>
#include <utility>

namespace VELMORAALG {

using Velmora::Extended;

namespace {

// The tree's shape only affects speed; a fixed seed keeps runs' timings repeatable.
constexpr std::uint32_t PrioritySeed = 0x9E3779B9u;

// A NaN best point is no best at all: any number beats it.
bool IsBetter(double z, double best) { return z <= best || (std::isnan(best) && !std::isnan(z)); }

}  // namespace

TCharactOpt::TCharactOpt(TOptFunc func) : Func(std::move(func)) {
  nodes_.resize(1);
  nodes_[0].MaxSlope = -std::numeric_limits<double>::infinity();
}

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

double TCharactOpt::MaxSlope() const {
  if (pendingSlopeFault_ >= 0) Velmora::raiseFault(static_cast<Velmora::FaultKind>(pendingSlopeFault_));
  const double m = nodes_[root_].MaxSlope;
  return m > 0 ? m : 0.0;
}

// --- the tree -------------------------------------------------------------

void TCharactOpt::Pull(std::int32_t v) {
  Node& n = nodes_[v];
  const Node& l = nodes_[n.Left];
  const Node& r = nodes_[n.Right];
  n.Size = 1 + l.Size + r.Size;

  // The walk's rule: a later interval wins only with a strictly greater
  // characteristic, so a NaN never wins and ties go to the left.
  std::int32_t best = l.Best;
  if (!n.Last && !std::isnan(n.Charact) && (best == 0 || n.Charact > nodes_[best].Charact)) best = v;
  if (r.Best != 0 && (best == 0 || nodes_[r.Best].Charact > nodes_[best].Charact)) best = r.Best;
  n.Best = best;

  if (keepSlopes_) {
    double m = l.MaxSlope;
    if (!n.Last && n.Slope > m) m = n.Slope;
    if (r.MaxSlope > m) m = r.MaxSlope;
    n.MaxSlope = m;
  }
}

std::int32_t TCharactOpt::Merge(std::int32_t a, std::int32_t b) {
  if (a == 0) return b;
  if (b == 0) return a;
  if (nodes_[a].Priority > nodes_[b].Priority) {
    const std::int32_t right = Merge(nodes_[a].Right, b);
    nodes_[a].Right = right;
    Pull(a);
    return a;
  }
  const std::int32_t left = Merge(a, nodes_[b].Left);
  nodes_[b].Left = left;
  Pull(b);
  return b;
}

void TCharactOpt::Split(std::int32_t v, int count, std::int32_t& a, std::int32_t& b) {
  if (v == 0) {
    a = b = 0;
    return;
  }
  const int leftSize = nodes_[nodes_[v].Left].Size;
  if (count <= leftSize) {
    std::int32_t rest = 0;
    Split(nodes_[v].Left, count, a, rest);
    nodes_[v].Left = rest;
    b = v;
  } else {
    std::int32_t rest = 0;
    Split(nodes_[v].Right, count - leftSize - 1, rest, b);
    nodes_[v].Right = rest;
    a = v;
  }
  Pull(v);
}

std::int32_t TCharactOpt::NodeAt(int t) const {
  std::int32_t v = root_;
  while (v != 0) {
    const int leftSize = nodes_[nodes_[v].Left].Size;
    if (t <= leftSize) {
      v = nodes_[v].Left;
    } else if (t == leftSize + 1) {
      return v;
    } else {
      t -= leftSize + 1;
      v = nodes_[v].Right;
    }
  }
  return 0;
}

// The rank of the root's best interval: the path to it is the path of nodes
// whose subtree best it is.
int TCharactOpt::RankOf(std::int32_t target) const {
  int rank = 0;
  std::int32_t v = root_;
  while (v != 0) {
    const Node& n = nodes_[v];
    if (n.Left != 0 && nodes_[n.Left].Best == target) {
      v = n.Left;
      continue;
    }
    rank += nodes_[n.Left].Size + 1;
    if (v == target) return rank;
    v = n.Right;
  }
  return 0;
}

std::int32_t TCharactOpt::NewNode(double x) {
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  Node n;
  n.Point.X = x;
  n.Priority = seed_;
  n.MaxSlope = -std::numeric_limits<double>::infinity();
  nodes_.push_back(n);
  const auto v = static_cast<std::int32_t>(nodes_.size() - 1);
  Pull(v);
  return v;
}

void TCharactOpt::InOrder(std::vector<std::int32_t>& out) const {
  out.clear();
  std::vector<std::int32_t> stack;
  std::int32_t v = root_;
  while (v != 0 || !stack.empty()) {
    while (v != 0) {
      stack.push_back(v);
      v = nodes_[v].Left;
    }
    v = stack.back();
    stack.pop_back();
    out.push_back(v);
    v = nodes_[v].Right;
  }
}

void TCharactOpt::RebuildAggregates(std::int32_t v) {
  if (v == 0) return;
  RebuildAggregates(nodes_[v].Left);
  RebuildAggregates(nodes_[v].Right);
  Pull(v);
}

// The slope enters the largest-slope rule at the next step; a fault in forming
// it is kept until then, when the rule would meet it.
void TCharactOpt::SetSlope(Node& left, const Node& right) {
  try {
    const Extended diff = Velmora::sub(right.Point.Z, left.Point.Z);
    const double absDiff = Velmora::toDouble(std::fabs(diff));
    left.Slope = Velmora::toDouble(Velmora::div(absDiff, Velmora::sub(right.Point.X, left.Point.X)));
  } catch (const Velmora::ArithmeticFault& fault) {
    left.Slope = 0.0;
    // Only the newest intervals can hold a fault, and the left one comes first in list order.
    if (pendingSlopeFault_ < 0) pendingSlopeFault_ = static_cast<int>(fault.kind());
  }
}

// Puts node v after record t, whose characteristic becomes leftCharact.
void TCharactOpt::InsertAfter(int t, std::int32_t v, double leftCharact) {
  std::int32_t before = 0, rest = 0, left = 0, after = 0;
  Split(root_, t - 1, before, rest);
  Split(rest, 1, left, after);
  nodes_[left].Charact = leftCharact;
  if (keepSlopes_) {
    std::int32_t right = after;
    while (nodes_[right].Left != 0) right = nodes_[right].Left;
    SetSlope(nodes_[left], nodes_[v]);
    SetSlope(nodes_[v], nodes_[right]);
  }
  Pull(left);
  Pull(v);
  root_ = Merge(Merge(before, left), Merge(v, after));
}

// --- the scheme -------------------------------------------------------------

void TCharactOpt::Init(double xmin, double xmax) {
  TTrialPoint first{xmin};
  TTrialPoint last{xmax};
  const double r0 = Velmora::toDouble(Characteristic(first, last));

  nodes_.resize(1);
  root_ = 0;
  seed_ = PrioritySeed;
  refreshAll_ = false;
  pendingSlopeFault_ = -1;
  refreshCount_ = 0;

  const std::int32_t a = NewNode(xmin);
  const std::int32_t b = NewNode(xmax);
  nodes_[a].Point = first;
  nodes_[a].Charact = r0;
  nodes_[b].Point = last;
  nodes_[b].Last = true;
  Pull(a);
  Pull(b);
  root_ = Merge(a, b);

  const double z1 = Value(nodes_[a].Point);
  const double z2 = Value(nodes_[b].Point);
  if (z1 > z2 || (std::isnan(z1) && !std::isnan(z2))) {
    BestX = xmax;
    BestZ = z2;
  } else {
    BestX = xmin;
    BestZ = z1;
  }

  if (keepSlopes_) {
    SetSlope(nodes_[a], nodes_[b]);
    RebuildAggregates(root_);
  }
}

int TCharactOpt::BestInterval() {
  // The walk starts with interval 1 and nothing is greater than a NaN.
  constexpr std::int32_t first = 1;
  if (std::isnan(nodes_[first].Charact)) return 1;
  return RankOf(nodes_[root_].Best);
}

TTrialPoint& TCharactOpt::TrialAt(int t) { return nodes_[NodeAt(t)].Point; }

int TCharactOpt::TrialCount() const { return nodes_[root_].Size; }

void TCharactOpt::Step() {
  const int t = BestInterval();
  const std::int32_t fresh = NewNode(0.0);
  const double x = Velmora::toDouble(NewPoint(t));
  nodes_[fresh].Point.X = x;

  if (refreshAll_) {
    refreshAll_ = false;
    ++refreshCount_;
    StepAllRefreshed(t, fresh, x);
  } else {
    // Every other characteristic would come out as it is stored: same
    // constants, same ends, same values.
    const std::int32_t left = NodeAt(t);
    const std::int32_t right = NodeAt(t + 1);
    Precision = Velmora::toDouble(Velmora::sub(nodes_[right].Point.X, x));
    const double cRight = Velmora::toDouble(Characteristic(nodes_[fresh].Point, nodes_[right].Point));
    const double cLeft = Velmora::toDouble(Characteristic(nodes_[left].Point, nodes_[fresh].Point));
    nodes_[fresh].Charact = cRight;
    InsertAfter(t, fresh, cLeft);
  }

  const double z = Value(nodes_[fresh].Point);
  if (IsBetter(z, BestZ)) {
    BestX = x;
    BestZ = z;
  }
}

// The full walk in list order, so that a fault stops it where the rules
// would stop, with the same records refreshed.
void TCharactOpt::StepAllRefreshed(int t, std::int32_t fresh, double x) {
  InOrder(scratch_);
  const auto n = static_cast<int>(scratch_.size());
  for (int i = 0; i + 1 < n; ++i) {
    const std::int32_t left = scratch_[i];
    const std::int32_t right = scratch_[i + 1];
    nodes_[left].Charact = Velmora::toDouble(Characteristic(nodes_[left].Point, nodes_[right].Point));
    if (i + 1 == t) {
      Precision = Velmora::toDouble(Velmora::sub(nodes_[right].Point.X, x));
      const double cRight = Velmora::toDouble(Characteristic(nodes_[fresh].Point, nodes_[right].Point));
      const double cLeft = Velmora::toDouble(Characteristic(nodes_[left].Point, nodes_[fresh].Point));
      nodes_[fresh].Charact = cRight;
      InsertAfter(t, fresh, cLeft);
    }
  }
  RebuildAggregates(root_);
}

double TCharactOpt::SearchBySteps(double xmin, double xmax, int steps) {
  boundHit_ = false;
  Init(xmin, xmax);
  StepCount = 0;
  while (StepCount < steps) {
    Step();
    StepCount += 1;
  }
  return BestX;
}

double TCharactOpt::SearchByPrecision(double xmin, double xmax, double eps, int maxSteps) {
  boundHit_ = false;
  Init(xmin, xmax);
  StepCount = 0;
  for (;;) {
    Step();
    StepCount += 1;
    if (!(Precision > eps)) break;
    if (StepCount >= maxSteps) {
      boundHit_ = true;
      break;
    }
  }
  return BestX;
}

double TCharactOpt::SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps) {
  boundHit_ = false;
  Init(xmin, xmax);
  StepCount = 0;
  for (;;) {
    const int t = BestInterval();
    // Measured exactly and without faults: the rule only looks, it computes nothing the run keeps.
    const Extended length =
        std::fabs(static_cast<Extended>(TrialAt(t + 1).X) - static_cast<Extended>(TrialAt(t).X));
    if (length <= eps) break;
    if (StepCount >= maxSteps) {
      boundHit_ = true;
      break;
    }
    Step();
    StepCount += 1;
  }
  return BestX;
}

double TCharactOpt::GetPrecision() const { return Precision; }
int TCharactOpt::GetStepCount() const { return StepCount; }
double TCharactOpt::GetBestX() const { return BestX; }
double TCharactOpt::GetBestValue() const { return BestZ; }
bool TCharactOpt::PrecisionBoundHit() const { return boundHit_; }
int TCharactOpt::GetRefreshCount() const { return refreshCount_; }

std::vector<TSearchInfo> TCharactOpt::GetTrials() const {
  std::vector<std::int32_t> order;
  InOrder(order);
  std::vector<TSearchInfo> trials;
  trials.reserve(order.size());
  for (const std::int32_t v : order) trials.push_back({nodes_[v].Point.X, nodes_[v].Charact});
  return trials;
}

std::vector<double> TCharactOpt::GetTrialValues() const {
  std::vector<std::int32_t> order;
  InOrder(order);
  std::vector<double> values;
  values.reserve(order.size());
  for (const std::int32_t v : order) {
    const TTrialPoint& p = nodes_[v].Point;
    values.push_back(p.Known ? p.Z : std::numeric_limits<double>::quiet_NaN());
  }
  return values;
}

}  // namespace VELMORAALG
