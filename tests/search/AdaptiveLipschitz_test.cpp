// The adaptive-estimate search: its formulas on trials worked out exactly, the
// incremental engine against the full recomputation of tests/search's
// LiteralAdaptive over random cases, and the run that ends because an
// estimate fell below a slope.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "AdaptiveLipschitzSearch.h"
#include "Extended.h"
#include "Adaptive_pair.h"
#include "LiteralAdaptive.h"

using VELMORAALG::AdaptiveLipschitzSearch;
using Characteristic = AdaptiveLipschitzSearch::Characteristic;
using Estimate = AdaptiveLipschitzSearch::Estimate;
using VELMORAALG::StopReason;

using namespace VelmoraLiteral;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

const auto& Variants = VELMORAALG::AdaptiveVariants;

// Piecewise linear with slopes 1, 7, -1 and 1 between kinks at 0.5, 2.5 and
// 3.25; exact at 80 bits, so F is rounded once, like the script's.
double Kinked(double x) {
  const Velmora::Extended v = x;
  return static_cast<double>(3 * Velmora::fabs(v - 0.5L) - 4 * Velmora::fabs(v - 2.5L) + Velmora::fabs(v - 3.25L) + v);
}

// Three steps of each variant with r = 2 on [0, 4], worked in exact rational
// arithmetic by a separate script that rounds each stored value (F, H_i, l_i,
// R_i, the new point) to the nearest double: the inner trials the steps
// placed, every l_i and R_i then, the interval the fourth step chooses and its
// point. The local estimates differ from the global one exactly where the
// formulas say: l_1 of ltm is 2 * max(lambda_1, gamma_1) with gamma_1 tiny,
// lta averages lambda and gamma, ltma keeps at least H_i.
TEST(AdaptiveLipschitz, eachVariantsEstimatesCharacteristicsAndChoiceOnWorkedTrials) {
  struct Worked {
    const char* id;
    std::vector<double> inner, l, R;
    int chosen;
    double next;
  };
  const Worked cases[] = {
      {"geom-gl", {0.35714285714285715, 1.0, 1.84375}, {14.0, 14.0, 14.0, 14.0},
       {7.571428571428572, 7.571428571428571, 4.203125, 8.140625}, 4, 2.7578125},
      {"geom-ltm", {0.35714285714285715, 1.0, 1.84375}, {11.333333333333334, 14.0, 14.0, 14.0},
       {7.095238095238096, 7.571428571428571, 4.203125, 8.140625}, 4, 2.7578125},
      {"geom-lta", {0.3048090523338048, 1.0, 1.84375},
       {6.3048861788297454, 9.256851772133736, 9.73913043478261, 14.0},
       {6.058488664453897, 6.315235251770673, 2.405570652173913, 8.140625}, 4, 2.7578125},
      {"geom-ltma", {0.3048090523338048, 1.0, 1.84375}, {6.3048861788297454, 10.630722278738556, 14.0, 14.0},
       {6.058488664453897, 6.792786421499294, 4.203125, 8.140625}, 4, 2.7578125},
      {"inf-gl", {0.1125, 0.25, 1.0}, {10.0, 10.0, 10.0, 10.0}, {21.91125, 21.66375, 21.875, 17.675}, 1,
       0.05062500000000001},
      {"inf-ltm", {0.1125, 0.25, 1.0}, {2.0000000000000027, 10.0, 10.0, 10.0},
       {21.056250000000002, 21.66375, 21.875, 17.675}, 3, 0.4375},
      {"inf-lta", {0.04895161290322579, 0.12499999999999997, 1.0},
       {1.0722619047619062, 4.5408333333333335, 5.720238095238096, 8.857142857142858},
       {21.00023838830146, 21.014167497229934, 20.755208333333332, 14.720622119815669}, 2, 0.07860197047105415},
      {"inf-ltma", {0.10192307692307692, 0.25, 1.0}, {2.0000000000000018, 5.246794871794871, 10.0, 10.0},
       {21.05096153846154, 21.10130544475691, 21.875, 17.675}, 3, 0.4375},
  };
  // The first eight, without local improvement: their steps all take the global choice.
  for (std::size_t v = 0; v < std::size(cases); ++v) {
    const Worked& c = cases[v];
    SCOPED_TRACE(c.id);
    ASSERT_EQ(c.id, Variants[v].key);
    AdaptiveLipschitzSearch search(Kinked, Variants[v].characteristic, Variants[v].estimate);
    search.SearchBySteps(0, 4, 3);
    const std::vector<VELMORAALG::TSearchInfo> trials = search.GetTrials();
    const std::vector<double> l = search.GetIntervalConstants();
    ASSERT_EQ(trials.size(), 5u);
    ASSERT_EQ(l.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(trials[i + 1].x, c.inner[i]) << "trial " << i + 1;
    for (int i = 0; i < 4; ++i) {
      EXPECT_DOUBLE_EQ(l[i], c.l[i]) << "l of interval " << i + 1;
      EXPECT_DOUBLE_EQ(trials[i].charact, c.R[i]) << "R of interval " << i + 1;
    }

    std::vector<VELMORAALG::TStepRecord> records;
    search.SetStepObserver([&](const VELMORAALG::TStepRecord& r) { records.push_back(r); });
    search.SearchBySteps(0, 4, 4);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[3].Interval, c.chosen);
    EXPECT_DOUBLE_EQ(records[3].X, c.next);
    EXPECT_EQ(records[3].Constant, l[c.chosen - 1]);
    EXPECT_EQ(records[3].Charact, trials[c.chosen - 1].charact);
    EXPECT_EQ(records[3].Precision, trials[c.chosen].x - records[3].X);
  }
}

