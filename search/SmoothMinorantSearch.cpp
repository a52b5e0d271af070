#include "SmoothMinorantSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "Rules.h"

namespace VELMORAALG {

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

bool AllFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// The larger of the two; a NaN b never counts.
double Larger(double a, double b) { return b > a ? b : a; }

}  // namespace

SmoothMinorantSearch::SmoothMinorantSearch(TSlopeFunc func, Estimate estimate,
                                           LocalImprovement::Mode localImprovement)
    : func_(std::move(func)), estimate_(estimate), localImprovement_(localImprovement) {}

void SmoothMinorantSearch::SetParameter(double value) {
  if (estimate_ == Estimate::APriori) {
    if (!(value > 0 && std::isfinite(value)))
      throw std::invalid_argument("the Lipschitz estimate M of f' must be finite and greater than 0");
  } else if (!(value > 1 && std::isfinite(value))) {
    throw std::invalid_argument("the multiplier r must be finite and greater than 1");
  }
  reliability_ = value;
}

int SmoothMinorantSearch::GetRefreshCount() const { return refreshCount_; }

void SmoothMinorantSearch::Measure(std::size_t i) {
  const Trial& left = trials_[i];
  const Trial& right = trials_[i + 1];
  const double v = AllFinite({left.z, left.dz, right.z, right.dz})
                       ? CurvatureEstimate(right.x - left.x, left.z, right.z, left.dz, right.dz)
                       : NaN;
  trials_[i].curvature = std::isfinite(v) ? v : NaN;
}

bool SmoothMinorantSearch::UpdateMaxima() {
  double curvature = 0, length = 0;
  for (std::size_t i = 0; i + 1 < trials_.size(); ++i) {
    curvature = Larger(curvature, trials_[i].curvature);
    length = std::max(length, trials_[i + 1].x - trials_[i].x);
  }
  const bool changed = estimate_ != Estimate::APriori &&
                       (curvature != maxCurvature_ || (estimate_ == Estimate::LocalTuning && length != maxLength_));
  maxCurvature_ = curvature;
  maxLength_ = length;
  return changed;
}

void SmoothMinorantSearch::Rate(std::size_t i) {
  Trial& left = trials_[i];
  const Trial& right = trials_[i + 1];
  double base = std::max(Xi, maxCurvature_);
  if (estimate_ == Estimate::APriori) {
    base = 1;
  } else if (estimate_ == Estimate::LocalTuning) {
    double lambda = left.curvature;
    if (i > 0) lambda = Larger(lambda, trials_[i - 1].curvature);
    if (i + 2 < trials_.size()) lambda = Larger(lambda, trials_[i + 1].curvature);
    const double gamma = maxCurvature_ * (right.x - left.x) / maxLength_;
    base = Larger(std::max(Xi, gamma), lambda);
  }
  left.estimate = reliability_ * base;
  if (std::isnan(left.curvature)) {
    left.charact = NaN;
    left.point = NaN;
    return;
  }
  const SmoothMinorantRule rule = SmoothMinorant(left.x, right.x, left.z, right.z, left.dz, right.dz, left.estimate);
  left.charact = rule.Charact;
  left.point = rule.Point;
}

void SmoothMinorantSearch::RateAll() {
  for (std::size_t i = 0; i + 1 < trials_.size(); ++i) Rate(i);
}

void SmoothMinorantSearch::Start(double xmin, double xmax) {
  precision_ = 0;
  refreshCount_ = 0;
  maxCurvature_ = 0;
  maxLength_ = 0;
  localImprovement_.Start(xmin, xmax);
  bestX_ = NaN;
  bestZ_ = NaN;
  trials_.clear();
  const TValueSlope a = func_(xmin);
  trials_.push_back({xmin, a.Value, a.Slope, 1});
  const TValueSlope b = func_(xmax);
  trials_.push_back({xmax, b.Value, b.Slope, 2});
  const std::size_t best = IsLower(b.Value, a.Value) ? 1 : 0;
  bestX_ = trials_[best].x;
  bestZ_ = trials_[best].z;
  Measure(0);
  UpdateMaxima();
  RateAll();
}

