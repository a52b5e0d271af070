// The trials of a characteristic scheme in list order, kept in a treap: a
// balanced tree ordered as the list is, each subtree knowing its interval of
// largest characteristic and, for a method that asks, its largest slope. It
// finds the interval to split in logarithmic time where the rules walk the list.
#pragma once

#include <cstdint>
#include <vector>

namespace VELMORAALG {

// A trial point as the rules see it: its value is asked for through
// TCharactOpt::Value, which evaluates F the first time only.
struct TTrialPoint {
  double X = 0.0;
  double Z = 0.0;
  bool Known = false;
};

class TrialTree {
 public:
  using Id = std::int32_t;  ///< a record; 0 is none

  // One record of the list and the aggregates of its subtree (64 bytes).
  struct Node {
    TTrialPoint Point;
    double Charact = 0.0;  ///< of the interval that begins here
    double BestCharact = 0.0;  ///< the characteristic of Best
    Id Left = 0, Right = 0;
    std::int32_t Size = 0;
    Id Best = 0;  ///< the subtree's interval of largest characteristic; 0 when none
    std::uint32_t Priority = 0;
    bool Last = false;  ///< the record of xmax, which begins no interval
  };

  // The interval to split: its number from 1 in list order and both its records.
  struct Choice {
    int Rank;
    Id Left, Right;
  };

  TrialTree();

  // Empty, with the fixed seed; keepSlopes makes every record keep its interval's slope.
  void Reset(bool keepSlopes);
  // A new record, not yet in the list; ids follow the order of making.
  Id NewNode(double x);
  Node& operator[](Id v) { return nodes_[v]; }
  const Node& operator[](Id v) const { return nodes_[v]; }
  int Size() const { return nodes_[root_].Size; }

  // Makes the list of the two records a and b.
  void Start(Id a, Id b);
  // Puts fresh between records left and right, which hold places rank and
  // rank + 1; left's characteristic becomes leftCharact.
  void InsertAfter(int rank, Id left, Id right, Id fresh, double leftCharact);
  // Record t, from 1; 0 when there is none.
  Id NodeAt(int t) const;
  void InOrder(std::vector<Id>& out) const;
  // After characteristics were changed in place.
  void RebuildAggregates();

  // The walk's rule of the window's methods (Rules.h): ReplacesChoice, after
  // FirstIntervalHolds.
  Choice Choose() const;

  // The largest slope over the current intervals, 0 when none is positive.
  // Raises the fault that forming the slopes in list order would raise first.
  double MaxSlope() const;

 private:
  // Kept apart so that methods without slopes do not carry them through the cache.
  struct SlopeInfo {
    double Slope = 0.0;
    double MaxSlope = 0.0;  ///< over the subtree's intervals; -inf when none
  };

  void Pull(Id v);
  Id Merge(Id a, Id b);
  void Split(Id v, int count, Id& a, Id& b);
  Id Insert(Id v, int rank, Id fresh);
  void Rebuild(Id v);
  void SetSlope(Id left, Id right);

  std::vector<Node> nodes_;  ///< nodes_[0] is the empty tree
  std::vector<SlopeInfo> slopes_;
  Id root_ = 0;
  std::uint32_t seed_ = 0;
  bool keepSlopes_ = false;
  int pendingSlopeFault_ = -1;  ///< a Velmora::FaultKind, or -1
};

}  // namespace VELMORAALG