// sin(x) + sin(10x/3) on [2.7, 7.5], inf-lta with r = 1.1: the fifth step's point
// would fall left of its interval [5.0947, 5.9061], whose own slope 2.78 is
// above the estimate 2.45 (a double-precision run of the rules shows it).
TEST(AdaptiveLipschitz, anAdditiveEstimateBelowTheSlopeEndsTheRunBeforeF) {
  int calls = 0;
  AdaptiveLipschitzSearch search(
      [&](double x) {
        ++calls;
        return std::sin(x) + std::sin(10 * x / 3);
      },
      Characteristic::Information, Estimate::LocalAdditive);
  search.SetReliability(1.1);
  std::vector<VELMORAALG::TStepRecord> records;
  search.SetStepObserver([&](const VELMORAALG::TStepRecord& r) { records.push_back(r); });
  search.SearchByIntervalLength(2.7, 7.5, 1e-4);
  EXPECT_EQ(search.GetStopReason(), StopReason::PointLeftInterval);
  EXPECT_EQ(search.GetStepCount(), 4);
  EXPECT_EQ(records.size(), 4u);
  EXPECT_EQ(calls, 6);
  EXPECT_EQ(search.GetTrials().size(), 6u);

  // With r = 2 the same run keeps every point inside and meets its rule.
  search.SetReliability(2);
  search.SearchByIntervalLength(2.7, 7.5, 1e-4);
  EXPECT_EQ(search.GetStopReason(), StopReason::IntervalRuleMet);
  EXPECT_GT(search.GetStepCount(), 4);
}

TEST(AdaptiveLipschitz, refusesWhatNoRunCanUse) {
  AdaptiveLipschitzSearch search([](double x) { return x; }, Characteristic::Geometric, Estimate::Global);
  for (const double r : {0.0, -1.0, NaN, Inf}) EXPECT_THROW(search.SetReliability(r), std::invalid_argument) << r;
  EXPECT_EQ(search.GetReliability(), AdaptiveLipschitzSearch::DefaultReliability);
  search.SetReliability(1e-3);
  EXPECT_EQ(search.GetReliability(), 1e-3);
  for (const auto& [a, b] : {std::pair{1.0, 1.0}, {2.0, 1.0}, {NaN, 1.0}, {-Inf, 0.0}})
    EXPECT_THROW(search.SearchBySteps(a, b, 5), std::invalid_argument) << a << " " << b;
}

// --- the incremental engine against the full recomputation --------------------

