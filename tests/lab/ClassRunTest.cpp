#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>

#include "ClassRun.h"
#include "FormulaFunction.h"
#include "OperationalCharacteristic.h"
#include "Search.h"

using namespace Velmora::Lab;

namespace {

TestFunction handMade(const char* formula, double a, double b, double xstar) {
  return {TestClassId::Hill, 0, a, b, formula, xstar, 0, 0};
}

}  // namespace

TEST(ClassRun, eachWayARunEnds) {
  const struct {
    const char* reason;
    TestFunction f;
    MethodId method;
    double param;
    ClassRule rule;
    std::optional<int> firstHit;
    StopReason stop;
  } cases[] = {
      {"scanning places 0, 1, 0.5, then 0.25", handMade("(x[0]-0.25)^2", 0, 1, 0.25), MethodId::Scan, 0, {100, 1e-12}, 4,
       StopReason::StopRequested},
      {"a minimiser at a is trial 1", handMade("x[0]", 0, 1, 0), MethodId::Strongin, 2, {100, 1e-3}, 1, StopReason::StopRequested},
      {"a minimiser at b is trial 2", handMade("-x[0]", 0, 1, 1), MethodId::InfGl, 2, {100, 1e-3}, 2, StopReason::StopRequested},
      {"ten trials of scanning miss 1/3 by more than 1e-6", handMade("(x[0]-0.3333333)^2", 0, 1, 0.3333333),
       MethodId::Scan, 0, {10, 1e-6}, std::nullopt, StopReason::StepBoundHit},
      {"closing in on 0.3, never within 1e-12 of a wrong x*", handMade("(x[0]-0.3)^2", 0, 1, 0.9),
       MethodId::InfLtma, 2, {1000, 1e-12}, std::nullopt, StopReason::IntervalRuleMet},
      {"the README's example leaves its interval at step 5", handMade("sin(x[0])+sin(10*x[0]/3)", 2.7, 7.5, 5.1457),
       MethodId::InfLta, 1.1, {1000, 1e-9}, std::nullopt, StopReason::PointLeftInterval},
      {"NaN at both ends of every interval after the point 0", handMade("sqrt(x[0]^2-1)", -3, 3, 1), MethodId::GeomLtm, 2,
       {1000, 1e-9}, std::nullopt, StopReason::NoComparableInterval},
      {"the third trial divides by zero", handMade("1/(x[0]-0.5)", 0, 1, 0.9), MethodId::Scan, 0, {100, 1e-3},
       std::nullopt, StopReason::Fault},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    const ClassRun run = runOnTestFunction(c.f, c.method, c.param, c.rule);
    EXPECT_EQ(run.firstHit, c.firstHit);
    EXPECT_EQ(classRunStopKey(run.stop), classRunStopKey(c.stop));
    EXPECT_EQ(run.fault.has_value(), c.stop == StopReason::Fault);
  }
}

// A class run is a plain run of the printed formula under the interval rule
// and the budget, cut short at its first trial within delta of x*.
TEST(ClassRun, stopsAtThePlainRunsFirstTrialNearTheMinimiser) {
  const ClassRule rule{300, 1e-3};
  for (TestClassId cls : {TestClassId::Hill, TestClassId::Shekel}) {
    for (std::uint64_t index : {0u, 1u, 2u}) {
      const TestFunction f = makeTestFunction(cls, index);
      for (const MethodInfo& method : allMethods()) {
        SCOPED_TRACE(f.formula + " " + std::string(method.key));
        const double param = method.id == MethodId::Piyavsky ? lipschitzFromFunction(f) : 2;
        FormulaFunction formula(f.formula);
        SearchRequest plain;
        plain.objective = [&formula](double x) { return formula(x); };
        plain.slopeObjective = [&formula](double x) { return formula.withSlope(x); };
        plain.xmin = f.a;
        plain.xmax = f.b;
        plain.method = method.id;
        plain.param = param;
        // A peer knows the budget alone.
        const bool peer = !takesStop(method, StopKind::IntervalLength);
        plain.stop = peer ? StopKind::Steps : StopKind::IntervalLength;
        plain.steps = rule.maxTrials - 2;
        plain.eps = ClassIntervalRel * (f.b - f.a);
        plain.maxSteps = rule.maxTrials - 2;
        const SearchOutcome outcome = runSearch(plain);
        const std::vector<double> placed = placementOrder(outcome.trials);
        std::optional<int> expected;
        for (std::size_t i = 0; i < placed.size() && !expected; ++i)
          if (std::fabs(placed[i] - f.xstar) <= rule.delta * (f.b - f.a)) expected = static_cast<int>(i + 1);

        const ClassRun run = runOnTestFunction(f, method.id, param, rule);
        EXPECT_EQ(run.firstHit, expected);
        if (!expected) {
          // A peer's plain run spends its budget as a step rule.
          const StopReason plainStop =
              peer && outcome.stop == StopReason::StepsDone ? StopReason::StepBoundHit : outcome.stop;
          EXPECT_EQ(classRunStopKey(run.stop), classRunStopKey(plainStop));
        }
      }
    }
  }
}