int SmoothMinorantSearch::GlobalChoice() const {
  int chosen = -1;
  for (std::size_t i = 0; i + 1 < trials_.size(); ++i)
    if (ReplacesChoice(trials_[i].charact, chosen >= 0, chosen >= 0 ? trials_[chosen].charact : 0))
      chosen = static_cast<int>(i);
  return chosen;
}

int SmoothMinorantSearch::LocalChoice() {
  const auto best = std::lower_bound(trials_.begin(), trials_.end(), bestX_,
                                     [](const Trial& t, double x) { return t.x < x; });
  const std::size_t k = static_cast<std::size_t>(best - trials_.begin());
  const auto side = [this](std::size_t i, bool exists) {
    return exists ? LocalImprovement::Side{true, trials_[i + 1].x - trials_[i].x, trials_[i].charact}
                  : LocalImprovement::Side{false, 0, 0};
  };
  switch (localImprovement_.Choose(side(k - 1, k > 0 && k < trials_.size()), side(k, k + 1 < trials_.size()))) {
    case LocalImprovement::Choice::Left: return static_cast<int>(k) - 1;
    case LocalImprovement::Choice::Right: return static_cast<int>(k);
    case LocalImprovement::Choice::Global: break;
  }
  return -1;
}

bool SmoothMinorantSearch::Choose() {
  chosen_ = localImprovement_.TakesLocalTurn() ? LocalChoice() : -1;
  if (chosen_ < 0) chosen_ = GlobalChoice();
  return chosen_ >= 0;
}

Velmora::Extended SmoothMinorantSearch::ChosenLength() {
  return Velmora::sub(trials_[chosen_ + 1].x, trials_[chosen_].x);
}

std::optional<StopReason> SmoothMinorantSearch::Place(TStepRecord& record) {
  const std::size_t t = static_cast<std::size_t>(chosen_);
  // Copies: the list changes below.
  const Trial left = trials_[t];
  const Trial right = trials_[t + 1];
  const double x = left.point;
  if (LandsOnAnEnd(left.x, right.x, x)) return StopReason::IntervalUnsplittable;
  if (!(left.x < x && x < right.x)) return StopReason::PointLeftInterval;
  const TValueSlope f = func_(x);
  precision_ = right.x - x;
  localImprovement_.NoteTrial(IsLower(f.Value, bestZ_));
  if (TakesBestPlace(f.Value, bestZ_)) {
    bestX_ = x;
    bestZ_ = f.Value;
  }
  trials_.insert(trials_.begin() + static_cast<std::ptrdiff_t>(t) + 1,
                 Trial{x, f.Value, f.Slope, static_cast<int>(trials_.size()) + 1});
  Measure(t);
  Measure(t + 1);
  if (UpdateMaxima()) {
    ++refreshCount_;
    RateAll();
  } else {
    // The two halves, and the neighbours whose lambda reads them.
    const std::size_t first = t > 0 ? t - 1 : 0;
    const std::size_t last = std::min(t + 2, trials_.size() - 2);
    for (std::size_t i = first; i <= last; ++i) Rate(i);
  }
  record = {0, static_cast<int>(t) + 1, left.x, right.x, left.charact, left.estimate, x, f.Value, precision_};
  return std::nullopt;
}

std::vector<TSearchInfo> SmoothMinorantSearch::GetTrials() const {
  std::vector<TSearchInfo> trials;
  trials.reserve(trials_.size());
  for (std::size_t i = 0; i < trials_.size(); ++i) {
    const Trial& t = trials_[i];
    trials.push_back({t.x, t.z, i + 1 < trials_.size() ? t.charact : 0.0, t.placed});
  }
  return trials;
}

std::vector<double> SmoothMinorantSearch::GetIntervalConstants() const {
  std::vector<double> constants;
  if (trials_.size() > 1) constants.reserve(trials_.size() - 1);
  for (std::size_t i = 0; i + 1 < trials_.size(); ++i) constants.push_back(trials_[i].estimate);
  return constants;
}

std::vector<double> SmoothMinorantSearch::GetSlopes() const {
  std::vector<double> slopes;
  slopes.reserve(trials_.size());
  for (const Trial& t : trials_) slopes.push_back(t.dz);
  return slopes;
}

}  // namespace VELMORAALG
