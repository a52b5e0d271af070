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
  slopes_.resize(1);
  slopes_[0].MaxSlope = -std::numeric_limits<double>::infinity();
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
  const double m = slopes_[root_].MaxSlope;
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
  double bestCharact = l.BestCharact;
  if (!n.Last && !std::isnan(n.Charact) && (best == 0 || n.Charact > bestCharact)) {
    best = v;
    bestCharact = n.Charact;
  }
  if (r.Best != 0 && (best == 0 || r.BestCharact > bestCharact)) {
    best = r.Best;
    bestCharact = r.BestCharact;
  }
  n.Best = best;
  n.BestCharact = bestCharact;

  if (keepSlopes_) {
    double m = slopes_[n.Left].MaxSlope;
    if (!n.Last && slopes_[v].Slope > m) m = slopes_[v].Slope;
    if (slopes_[n.Right].MaxSlope > m) m = slopes_[n.Right].MaxSlope;
    slopes_[v].MaxSlope = m;
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

// Puts fresh at the given rank of v's subtree; every node on the way down is
// pulled on the way back, the records around the new one among them.
std::int32_t TCharactOpt::Insert(std::int32_t v, int rank, std::int32_t fresh) {
  if (v == 0) return fresh;
  if (nodes_[fresh].Priority > nodes_[v].Priority) {
    std::int32_t left = 0, right = 0;
    Split(v, rank - 1, left, right);
    nodes_[fresh].Left = left;
    nodes_[fresh].Right = right;
    Pull(fresh);
    return fresh;
  }
  const int leftSize = nodes_[nodes_[v].Left].Size;
  if (rank <= leftSize + 1) {
    const std::int32_t left = Insert(nodes_[v].Left, rank, fresh);
    nodes_[v].Left = left;
  } else {
    const std::int32_t right = Insert(nodes_[v].Right, rank - leftSize - 1, fresh);
    nodes_[v].Right = right;
  }
  Pull(v);
  return v;
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

std::int32_t TCharactOpt::NewNode(double x) {
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  Node n;
  n.Point.X = x;
  n.Priority = seed_;
  nodes_.push_back(n);
  if (keepSlopes_) slopes_.push_back({0.0, -std::numeric_limits<double>::infinity()});
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
void TCharactOpt::SetSlope(std::int32_t left, std::int32_t right) {
  const TTrialPoint& q = nodes_[left].Point;
  const TTrialPoint& p = nodes_[right].Point;
  double& slope = slopes_[left].Slope;
  try {
    const double absDiff = Velmora::toDouble(Velmora::fabs(Velmora::sub(p.Z, q.Z)));
    slope = Velmora::toDouble(Velmora::div(absDiff, Velmora::sub(p.X, q.X)));
  } catch (const Velmora::ArithmeticFault& fault) {
    slope = 0.0;
    // Only the newest intervals can hold a fault, and the left one comes first in list order.
    if (pendingSlopeFault_ < 0) pendingSlopeFault_ = static_cast<int>(fault.kind());
  }
}

// Puts fresh between records t and t + 1; record t's characteristic becomes leftCharact.
void TCharactOpt::InsertAfter(int t, std::int32_t left, std::int32_t right, std::int32_t fresh,
                              double leftCharact) {
  chosenValid_ = false;
  nodes_[left].Charact = leftCharact;
  if (keepSlopes_) {
    SetSlope(left, fresh);
    SetSlope(fresh, right);
  }
  Pull(fresh);
  // Record t lies on the path to the new record's place, so it is pulled too.
  root_ = Insert(root_, t + 1, fresh);
}

// --- the scheme -------------------------------------------------------------

void TCharactOpt::Init(double xmin, double xmax) {
  TTrialPoint first{xmin};
  TTrialPoint last{xmax};
  const double r0 = Velmora::toDouble(Characteristic(first, last));

  nodes_.resize(1);
  slopes_.resize(1);
  root_ = 0;
  seed_ = PrioritySeed;
  refreshAll_ = false;
  pendingSlopeFault_ = -1;
  refreshCount_ = 0;
  chosenValid_ = false;

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
    SetSlope(a, b);
    RebuildAggregates(root_);
  }
}

int TCharactOpt::BestInterval() {
  if (chosenValid_) return chosenRank_;
  // The walk starts with interval 1 and nothing is greater than a NaN.
  constexpr std::int32_t first = 1;
  const std::int32_t target = std::isnan(nodes_[first].Charact) ? first : nodes_[root_].Best;

  // Down the path of subtrees whose best the target is (or, for record 1,
  // the leftmost path), noting the last turn left: the target's successor.
  int rank = 0;
  std::int32_t successor = 0;
  std::int32_t v = root_;
  for (;;) {
    const Node& n = nodes_[v];
    if (n.Left != 0 && (target == first || nodes_[n.Left].Best == target)) {
      successor = v;
      v = n.Left;
      continue;
    }
    rank += nodes_[n.Left].Size + 1;
    if (v == target) break;
    v = n.Right;
  }
  if (nodes_[v].Right != 0) {
    successor = nodes_[v].Right;
    while (nodes_[successor].Left != 0) successor = nodes_[successor].Left;
  }
  chosenValid_ = true;
  chosenRank_ = rank;
  chosenLeft_ = target;
  chosenRight_ = successor;
  return rank;
}

TTrialPoint& TCharactOpt::TrialAt(int t) {
  if (chosenValid_ && t == chosenRank_) return nodes_[chosenLeft_].Point;
  if (chosenValid_ && t == chosenRank_ + 1) return nodes_[chosenRight_].Point;
  return nodes_[NodeAt(t)].Point;
}

int TCharactOpt::TrialCount() const { return nodes_[root_].Size; }

Extended TCharactOpt::MeetingPoint(int t, double slope) {
  TTrialPoint& a = TrialAt(t);
  TTrialPoint& b = TrialAt(t + 1);
  const double fa = Value(a);
  const double fb = Value(b);
  return MeetingPoint(a.X, fa, b.X, fb, slope);
}

Extended TCharactOpt::MeetingPoint(double leftX, double leftZ, double rightX, double rightZ, double slope) {
  const Extended mid = Velmora::mul(Velmora::add(rightX, leftX), 0.5L);
  const Extended shift = Velmora::div(Velmora::sub(rightZ, leftZ), Velmora::mul(2.0L, slope));
  return Velmora::sub(mid, shift);
}

void TCharactOpt::SetStepObserver(TStepObserver observer) { observer_ = std::move(observer); }

void TCharactOpt::RequestStop() { stopRequested_ = true; }

void TCharactOpt::Step() {
  const int t = BestInterval();
  const std::int32_t left = chosenLeft_;
  const std::int32_t right = chosenRight_;
  const double chosenCharact = nodes_[left].Charact;
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
    Precision = Velmora::toDouble(Velmora::sub(nodes_[right].Point.X, x));
    const double cRight = Velmora::toDouble(Characteristic(nodes_[fresh].Point, nodes_[right].Point));
    const double cLeft = Velmora::toDouble(Characteristic(nodes_[left].Point, nodes_[fresh].Point));
    nodes_[fresh].Charact = cRight;
    InsertAfter(t, left, right, fresh, cLeft);
  }

  const double z = Value(nodes_[fresh].Point);
  if (IsBetter(z, BestZ)) {
    BestX = x;
    BestZ = z;
  }
  if (observer_) {
    observer_({StepCount + 1, t, nodes_[left].Point.X, nodes_[right].Point.X, chosenCharact, StepConstant(), x, z,
               Precision});
  }
}

// The full walk in list order, so that a fault stops it where the rules
// would stop, with the same records refreshed.
void TCharactOpt::StepAllRefreshed(int t, std::int32_t fresh, double x) {
  chosenValid_ = false;
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
      InsertAfter(t, left, right, fresh, cLeft);
    }
  }
  RebuildAggregates(root_);
}