Case MakeCase(int index) {
  std::mt19937_64 rng(0xADA971ull * 7919 + static_cast<std::uint64_t>(index));
  const auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  const auto integer = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
  const auto chance = [&](double p) { return uniform(0, 1) < p; };
  const auto pick = [&](std::initializer_list<double> items) { return items.begin()[integer(0, items.size() - 1)]; };

  Case c;
  c.variant = Variants[integer(0, static_cast<int>(Variants.size()) - 1)];
  c.r = pick({2.0, 2.0, 1.1, 0.6, 0.3, 3.5, 10.0, 1e-3, 1e5});
  switch (integer(0, 4)) {
    case 0: c.xmin = -10, c.xmax = 10; break;
    case 1: c.xmin = uniform(-50, 50), c.xmax = c.xmin + uniform(0.01, 60); break;
    case 2: c.xmin = uniform(-1e-3, 1e-3), c.xmax = c.xmin + uniform(1e-12, 1e-3); break;
    case 3:  // a few units of the last place
      c.xmin = uniform(-2, 2);
      c.xmax = c.xmin;
      for (int i = integer(1, 6); i > 0; --i) c.xmax = std::nextafter(c.xmax, Inf);
      break;
    default: c.xmin = -pick({1e300, 1.7e308}), c.xmax = pick({1e300, 1.7e308}); break;
  }
  const double span = std::isfinite(c.xmax - c.xmin) ? c.xmax - c.xmin : 1e308;
  const auto region = [&] {
    const double a = uniform(c.xmin, c.xmax - 0.2 * span);
    return Region{a, a + uniform(0, 0.3) * span};
  };
  Objective& f = c.f;
  const double scale = std::max(span, 1e-3);
  f.amp = pick({1.0, 5.0, 1e-3, 0.0});
  f.freq = pick({1.0, 3.0, 40.0}) / scale * 6;
  f.phase = uniform(0, 6);
  f.quad = pick({0.0, 1.0, -0.5}) / (scale * scale) * 10;
  f.shift = pick({0.0, -5.0, 1e6});
  if (chance(0.25)) f.flat = region(), f.flatValue = pick({0.0, -1.0, 3.0});
  if (chance(0.15)) f.undefined = region();
  if (chance(0.08)) f.huge = region(), f.hugeValue = pick({1e308, -1.7e308, Inf, -Inf});
  if (chance(0.2)) f.steep = region(), f.steepSlope = pick({1e3, -1e6, 1e12}) / scale;
  if (chance(0.15)) f.failing = region(), f.faultKind = integer(0, 1);
  if (chance(0.25)) f.quantum = pick({0.5, 0.01});

  c.rule = static_cast<Rule>(integer(0, 2));
  const bool long_ = chance(0.08);
  c.steps = long_ ? integer(300, 1500) : integer(0, 80);
  c.bound = long_ ? integer(300, 1500) : integer(0, 100);
  c.eps = pick({1e-1, 1e-3, 1e-6, 0.0, NaN}) * span;
  c.stopAt = chance(0.15) ? integer(1, 40) : 0;
  return c;
}

constexpr int CaseCount = 3000;

TEST(AdaptiveLipschitz, incrementalEngineMatchesTheFullRecomputation) {
  constexpr int reasons = static_cast<int>(StopReason::IntervalUnsplittable) + 1;
  int ends[reasons] = {}, faults = 0, longRuns = 0, refreshedLess = 0;
  for (int i = 0; i < CaseCount; ++i) {
    const Case c = MakeCase(i);
    RunResult a;
    int refreshes = 0;
    const std::string difference = CompareOnCase(c, a, refreshes);
    ASSERT_TRUE(difference.empty()) << Describe(c, i) << ": " << difference;
    // F once per trial; a call that failed placed none, and a failure at an
    // end leaves the other end unevaluated.
    if (a.fault.empty())
      EXPECT_EQ(a.calls, static_cast<int>(a.trials.size())) << Describe(c, i);
    else
      EXPECT_LE(a.calls, static_cast<int>(a.trials.size()) + (a.failedInF ? 1 : 0)) << Describe(c, i);
    if (a.fault.empty())
      ++ends[static_cast<int>(a.end)];
    else
      ++faults;
    if (a.trials.size() > 200) ++longRuns;
    if (a.steps > 20 && refreshes < a.steps / 2) ++refreshedLess;
  }
  // The cases reach every way a run ends, and the incremental path carries most steps.
  for (int e = 0; e < reasons; ++e)
    if (static_cast<StopReason>(e) != StopReason::Fault)
      EXPECT_GT(ends[e], 10) << VELMORAALG::stopReasonKey(static_cast<StopReason>(e));
  EXPECT_GT(faults, 100);
  EXPECT_GT(longRuns, 20);
  EXPECT_GT(refreshedLess, 200);
}

}  // namespace
