// The methods for an f whose derivative is Lipschitz: their auxiliary
// function against f itself, and the engine's bookkeeping against the rules
// applied from scratch after every trial.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "Rules.h"
#include "SmoothMinorantSearch.h"

using VELMORAALG::SmoothMinorantSearch;
using VELMORAALG::TValueSlope;

namespace {

// f = sum of a_k sin(w_k x + p_k): f'' is at most sum |a_k| w_k^2, the
// Lipschitz constant of f'.
struct Waves {
  std::vector<double> a, w, p;
  TValueSlope operator()(double x) const {
    double f = 0, df = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
      f += a[k] * std::sin(w[k] * x + p[k]);
      df += a[k] * w[k] * std::cos(w[k] * x + p[k]);
    }
    return {f, df};
  }
  double curvatureBound() const {
    double m = 0;
    for (std::size_t k = 0; k < a.size(); ++k) m += std::fabs(a[k]) * w[k] * w[k];
    return m;
  }
};

Waves randomWaves(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> amp(-2, 2), freq(0.2, 6), phase(0, 6.3);
  Waves f;
  const int terms = 1 + static_cast<int>(rng() % 4);
  for (int k = 0; k < terms; ++k) {
    f.a.push_back(amp(rng));
    f.w.push_back(freq(rng));
    f.p.push_back(phase(rng));
  }
  return f;
}

// The rules read once more, every quantity from all trials after every
// trial, for the differential test below.
struct Literal {
  SmoothMinorantSearch::Estimate estimate;
  bool local;
  double r;
  std::vector<double> x, z, dz;

  std::vector<double> run(const Waves& f, double a, double b, int steps) {
    for (const double end : {a, b}) {
      const TValueSlope v = f(end);
      x.push_back(end), z.push_back(v.Value), dz.push_back(v.Slope);
    }
    std::vector<double> placed{a, b};
    double bestX = z[1] < z[0] ? b : a, bestZ = std::min(z[0], z[1]);
    bool localTurn = false, right = true, record = false;
    for (int step = 0; step < steps; ++step) {
      const std::size_t n = x.size() - 1;
      std::vector<double> v(n), m(n), charact(n), point(n);
      double V = 0, X = 0;
      for (std::size_t i = 0; i < n; ++i) {
        v[i] = VELMORAALG::CurvatureEstimate(x[i + 1] - x[i], z[i], z[i + 1], dz[i], dz[i + 1]);
        V = std::max(V, v[i]);
        X = std::max(X, x[i + 1] - x[i]);
      }
      for (std::size_t i = 0; i < n; ++i) {
        double base = std::max(SmoothMinorantSearch::Xi, V);
        if (estimate == SmoothMinorantSearch::Estimate::APriori) {
          base = 1;
        } else if (estimate == SmoothMinorantSearch::Estimate::LocalTuning) {
          double lambda = v[i];
          if (i > 0) lambda = std::max(lambda, v[i - 1]);
          if (i + 1 < n) lambda = std::max(lambda, v[i + 1]);
          base = std::max({SmoothMinorantSearch::Xi, V * (x[i + 1] - x[i]) / X, lambda});
        }
        m[i] = r * base;
        const VELMORAALG::SmoothMinorantRule rule = VELMORAALG::SmoothMinorant(x[i], x[i + 1], z[i], z[i + 1], dz[i], dz[i + 1], m[i]);
        charact[i] = rule.Charact;
        point[i] = rule.Point;
      }
      int chosen = -1;
      if (local && localTurn) {
        // Beside the best trial: after a new record the side of the larger
        // characteristic, else the right and the left in turn; one no
        // longer than delta leaves the step to the global choice.
        const int k = static_cast<int>(std::find(x.begin(), x.end(), bestX) - x.begin());
        int side = k;
        if (k == 0 || k == static_cast<int>(n)) {
          side = k == 0 ? 0 : k - 1;
        } else if (record) {
          side = charact[k] > charact[k - 1] ? k : k - 1;
        } else {
          side = right ? k : k - 1;
          right = !right;
        }
        if (x[side + 1] - x[side] > VELMORAALG::LocalImprovement::DeltaShare * (b - a)) chosen = side;
      }
      localTurn = !localTurn;
      if (chosen < 0)
        for (std::size_t i = 0; i < n; ++i)
          if (!std::isnan(charact[i]) && (chosen < 0 || charact[i] > charact[chosen])) chosen = static_cast<int>(i);
      if (chosen < 0) break;
      const double p = point[chosen];
      if (!(x[chosen] < p && p < x[chosen + 1])) break;
      const TValueSlope value = f(p);
      x.insert(x.begin() + chosen + 1, p), z.insert(z.begin() + chosen + 1, value.Value);
      dz.insert(dz.begin() + chosen + 1, value.Slope);
      placed.push_back(p);
      record = value.Value < bestZ;
      if (value.Value <= bestZ) bestX = p, bestZ = value.Value;
    }
    return placed;
  }
};

}  // namespace

