#include "TrialTree.h"

#include <cmath>
#include <limits>

#include "Extended.h"
#include "Rules.h"

namespace VELMORAALG {

namespace {

// The tree's shape only affects speed; a fixed seed keeps runs' timings repeatable.
constexpr std::uint32_t PrioritySeed = 0x9E3779B9u;

constexpr double NoSlope = -std::numeric_limits<double>::infinity();

}  // namespace

TrialTree::TrialTree() { Reset(false); }

void TrialTree::Reset(bool keepSlopes) {
  nodes_.resize(1);
  slopes_.resize(1);
  slopes_[0].MaxSlope = NoSlope;
  root_ = 0;
  seed_ = PrioritySeed;
  keepSlopes_ = keepSlopes;
  pendingSlopeFault_ = -1;
}

void TrialTree::Pull(Id v) {
  Node& n = nodes_[v];
  const Node& l = nodes_[n.Left];
  const Node& r = nodes_[n.Right];
  n.Size = 1 + l.Size + r.Size;

  // The subtrees in list order: the left one, this record, the right one.
  Id best = l.Best;
  double bestCharact = l.BestCharact;
  if (!n.Last && ReplacesChoice(n.Charact, best != 0, bestCharact)) {
    best = v;
    bestCharact = n.Charact;
  }
  // The right subtree's best is a number already.
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

TrialTree::Id TrialTree::Merge(Id a, Id b) {
  if (a == 0) return b;
  if (b == 0) return a;
  if (nodes_[a].Priority > nodes_[b].Priority) {
    const Id right = Merge(nodes_[a].Right, b);
    nodes_[a].Right = right;
    Pull(a);
    return a;
  }
  const Id left = Merge(a, nodes_[b].Left);
  nodes_[b].Left = left;
  Pull(b);
  return b;
}

void TrialTree::Split(Id v, int count, Id& a, Id& b) {
  if (v == 0) {
    a = b = 0;
    return;
  }
  const int leftSize = nodes_[nodes_[v].Left].Size;
  if (count <= leftSize) {
    Id rest = 0;
    Split(nodes_[v].Left, count, a, rest);
    nodes_[v].Left = rest;
    b = v;
  } else {
    Id rest = 0;
    Split(nodes_[v].Right, count - leftSize - 1, rest, b);
    nodes_[v].Right = rest;
    a = v;
  }
  Pull(v);
}

// Puts fresh at the given rank of v's subtree; every node on the way down is
// pulled on the way back, the records around the new one among them.
TrialTree::Id TrialTree::Insert(Id v, int rank, Id fresh) {
  if (v == 0) return fresh;
  if (nodes_[fresh].Priority > nodes_[v].Priority) {
    Id left = 0, right = 0;
    Split(v, rank - 1, left, right);
    nodes_[fresh].Left = left;
    nodes_[fresh].Right = right;
    Pull(fresh);
    return fresh;
  }
  const int leftSize = nodes_[nodes_[v].Left].Size;
  if (rank <= leftSize + 1) {
    const Id left = Insert(nodes_[v].Left, rank, fresh);
    nodes_[v].Left = left;
  } else {
    const Id right = Insert(nodes_[v].Right, rank - leftSize - 1, fresh);
    nodes_[v].Right = right;
  }
  Pull(v);
  return v;
}

TrialTree::Id TrialTree::NodeAt(int t) const {
  Id v = root_;
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

TrialTree::Id TrialTree::NewNode(double x) {
  seed_ ^= seed_ << 13;
  seed_ ^= seed_ >> 17;
  seed_ ^= seed_ << 5;
  Node n;
  n.Point.X = x;
  n.Priority = seed_;
  nodes_.push_back(n);
  if (keepSlopes_) slopes_.push_back({0.0, NoSlope});
  const auto v = static_cast<Id>(nodes_.size() - 1);
  Pull(v);
  return v;
}

void TrialTree::InOrder(std::vector<Id>& out) const {
  out.clear();
  std::vector<Id> stack;
  Id v = root_;
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

void TrialTree::RebuildAggregates() { Rebuild(root_); }

void TrialTree::Rebuild(Id v) {
  if (v == 0) return;
  Rebuild(nodes_[v].Left);
  Rebuild(nodes_[v].Right);
  Pull(v);
}

// The slope enters the largest-slope rule at the next step; a fault in forming
// it is kept until then, when the rule would meet it.
void TrialTree::SetSlope(Id left, Id right) {
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

double TrialTree::MaxSlope() const {
  if (pendingSlopeFault_ >= 0) Velmora::raiseFault(static_cast<Velmora::FaultKind>(pendingSlopeFault_));
  const double m = slopes_[root_].MaxSlope;
  return m > 0 ? m : 0.0;
}

// A method that keeps slopes has asked for both ends' values by now, in its characteristic.
void TrialTree::Start(Id a, Id b) {
  nodes_[b].Last = true;
  Pull(a);
  Pull(b);
  root_ = Merge(a, b);
  if (keepSlopes_) {
    SetSlope(a, b);
    Rebuild(root_);
  }
}

void TrialTree::InsertAfter(int rank, Id left, Id right, Id fresh, double leftCharact) {
  nodes_[left].Charact = leftCharact;
  if (keepSlopes_) {
    SetSlope(left, fresh);
    SetSlope(fresh, right);
  }
  Pull(fresh);
  // Record rank lies on the path to the new record's place, so it is pulled too.
  root_ = Insert(root_, rank + 1, fresh);
}

TrialTree::Choice TrialTree::Choose() const {
  constexpr Id first = 1;
  const Id target = FirstIntervalHolds(nodes_[first].Charact) ? first : nodes_[root_].Best;

  // Down the path of subtrees whose best the target is (or, for record 1,
  // the leftmost path), noting the last turn left: the target's successor.
  int rank = 0;
  Id successor = 0;
  Id v = root_;
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
  return {rank, target, successor};
}

}  // namespace VELMORAALG