TEST(OperationalCharacteristic, theStepsGiveTheShareSolvedWithinEveryK) {
  std::mt19937 random(20240601);
  for (int round = 0; round < 200; ++round) {
    const int lastK = std::uniform_int_distribution<int>(1, 60)(random);
    std::vector<std::optional<int>> hits(std::uniform_int_distribution<std::size_t>(1, 30)(random));
    for (std::optional<int>& hit : hits)
      if (random() % 4) hit = std::uniform_int_distribution<int>(1, lastK)(random);
    const std::vector<SharePoint> points = operationalCharacteristic(hits, lastK);
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.front().k, 1);
    EXPECT_EQ(points.back().k, lastK);
    std::size_t at = 0;
    for (int k = 1; k <= lastK; ++k) {
      while (at + 1 < points.size() && points[at + 1].k <= k) ++at;
      std::size_t within = 0;
      for (const std::optional<int>& hit : hits) within += hit && *hit <= k;
      ASSERT_EQ(points[at].share, static_cast<double>(within) / static_cast<double>(hits.size())) << "k = " << k;
    }
    for (std::size_t i = 1; i < points.size(); ++i) EXPECT_LT(points[i - 1].k, points[i].k);
  }
  EXPECT_TRUE(operationalCharacteristic({}, 10).empty());
}

TEST(FirstHitSummary, countsAndCentresOfTheSolvedRuns) {
  const struct {
    std::vector<std::optional<int>> hits;
    std::size_t solved;
    std::optional<double> mean, median;
    const char* reason;
  } cases[] = {
      {{}, 0, std::nullopt, std::nullopt, "no runs"},
      {{std::nullopt, std::nullopt}, 0, std::nullopt, std::nullopt, "none solved"},
      {{std::nullopt, 7}, 1, 7, 7, "one solved"},
      {{9, 1, 5}, 3, 5, 5, "odd count: the middle one"},
      {{4, 1, std::nullopt, 10, 2}, 4, 4.25, 3, "even count: the mean of the middle two"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    const FirstHitSummary summary = summariseFirstHits(c.hits);
    EXPECT_EQ(summary.runs, c.hits.size());
    EXPECT_EQ(summary.solved, c.solved);
    EXPECT_EQ(summary.meanFirstHit, c.mean);
    EXPECT_EQ(summary.medianFirstHit, c.median);
  }
}

// Over random first hits of several seeds: the band holds every seed's share
// and the mean, and the mean is the share of all the seeds' runs pooled.
TEST(OperationalZone, holdsEverySeedAndItsMeanCurve) {
  std::mt19937 draws(11);
  for (int trial = 0; trial < 50; ++trial) {
    const int lastK = 20 + static_cast<int>(draws() % 200);
    const std::size_t runs = 1 + draws() % 30;
    std::vector<std::vector<std::optional<int>>> bySeed(1 + draws() % 6);
    std::vector<std::optional<int>> pooled;
    for (auto& hits : bySeed) {
      for (std::size_t r = 0; r < runs; ++r) {
        const int hit = 1 + static_cast<int>(draws() % (lastK + 20));
        hits.push_back(hit <= lastK + 10 ? std::optional(hit) : std::nullopt);
        pooled.push_back(hits.back());
      }
    }
    const std::vector<ZonePoint> zone = operationalZone(bySeed, lastK);
    const std::vector<SharePoint> all = operationalCharacteristic(pooled, lastK);
    ASSERT_FALSE(zone.empty());
    EXPECT_EQ(zone.front().k, 1);
    EXPECT_EQ(zone.back().k, lastK);
    for (const ZonePoint& p : zone) {
      EXPECT_LE(p.low, p.mean + 1e-12);
      EXPECT_LE(p.mean, p.high + 1e-12);
      const auto at = std::upper_bound(all.begin(), all.end(), p.k, [](int k, const SharePoint& s) { return k < s.k; });
      EXPECT_NEAR(p.mean, std::prev(at)->share, 1e-12) << "k = " << p.k;
    }
  }
}

// Both csv kinds read back every stop their writers give, and nothing else.
TEST(ClassRun, everyStopKeyReadsBackAsItsReason) {
  int reasons = 0;
  for (int i = 0; !stopReasonKey(static_cast<StopReason>(i)).empty(); ++i, ++reasons) {
    const auto stop = static_cast<StopReason>(i);
    EXPECT_EQ(stopReasonFromKey(stopReasonKey(stop)), stop);
    EXPECT_EQ(classRunStopFromKey(classRunStopKey(stop)), stop);
  }
  EXPECT_EQ(reasons, static_cast<int>(StopReason::IntervalUnsplittable) + 1);
  for (const char* stranger : {"", "hit ", "Steps", "callback"}) EXPECT_EQ(stopReasonFromKey(stranger), std::nullopt);
  // A class run writes hit and budget, never the plain keys of the same stops.
  for (const char* plain : {"requested", "bound"}) EXPECT_EQ(classRunStopFromKey(plain), std::nullopt);
}