// Below f wherever m is at least the Lipschitz constant of f', and lowest
// inside the interval; drawn piece by piece, it runs from f at one end to f at
// the other, below f and no lower than its minimum.
TEST(SmoothMinorant, liesBelowTheFunctionWhenItsEstimateHolds) {
  std::mt19937_64 rng(281);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int round = 0; round < 2000; ++round) {
    const Waves f = randomWaves(rng);
    const double left = -5 + 10 * unit(rng), right = left + 0.01 + 3 * unit(rng);
    const TValueSlope l = f(left), r = f(right);
    const double m = f.curvatureBound() * (1 + unit(rng));
    const VELMORAALG::SmoothMinorantRule rule = VELMORAALG::SmoothMinorant(left, right, l.Value, r.Value, l.Slope, r.Slope, m);
    ASSERT_FALSE(std::isnan(rule.Charact)) << round;
    EXPECT_GE(rule.Point, left);
    EXPECT_LE(rule.Point, right);
    double lowest = INFINITY;
    for (int k = 0; k <= 400; ++k) lowest = std::min(lowest, f(left + (right - left) * k / 400).Value);
    EXPECT_LE(-rule.Charact, lowest + 1e-9 * (1 + std::fabs(lowest))) << round;

    const double length = right - left;
    const VELMORAALG::SmoothPieces pieces = VELMORAALG::SmoothMinorantPieces(length, l.Value, r.Value, l.Slope, r.Slope, m);
    const auto drawn = [&](double u) {
      return VELMORAALG::SmoothMinorantAt(pieces, length, l.Value, r.Value, l.Slope, r.Slope, m, u);
    };
    const double tolerance = 1e-9 * (1 + std::fabs(lowest) + m * length * length);
    EXPECT_NEAR(drawn(0), l.Value, tolerance) << round;
    EXPECT_NEAR(drawn(length), r.Value, tolerance) << round;
    for (int k = 0; k <= 400; ++k) {
      const double u = length * k / 400;
      EXPECT_LE(drawn(u), f(left + u).Value + tolerance) << round << " at " << u;
      EXPECT_GE(drawn(u), -rule.Charact - tolerance) << round << " at " << u;
    }
    // The pieces meet where they join.
    for (const double join : {pieces.W, pieces.Y})
      if (join > 0 && join < length) EXPECT_NEAR(drawn(join), drawn(std::nextafter(join, length)), tolerance) << round;
  }
}

// Every trial of the engine where the rules applied from scratch put it, for
// each estimate, with and without local improvement; the a-priori M is at
// times below the curvature, where intervals have no auxiliary function.
TEST(SmoothMinorant, theEngineMakesTheTrialsOfTheLiteralRules) {
  std::mt19937_64 rng(1998);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int round = 0; round < 200; ++round) {
    const Waves f = randomWaves(rng);
    const double a = -3 * unit(rng), b = a + 1 + 8 * unit(rng);
    const double r = 1.1 + 2 * unit(rng);
    const double M = f.curvatureBound() * (0.5 + unit(rng));
    for (const auto estimate : {SmoothMinorantSearch::Estimate::APriori, SmoothMinorantSearch::Estimate::Global,
                                SmoothMinorantSearch::Estimate::LocalTuning}) {
      const double param = estimate == SmoothMinorantSearch::Estimate::APriori ? M : r;
      for (const bool local : {false, true}) {
        SCOPED_TRACE(std::to_string(round) + (local ? " with" : " without") + " local improvement");
        SmoothMinorantSearch engine(f, estimate,
                                    local ? VELMORAALG::LocalImprovement::Mode::Pessimistic
                                          : VELMORAALG::LocalImprovement::Mode::Off);
        engine.SetParameter(param);
        engine.SearchBySteps(a, b, 120);
        std::vector<VELMORAALG::TSearchInfo> trials = engine.GetTrials();
        std::sort(trials.begin(), trials.end(), [](const auto& p, const auto& q) { return p.placed < q.placed; });
        const std::vector<double> expected = Literal{estimate, local, param, {}, {}, {}}.run(f, a, b, 120);
        ASSERT_EQ(trials.size(), expected.size());
        for (std::size_t k = 0; k < trials.size(); ++k)
          ASSERT_EQ(std::bit_cast<std::uint64_t>(trials[k].x), std::bit_cast<std::uint64_t>(expected[k])) << "trial " << k + 1;
      }
    }
  }
}
