#include "AdaptiveLipschitzSearch.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <utility>

#include "Rules.h"

namespace VELMORAALG {

using Velmora::div;
using Velmora::Extended;
using Velmora::sub;
using Velmora::toDouble;

namespace {

// Blocks hold up to about 2 sqrt(n) trials, so that walking the blocks and
// walking one block cost alike; below this even a short run gets several.
constexpr std::size_t MinBlockCapacity = 32;

const double NaN = std::numeric_limits<double>::quiet_NaN();

// The larger of the two; a NaN b never counts.
Extended Larger(Extended a, Extended b) { return b > a ? b : a; }

bool EitherInfinite(double leftZ, double rightZ) { return std::isinf(leftZ) || std::isinf(rightZ); }

}  // namespace

AdaptiveLipschitzSearch::AdaptiveLipschitzSearch(TOptFunc func, Characteristic characteristic, Estimate estimate,
                                                 LocalImprovement::Mode localImprovement)
    : func_(std::move(func)), characteristic_(characteristic), estimate_(estimate), localImprovement_(localImprovement) {}

void AdaptiveLipschitzSearch::SetReliability(double r) {
  if (!(r > 0 && std::isfinite(r))) throw std::invalid_argument("the reliability r must be finite and greater than 0");
  reliability_ = r;
}

double AdaptiveLipschitzSearch::GetReliability() const { return reliability_; }

// --- the list of blocks ------------------------------------------------------

AdaptiveLipschitzSearch::Trial& AdaptiveLipschitzSearch::At(Position p) { return blocks_[p.block].trials[p.index]; }

const AdaptiveLipschitzSearch::Trial& AdaptiveLipschitzSearch::At(Position p) const {
  return blocks_[p.block].trials[p.index];
}

bool AdaptiveLipschitzSearch::IsLast(Position p) const {
  return p.block + 1 == static_cast<int>(blocks_.size()) &&
         p.index + 1 == static_cast<int>(blocks_[p.block].trials.size());
}

AdaptiveLipschitzSearch::Position AdaptiveLipschitzSearch::Next(Position p) const {
  if (p.index + 1 < static_cast<int>(blocks_[p.block].trials.size())) return {p.block, p.index + 1};
  return {p.block + 1, 0};
}

AdaptiveLipschitzSearch::Position AdaptiveLipschitzSearch::Previous(Position p) const {
  if (p.index > 0) return {p.block, p.index - 1};
  return {p.block - 1, static_cast<int>(blocks_[p.block - 1].trials.size()) - 1};
}

int AdaptiveLipschitzSearch::IntervalNumber(Position p) const {
  int number = p.index + 1;
  for (int b = 0; b < p.block; ++b) number += static_cast<int>(blocks_[b].trials.size());
  return number;
}

// New trials always join the block of the trial before them, so a block's
// first trial never changes and the blocks before it stay as they were.
AdaptiveLipschitzSearch::Position AdaptiveLipschitzSearch::Insert(Position after, const Trial& trial) {
  std::vector<Trial>& trials = blocks_[after.block].trials;
  trials.insert(trials.begin() + after.index + 1, trial);
  ++trialCount_;
  Position p{after.block, after.index + 1};
  const std::size_t capacity =
      2 * std::max(MinBlockCapacity, static_cast<std::size_t>(std::sqrt(static_cast<double>(trialCount_))));
  if (trials.size() > capacity) {
    const int half = static_cast<int>(trials.size() / 2);
    Block upper;
    upper.trials.assign(trials.begin() + half, trials.end());
    trials.resize(half);
    blocks_.insert(blocks_.begin() + after.block + 1, std::move(upper));
    Mark(after.block);
    Mark(after.block + 1);
    if (p.index >= half) p = {after.block + 1, p.index - half};
  }
  return p;
}

void AdaptiveLipschitzSearch::Mark(int block) {
  for (const int b : marked_)
    if (b == block) return;
  marked_.push_back(block);
}

void AdaptiveLipschitzSearch::MeasureMarked() {
  for (const int b : marked_) SummariseMeasures(b);
}

void AdaptiveLipschitzSearch::ChooseInMarked() {
  for (const int b : marked_) ChooseInBlock(b);
  marked_.clear();
}

int AdaptiveLipschitzSearch::IntervalsIn(int block) const {
  const int size = static_cast<int>(blocks_[block].trials.size());
  return block + 1 == static_cast<int>(blocks_.size()) ? size - 1 : size;
}

// The walks below run over every interval of a block in every step: they keep
// their running values in locals, which the compiler holds in registers.
void AdaptiveLipschitzSearch::SummariseMeasures(int block) {
  Block& b = blocks_[block];
  const int intervals = IntervalsIn(block);
  double maxSlope = 0;
  Extended maxLength = 0;
  for (int i = 0; i < intervals; ++i) {
    const Trial& t = b.trials[i];
    if (t.length > maxLength) maxLength = t.length;
    if (t.slope > maxSlope) maxSlope = t.slope;
  }
  b.maxSlope = maxSlope;
  b.maxLength = maxLength;
}

// Within the block, then over the blocks in list order (Choose): the walk's
// rule ReplacesChoice.
void AdaptiveLipschitzSearch::ChooseInBlock(int block) {
  Block& b = blocks_[block];
  const int intervals = IntervalsIn(block);
  int best = -1;
  double bestCharact = 0;
  for (int i = 0; i < intervals; ++i) {
    const double charact = b.trials[i].charact;
    if (ReplacesChoice(charact, best >= 0, bestCharact)) {
      best = i;
      bestCharact = charact;
    }
  }
  b.best = best;
  b.bestCharact = bestCharact;
}

void AdaptiveLipschitzSearch::ScanMaxima(double& slope, Extended& length) const {
  slope = 0;
  length = 0;
  for (const Block& b : blocks_) {
    if (b.maxSlope > slope) slope = b.maxSlope;
    if (b.maxLength > length) length = b.maxLength;
  }
}

bool AdaptiveLipschitzSearch::SetMaxima(double slope, Extended length) {
  const bool changed = estimate_ != Estimate::APriori &&
                       (slope != maxSlope_ || (estimate_ != Estimate::Global && length != maxLength_));
  maxSlope_ = slope;
  maxLength_ = length;
  return changed;
}

// --- the rules ----------------------------------------------------------------

void AdaptiveLipschitzSearch::Measure(Position p) {
  Trial& left = At(p);
  const Trial& right = At(Next(p));
  left.length = sub(right.x, left.x);
  // An infinite value says nothing of the slope beside it: its interval is
  // left out of every estimate, and of the choice (Rate).
  left.slope = EitherInfinite(left.z, right.z) ? NaN : toDouble(div(Velmora::fabs(sub(right.z, left.z)), left.length));
}

// A missing neighbour's slope is 0, which no maximum of slopes notices.
//
// Nothing can fault before l is rounded, so the estimate is computed without
// the checks, bit for bit as the checked operations would: slopes are numbers
// from 0 to +inf (a NaN slope drops out of every maximum), 0 < d <= X keeps
// d/X in (0, 1], and r * base stays far inside the 80-bit range.
void AdaptiveLipschitzSearch::Rate(Trial& left, const Trial& right, double leftSlope, double rightSlope) {
  const Extended d = left.length;
  Extended base = Xi;
  if (estimate_ == Estimate::APriori) {
    base = 1;
  } else if (estimate_ == Estimate::Global) {
    base = Larger(base, maxSlope_);
  } else {
    const Extended lambda = Larger(Larger(Larger(0, leftSlope), left.slope), rightSlope);
    const Extended gamma = maxSlope_ * (d / maxLength_);
    switch (estimate_) {
      case Estimate::LocalMax: base = Larger(Larger(base, lambda), gamma); break;
      case Estimate::LocalAdditive: base = Larger(base, (lambda + gamma) * 0.5L); break;
      case Estimate::LocalMaxAdditive: base = Larger(Larger(base, left.slope), (lambda + gamma) * 0.5L); break;
      case Estimate::APriori:
      case Estimate::Global: break;
    }
  }
  const double l = toDouble(reliability_ * base);
  // The same estimate on the same interval gives the same characteristic; in
  // the many steps that only shorten X, most estimates stay as they were.
  if (std::bit_cast<std::uint64_t>(l) == std::bit_cast<std::uint64_t>(left.estimate)) return;
  left.estimate = l;

  // No minorant passes through an infinite value; a NaN makes the
  // characteristic NaN by itself. Either way the interval is never chosen.
  if (EitherInfinite(left.z, right.z)) {
    left.charact = NaN;
    return;
  }
  left.charact = toDouble(characteristic_ == Characteristic::Geometric
                              ? GeometricCharacteristic(d, left.z, right.z, l)
                              : InformationCharacteristic(d, left.z, right.z, l));
}

void AdaptiveLipschitzSearch::RateAt(Position p) {
  const Position next = Next(p);
  const double leftSlope = p.block == 0 && p.index == 0 ? 0.0 : At(Previous(p)).slope;
  const double rightSlope = IsLast(next) ? 0.0 : At(next).slope;
  Rate(At(p), At(next), leftSlope, rightSlope);
  Mark(p.block);
}

// In list order, so that a fault stops the walk where a full recomputation would.
void AdaptiveLipschitzSearch::RateAll() {
  double leftSlope = 0;
  const int blockCount = static_cast<int>(blocks_.size());
  for (int b = 0; b < blockCount; ++b) {
    std::vector<Trial>& trials = blocks_[b].trials;
    const int size = static_cast<int>(trials.size());
    const bool lastBlock = b + 1 == blockCount;
    for (int i = 0; i < (lastBlock ? size - 1 : size); ++i) {
      const Trial& right = i + 1 < size ? trials[i + 1] : blocks_[b + 1].trials.front();
      const bool rightIsLast = lastBlock && i + 2 == size;
      Rate(trials[i], right, leftSlope, rightIsLast ? 0.0 : right.slope);
      leftSlope = trials[i].slope;
    }
  }
  for (int b = 0; b < blockCount; ++b) ChooseInBlock(b);
  marked_.clear();
}

// --- the runs -----------------------------------------------------------------

// Everything of the last run is cleared before F is asked at the ends.
void AdaptiveLipschitzSearch::Start(double xmin, double xmax) {
  stepCount_ = 0;
  refreshCount_ = 0;
  precision_ = 0;
  bestX_ = NaN;
  bestZ_ = NaN;
  marked_.clear();
  blocks_.assign(1, Block{});
  std::vector<Trial>& ends = blocks_[0].trials;
  ends = {{xmin, NaN, 1}, {xmax, NaN, 2}};
  trialCount_ = 2;
  localImprovement_.Start(xmin, xmax);

  ends[0].z = func_(xmin);
  ends[1].z = func_(xmax);
  if (IsLower(ends[1].z, ends[0].z)) {
    bestX_ = xmax;
    bestZ_ = ends[1].z;
  } else {
    bestX_ = xmin;
    bestZ_ = ends[0].z;
  }
  Measure({0, 0});
  SummariseMeasures(0);
  double slope = 0;
  Extended length = 0;
  ScanMaxima(slope, length);
  SetMaxima(slope, length);
  RateAll();
}

AdaptiveLipschitzSearch::Position AdaptiveLipschitzSearch::PositionOf(double x) const {
  // The blocks hold the trials in order, and a block's first trial never moves.
  const auto block = std::upper_bound(blocks_.begin() + 1, blocks_.end(), x,
                                      [](double v, const Block& b) { return v < b.trials.front().x; }) -
                     1;
  const auto trial = std::lower_bound(block->trials.begin(), block->trials.end(), x,
                                      [](const Trial& t, double v) { return t.x < v; });
  return {static_cast<int>(block - blocks_.begin()), static_cast<int>(trial - block->trials.begin())};
}

bool AdaptiveLipschitzSearch::LocalChoice(Position& chosen) {
  if (std::isnan(bestX_)) return false;
  const Position best = PositionOf(bestX_);
  const bool first = best.block == 0 && best.index == 0;
  const bool last = IsLast(best);
  const auto side = [this](Position p, bool exists) {
    if (!exists) return LocalImprovement::Side{false, 0, 0};
    const Trial& t = At(p);
    return LocalImprovement::Side{true, static_cast<double>(t.length), t.charact};
  };
  const Position before = first ? best : Previous(best);
  switch (localImprovement_.Choose(side(before, !first), side(best, !last))) {
    case LocalImprovement::Choice::Left: chosen = before; return true;
    case LocalImprovement::Choice::Right: chosen = best; return true;
    case LocalImprovement::Choice::Global: break;
  }
  return false;
}

bool AdaptiveLipschitzSearch::Choose() {
  if (localImprovement_.TakesLocalTurn() && LocalChoice(chosen_)) return true;
  // A block's best is a number already (ChooseInBlock), so the walk over
  // the blocks compares numbers alone.
  int chosen = -1;
  for (int b = 0; b < static_cast<int>(blocks_.size()); ++b) {
    const Block& block = blocks_[b];
    if (block.best >= 0 && (chosen < 0 || block.bestCharact > blocks_[chosen].bestCharact)) chosen = b;
  }
  if (chosen < 0) return false;
  chosen_ = {chosen, blocks_[chosen].best};
  return true;
}

Extended AdaptiveLipschitzSearch::ChosenLength() { return At(chosen_).length; }

std::optional<StopReason> AdaptiveLipschitzSearch::Place(TStepRecord& record) {
  const Position chosen = chosen_;
  // Copies: the list changes below.
  const Trial left = At(chosen);
  const Trial right = At(Next(chosen));
  const double x = toDouble(MeetingPoint(left.x, left.z, right.x, right.z, left.estimate));
  if (LandsOnAnEnd(left.x, right.x, x)) return StopReason::IntervalUnsplittable;
  if (!(left.x < x && x < right.x)) return StopReason::PointLeftInterval;
  const int interval = Observed() ? IntervalNumber(chosen) : 0;
  const double z = func_(x);
  precision_ = toDouble(sub(right.x, x));
  localImprovement_.NoteTrial(IsLower(z, bestZ_));
  if (TakesBestPlace(z, bestZ_)) {
    bestX_ = x;
    bestZ_ = z;
  }

  // F's value is known: the trial stays in the list even if what follows faults.
  const Position fresh = Insert(chosen, {x, z, trialCount_ + 1});
  const Position before = Previous(fresh);
  const Position after = Next(fresh);
  const bool first = before.block == 0 && before.index == 0;
  // The split interval is shorter now: its characteristic is due whatever its estimate.
  At(before).estimate = NaN;
  Measure(before);
  Measure(fresh);
  Mark(before.block);
  Mark(fresh.block);
  MeasureMarked();

  // The blocks are walked only when the split interval held a maximum: its
  // halves are no longer than it was, and a NaN slope never counted.
  double slope = maxSlope_;
  Extended length = maxLength_;
  if (left.slope >= maxSlope_ || left.length >= maxLength_) {
    ScanMaxima(slope, length);
  } else {
    for (const double s : {At(before).slope, At(fresh).slope})
      if (s > slope) slope = s;
  }
  if (SetMaxima(slope, length)) {
    ++refreshCount_;
    RateAll();
  } else {
    // Only these four intervals have a new lambda or a new length.
    if (!first) RateAt(Previous(before));
    RateAt(before);
    RateAt(fresh);
    if (!IsLast(after)) RateAt(after);
    ChooseInMarked();
  }

  record = {0, interval, left.x, right.x, left.charact, left.estimate, x, z, precision_};
  return std::nullopt;
}

// --- results ------------------------------------------------------------------

int AdaptiveLipschitzSearch::GetRefreshCount() const { return refreshCount_; }

std::vector<TSearchInfo> AdaptiveLipschitzSearch::GetTrials() const {
  std::vector<TSearchInfo> trials;
  trials.reserve(trialCount_);
  for (const Block& b : blocks_)
    for (const Trial& t : b.trials) trials.push_back({t.x, t.z, t.charact, t.placed});
  return trials;
}

std::vector<double> AdaptiveLipschitzSearch::GetIntervalConstants() const {
  std::vector<double> estimates;
  estimates.reserve(trialCount_);
  for (const Block& b : blocks_)
    for (const Trial& t : b.trials) estimates.push_back(t.estimate);
  if (!estimates.empty()) estimates.pop_back();
  return estimates;
}

}  // namespace VELMORAALG
