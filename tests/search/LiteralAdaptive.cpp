#include "LiteralAdaptive.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <stdexcept>

namespace VelmoraLiteral {

using Velmora::add;
using Velmora::div;
using Velmora::Extended;
using Velmora::mul;
using Velmora::sub;
using Velmora::toDouble;
using VELMORAALG::StopReason;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// The largest of the numbers among the values, 0 when there is none.
Extended Largest(std::initializer_list<Extended> values) {
  Extended largest = 0;
  for (const Extended v : values)
    if (!Velmora::isnan(v) && v > largest) largest = v;
  return largest;
}

}  // namespace

void LiteralAdaptive::Start(double xmin, double xmax) {
  if (!(std::isfinite(xmin) && std::isfinite(xmax) && xmin < xmax)) throw std::invalid_argument(VELMORAALG::SearchEngine::IntervalRefusal);
  stopRequested_ = false;
  steps_ = 0;
  precision_ = 0;
  bestX_ = bestZ_ = NaN;
  x_ = {xmin, xmax};
  z_ = {NaN, NaN};
  placed_ = {1, 2};
  localImprovement_.Start(xmin, xmax);
  z_[0] = func_(xmin);
  z_[1] = func_(xmax);
  if (z_[0] > z_[1] || (std::isnan(z_[0]) && !std::isnan(z_[1]))) {
    bestX_ = xmax;
    bestZ_ = z_[1];
  } else {
    bestX_ = xmin;
    bestZ_ = z_[0];
  }
  Recompute();
}

void LiteralAdaptive::Recompute() {
  const std::size_t k = x_.size() - 1;
  slope_.assign(k, 0);
  estimateOf_.assign(k, 0);
  charact_.assign(k, 0);
  // An interval with an infinite value at an end has no slope and no characteristic.
  const auto infiniteEnd = [this](std::size_t i) { return std::isinf(z_[i]) || std::isinf(z_[i + 1]); };
  for (std::size_t i = 0; i < k; ++i)
    slope_[i] = infiniteEnd(i) ? NaN : toDouble(div(Velmora::fabs(sub(z_[i + 1], z_[i])), sub(x_[i + 1], x_[i])));
  double H = 0;
  Extended X = 0;
  for (std::size_t i = 0; i < k; ++i) {
    if (slope_[i] > H) H = slope_[i];
    const Extended d = sub(x_[i + 1], x_[i]);
    if (d > X) X = d;
  }
  const Extended xi = VELMORAALG::AdaptiveLipschitzSearch::Xi;
  for (std::size_t i = 0; i < k; ++i) {
    const Extended d = sub(x_[i + 1], x_[i]);
    const Extended lambda = Largest({i > 0 ? slope_[i - 1] : NaN, slope_[i], i + 1 < k ? slope_[i + 1] : NaN});
    const Extended gamma = mul(H, div(d, X));
    Extended base = 0;
    switch (estimate_) {
      case Estimate::APriori: base = 1; break;
      case Estimate::Global: base = Largest({H, xi}); break;
      case Estimate::LocalMax: base = Largest({lambda, gamma, xi}); break;
      case Estimate::LocalAdditive: base = Largest({mul(add(lambda, gamma), 0.5L), xi}); break;
      case Estimate::LocalMaxAdditive: base = Largest({slope_[i], mul(add(lambda, gamma), 0.5L), xi}); break;
    }
    const double l = toDouble(mul(r_, base));
    estimateOf_[i] = l;
    if (infiniteEnd(i)) {
      charact_[i] = NaN;
    } else if (characteristic_ == Characteristic::Geometric) {
      const Extended reach = mul(mul(d, l), 0.5L);
      const Extended mean = mul(add(z_[i + 1], z_[i]), 0.5L);
      charact_[i] = toDouble(sub(reach, mean));
    } else {
      const Extended diff = sub(z_[i + 1], z_[i]);
      const Extended dl = mul(d, l);
      const Extended quad = div(mul(diff, diff), dl);
      const Extended sum = add(quad, dl);
      const Extended ends = mul(add(z_[i + 1], z_[i]), 2.0L);
      charact_[i] = toDouble(sub(sum, ends));
    }
  }
}

