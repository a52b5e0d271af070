#include "Literal_opt.h"

#include <cmath>
#include <iterator>

namespace VelmoraLiteral {

using Velmora::add;
using Velmora::div;
using Velmora::Extended;
using Velmora::mul;
using Velmora::sub;
using Velmora::toDouble;

void LiteralOpt::Init(double xmin, double xmax) {
  const double r0 = toDouble(Characteristic(xmin, xmax));
  Trials.clear();
  Trials.push_back({xmin, r0});
  Trials.push_back({xmax, 0.0});
  const double z1 = Func(xmin);
  const double z2 = Func(xmax);
  if (z1 > z2 || (std::isnan(z1) && !std::isnan(z2))) {
    BestX = xmax;
    BestZ = z2;
  } else {
    BestX = xmin;
    BestZ = z1;
  }
}

int LiteralOpt::BestInterval() const {
  int best = 1;
  double bestCharact = Trials.front().Charact;
  int i = 1;
  for (auto it = Trials.begin(); std::next(it) != Trials.end(); ++it, ++i) {
    if (it->Charact > bestCharact) {
      best = i;
      bestCharact = it->Charact;
    }
  }
  return best;
}

double LiteralOpt::PointAt(int t) const {
  auto it = Trials.begin();
  for (int i = 1; i < t; ++i) ++it;
  return it->X;
}

bool LiteralOpt::Step() {
  const int t = BestInterval();
  const double x = toDouble(NewPoint(t));
  // A point on an end of an interval whose ends differ ends the run unplaced.
  const double a = PointAt(t), b = PointAt(t + 1);
  if (a != b && (x == a || x == b)) {
    unsplittable = true;
    return false;
  }
  int i = 1;
  for (auto left = Trials.begin(); std::next(left) != Trials.end(); ++i) {
    auto right = std::next(left);
    left->Charact = toDouble(Characteristic(left->X, right->X));
    if (i == t) {
      Precision = toDouble(sub(right->X, x));
      const double cRight = toDouble(Characteristic(x, right->X));
      const double cLeft = toDouble(Characteristic(left->X, x));
      Trials.insert(right, {x, cRight});
      left->Charact = cLeft;
    }
    left = right;
  }
  const double z = Func(x);
  if (z <= BestZ || (std::isnan(BestZ) && !std::isnan(z))) {
    BestX = x;
    BestZ = z;
  }
  return true;
}

double LiteralOpt::SearchBySteps(double xmin, double xmax, int steps) {
  boundHit = unsplittable = false;
  Init(xmin, xmax);
  StepCount = 0;
  while (StepCount < steps && Step()) StepCount += 1;
  return BestX;
}

double LiteralOpt::SearchByPrecision(double xmin, double xmax, double eps, int maxSteps) {
  boundHit = unsplittable = false;
  Init(xmin, xmax);
  StepCount = 0;
  do {
    if (!Step()) break;
    StepCount += 1;
    if (Precision > eps && StepCount >= maxSteps) {
      boundHit = true;
      break;
    }
  } while (Precision > eps);
  return BestX;
}

double LiteralOpt::SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps) {
  boundHit = unsplittable = false;
  Init(xmin, xmax);
  StepCount = 0;
  while (true) {
    const int t = BestInterval();
    const Extended length = Velmora::fabs(static_cast<Extended>(PointAt(t + 1)) - static_cast<Extended>(PointAt(t)));
    if (length <= eps) break;
    if (StepCount >= maxSteps) {
      boundHit = true;
      break;
    }
    if (!Step()) break;
    StepCount += 1;
  }
  return BestX;
}

Extended LiteralScan::Characteristic(double left, double right) { return sub(right, left); }

Extended LiteralScan::NewPoint(int t) { return mul(add(PointAt(t + 1), PointAt(t)), 0.5L); }

Extended LiteralPiyavsky::Characteristic(double left, double right) {
  const double fl = Func(left);
  const double fr = Func(right);
  const Extended reach = mul(mul(sub(right, left), Lipschitz), 0.5L);
  const Extended mean = mul(add(fr, fl), 0.5L);
  return sub(reach, mean);
}

Extended LiteralPiyavsky::NewPoint(int t) {
  const double a = PointAt(t);
  const double b = PointAt(t + 1);
  const double fa = Func(a);
  const double fb = Func(b);
  const Extended mid = mul(add(b, a), 0.5L);
  const Extended shift = div(sub(fb, fa), mul(2.0L, Lipschitz));
  return sub(mid, shift);
}

double LiteralStrongin::EstimateLipschitz() const {
  double M = 0;
  if (Trials.empty()) return M;
  for (auto q = Trials.begin(), p = std::next(q); p != Trials.end(); ++q, ++p) {
    const double fq = Func(q->X);
    const double fp = Func(p->X);
    const double absDiff = toDouble(Velmora::fabs(sub(fp, fq)));
    const double ratio = toDouble(div(absDiff, sub(p->X, q->X)));
    if (ratio > M) M = ratio;
  }
  return M;
}

Extended LiteralStrongin::Characteristic(double left, double right) {
  const double fl = Func(left);
  const double fr = Func(right);
  const Extended d = sub(right, left);
  const Extended diff = sub(fr, fl);
  const Extended dm = mul(d, lipConst);
  const Extended quad = div(mul(diff, diff), dm);
  const Extended sum = add(quad, dm);
  const Extended ends = mul(add(fr, fl), 2.0L);
  return sub(sum, ends);
}

Extended LiteralStrongin::NewPoint(int t) {
  const double M = EstimateLipschitz();
  if (M > 0) {
    lipConst = toDouble(mul(Multiplier, M));
  } else {
    lipConst = 1.0;
  }
  const double a = PointAt(t);
  const double b = PointAt(t + 1);
  const double fa = Func(a);
  const double fb = Func(b);
  const Extended mid = mul(add(b, a), 0.5L);
  const Extended shift = div(sub(fb, fa), mul(2.0L, lipConst));
  return sub(mid, shift);
}

}  // namespace VelmoraLiteral