double TCharactOpt::SearchBySteps(double xmin, double xmax, int steps) {
  boundHit_ = false;
  stopRequested_ = false;
  Init(xmin, xmax);
  StepCount = 0;
  while (StepCount < steps && !stopRequested_) {
    Step();
    StepCount += 1;
  }
  return BestX;
}

double TCharactOpt::SearchByPrecision(double xmin, double xmax, double eps, int maxSteps) {
  boundHit_ = false;
  stopRequested_ = false;
  Init(xmin, xmax);
  StepCount = 0;
  for (;;) {
    Step();
    StepCount += 1;
    if (!(Precision > eps) || stopRequested_) break;
    if (StepCount >= maxSteps) {
      boundHit_ = true;
      break;
    }
  }
  return BestX;
}

double TCharactOpt::SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps) {
  boundHit_ = false;
  stopRequested_ = false;
  Init(xmin, xmax);
  StepCount = 0;
  while (!stopRequested_) {
    const int t = BestInterval();
    // Measured exactly and without faults: the rule only looks, it computes nothing the run keeps.
    const Extended length =
        Velmora::fabs(static_cast<Extended>(TrialAt(t + 1).X) - static_cast<Extended>(TrialAt(t).X));
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

// Nodes are made in the order the trials are placed, the ends first.
std::vector<int> TCharactOpt::GetTrialOrder() const {
  std::vector<std::int32_t> order;
  InOrder(order);
  return {order.begin(), order.end()};
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