int LiteralAdaptive::Choose() {
  if (localImprovement_.TakesLocalTurn() && !std::isnan(bestX_)) {
    // The intervals beside the best trial, found by walking the list.
    int k = 0;
    while (x_[k] != bestX_) ++k;
    const int last = static_cast<int>(x_.size()) - 1;
    const auto side = [this](int i, bool exists) {
      return exists ? VELMORAALG::LocalImprovement::Side{true, static_cast<double>(sub(x_[i + 1], x_[i])), charact_[i]}
                    : VELMORAALG::LocalImprovement::Side{false, 0, 0};
    };
    switch (localImprovement_.Choose(side(k - 1, k > 0), side(k, k < last))) {
      case VELMORAALG::LocalImprovement::Choice::Left: return k - 1;
      case VELMORAALG::LocalImprovement::Choice::Right: return k;
      case VELMORAALG::LocalImprovement::Choice::Global: break;
    }
  }
  int best = -1;
  for (std::size_t i = 0; i < charact_.size(); ++i)
    if (!std::isnan(charact_[i]) && (best < 0 || charact_[i] > charact_[best])) best = static_cast<int>(i);
  return best;
}

bool LiteralAdaptive::Place(int t) {
  const double a = x_[t], b = x_[t + 1];
  const double R = charact_[t], l = estimateOf_[t];
  const Extended mid = mul(add(b, a), 0.5L);
  const Extended shift = div(sub(z_[t + 1], z_[t]), mul(2.0L, l));
  const double x = toDouble(sub(mid, shift));
  if (x == a || x == b) {
    end_ = StopReason::IntervalUnsplittable;
    return false;
  }
  if (!(a < x && x < b)) {
    end_ = StopReason::PointLeftInterval;
    return false;
  }
  const double z = func_(x);
  precision_ = toDouble(sub(b, x));
  localImprovement_.NoteTrial(z < bestZ_ || (std::isnan(bestZ_) && !std::isnan(z)));
  if (z <= bestZ_ || (std::isnan(bestZ_) && !std::isnan(z))) {
    bestX_ = x;
    bestZ_ = z;
  }
  x_.insert(x_.begin() + t + 1, x);
  z_.insert(z_.begin() + t + 1, z);
  placed_.insert(placed_.begin() + t + 1, static_cast<int>(x_.size()));
  Recompute();
  ++steps_;
  if (observer_) observer_({steps_, t + 1, a, b, R, l, x, z, precision_});
  return true;
}

void LiteralAdaptive::SearchBySteps(double xmin, double xmax, int steps) {
  Start(xmin, xmax);
  end_ = StopReason::StepsDone;
  while (steps_ < steps) {
    const int t = Choose();
    if (t < 0) {
      end_ = StopReason::NoComparableInterval;
      return;
    }
    if (!Place(t)) return;
    if (stopRequested_) {
      end_ = StopReason::StopRequested;
      return;
    }
  }
}

void LiteralAdaptive::SearchByPrecision(double xmin, double xmax, double eps, int maxSteps) {
  Start(xmin, xmax);
  end_ = StopReason::PrecisionReached;
  for (;;) {
    const int t = Choose();
    if (t < 0) {
      end_ = StopReason::NoComparableInterval;
      return;
    }
    if (!Place(t)) return;
    if (stopRequested_) {
      end_ = StopReason::StopRequested;
      return;
    }
    if (!(precision_ > eps)) return;
    if (steps_ >= maxSteps) {
      end_ = StopReason::StepBoundHit;
      return;
    }
  }
}

void LiteralAdaptive::SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps) {
  Start(xmin, xmax);
  end_ = StopReason::IntervalRuleMet;
  for (;;) {
    const int t = Choose();
    if (t < 0) {
      end_ = StopReason::NoComparableInterval;
      return;
    }
    if (sub(x_[t + 1], x_[t]) <= eps) return;
    if (steps_ >= maxSteps) {
      end_ = StopReason::StepBoundHit;
      return;
    }
    if (!Place(t)) return;
    if (stopRequested_) {
      end_ = StopReason::StopRequested;
      return;
    }
  }
}

std::vector<VELMORAALG::TSearchInfo> LiteralAdaptive::GetTrials() const {
  std::vector<VELMORAALG::TSearchInfo> trials;
  for (std::size_t i = 0; i < x_.size(); ++i)
    trials.push_back({x_[i], z_[i], i < charact_.size() ? charact_[i] : 0.0, placed_[i]});
  return trials;
}

}  // namespace VelmoraLiteral
