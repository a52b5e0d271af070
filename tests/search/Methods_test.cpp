// The behaviour of the scheme and its three methods on cases whose numbers
// are known by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "Charact_opt.h"
#include "Extended.h"
#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

using namespace VELMORAALG;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

double Parabola(double x) { return x * x - 5; }

std::vector<double> Points(const TCharactOpt& opt) {
  std::vector<double> xs;
  for (const TSearchInfo& t : opt.GetTrials()) xs.push_back(t.x);
  return xs;
}

// --- the scheme -------------------------------------------------------------

TEST(Scheme, StepRuleLeavesStepsPlusTwoTrialsFromXminToXmax) {
  struct Case {
    int steps;
    int trials;
    const char* why;
  };
  const Case cases[] = {
      {-3, 2, "no step: the two ends"},
      {0, 2, "no step: the two ends"},
      {1, 3, "one step: xmin, the new point, xmax"},
      {7, 9, "a few levels"},
  };
  for (const Case& c : cases) {
    TScanOpt opt(Parabola);
    opt.SearchBySteps(-3, 5, c.steps);
    const auto trials = opt.GetTrials();
    ASSERT_EQ(static_cast<int>(trials.size()), c.trials) << c.why;
    EXPECT_EQ(opt.GetStepCount(), std::max(c.steps, 0)) << c.why;
    EXPECT_EQ(trials.front().x, -3) << c.why;
    EXPECT_EQ(trials.back().x, 5) << c.why;
    EXPECT_EQ(trials.back().charact, 0) << c.why;
  }
}

TEST(Scheme, WithoutStepsTheLowerEndWinsAndEqualEndsKeepXmin) {
  struct Case {
    double (*f)(double);
    double xmin, xmax, best;
    const char* why;
  };
  const Case cases[] = {
      {[](double x) { return x; }, 1, 2, 1, "lower at xmin"},
      {[](double x) { return -x; }, 1, 2, 2, "lower at xmax"},
      {[](double) { return 7.0; }, 1, 2, 1, "equal ends keep xmin"},
      {[](double x) { return std::sqrt(x); }, -10, 10, 10, "a number beats a NaN at xmin"},
      {[](double x) { return std::sqrt(-x); }, -10, 10, -10, "a NaN at xmax never wins"},
      {[](double) { return NaN; }, -1, 1, -1, "two NaNs: xmin as with equal values"},
  };
  for (const Case& c : cases) {
    TScanOpt opt(c.f);
    EXPECT_EQ(opt.SearchBySteps(c.xmin, c.xmax, 0), c.best) << c.why;
    EXPECT_EQ(opt.GetBestX(), c.best) << c.why;
  }
}

TEST(Scheme, ANewTrialEqualToTheBestValueBecomesTheBest) {
  TScanOpt opt([](double) { return 1.0; });
  // Midpoints 4, 2, 6: the newest equal value wins.
  EXPECT_EQ(opt.SearchBySteps(0, 8, 3), 6);
}

TEST(Scheme, PrecisionRuleMakesOneStepWhenEpsIsLarge) {
  TScanOpt opt(Parabola);
  opt.SearchByPrecision(-10, 10, 11);
  EXPECT_EQ(opt.GetStepCount(), 1);
  EXPECT_EQ(opt.GetPrecision(), 10);
  EXPECT_FALSE((opt.GetStopReason() == VELMORAALG::StopReason::StepBoundHit));
}

TEST(Scheme, PrecisionRuleStopsAtTheStepBoundAndSaysSo) {
  struct Case {
    double eps;
    int bound;
    int steps;
    bool hit;
    const char* why;
  };
  const Case cases[] = {
      {0, 50, 50, true, "eps 0 meets the bound"},
      {-1, 50, 50, true, "a negative eps meets the bound"},
      {1e-9, 3, 3, true, "an eps too small for the bound"},
      {5, 2, 2, false, "eps reached on the last allowed step"},
      {0.1, 1000, 128, false, "eps reached well inside the bound"},
  };
  for (const Case& c : cases) {
    TScanOpt opt(Parabola);
    opt.SearchByPrecision(-10, 10, c.eps, c.bound);
    EXPECT_EQ(opt.GetStepCount(), c.steps) << c.why;
    EXPECT_EQ((opt.GetStopReason() == VELMORAALG::StopReason::StepBoundHit), c.hit) << c.why;
  }
  TScanOpt opt(Parabola);
  opt.SearchByPrecision(-1, 1, 0);
  EXPECT_EQ(opt.GetStepCount(), TCharactOpt::MaxPrecisionSteps);
  EXPECT_TRUE((opt.GetStopReason() == VELMORAALG::StopReason::StepBoundHit));
  opt.SearchBySteps(-1, 1, 3);
  EXPECT_FALSE((opt.GetStopReason() == VELMORAALG::StopReason::StepBoundHit)) << "a step run clears the flag";
}

TEST(Scheme, IntervalLengthRuleStopsBeforeSplittingAShortInterval) {
  struct Case {
    double xmin, xmax, eps;
    int bound;
    int steps;
    bool hit;
    const char* why;
  };
  const Case cases[] = {
      {-10, 10, 20, 100, 0, false, "the whole interval is short enough"},
      {-10, 10, 19.9, 100, 1, false, "one split leaves halves of 10"},
      {-10, 10, 5, 100, 3, false, "two levels of halving: intervals of 5"},
      {10, -10, 5, 100, 2, false, "reversed: the Lab::shortest (negative) interval is chosen, measured absolute"},
      {3, 3, 0, 100, 0, false, "an empty interval is no longer than 0"},
      {-10, 10, 1e-9, 20, 20, true, "the bound stops it"},
      {-10, 10, NaN, 7, 7, true, "a NaN eps is never met"},
  };
  for (const Case& c : cases) {
    TScanOpt opt(Parabola);
    opt.SearchByIntervalLength(c.xmin, c.xmax, c.eps, c.bound);
    EXPECT_EQ(opt.GetStepCount(), c.steps) << c.why;
    EXPECT_EQ((opt.GetStopReason() == VELMORAALG::StopReason::StepBoundHit), c.hit) << c.why;
  }
}

TEST(Scheme, RepeatingARunGivesTheSameResults) {
  TStronginOpt opt(Parabola);
  opt.SetMultiplier(2);
  const double first = opt.SearchByPrecision(-10, 10, 0.01);
  const auto trials = opt.GetTrials();
  const int steps = opt.GetStepCount();
  opt.SearchBySteps(-3, 2, 17);
  EXPECT_EQ(opt.SearchByPrecision(-10, 10, 0.01), first);
  EXPECT_EQ(opt.GetStepCount(), steps);
  ASSERT_EQ(opt.GetTrials().size(), trials.size());
  for (size_t i = 0; i < trials.size(); ++i) {
    EXPECT_EQ(opt.GetTrials()[i].x, trials[i].x);
    EXPECT_EQ(opt.GetTrials()[i].charact, trials[i].charact);
  }
}

TEST(Scheme, EveryTrialIsEvaluatedOnceAndItsValueIsKept) {
  int calls = 0;
  const TOptFunc f = [&calls](double x) {
    ++calls;
    return std::sin(3 * x) + 0.1 * x;
  };
  TPiyavskyOpt piyavsky(f);
  piyavsky.SetLipschitz(4);
  TStronginOpt strongin(f);
  TScanOpt scan(f);
  for (TCharactOpt* opt : std::vector<TCharactOpt*>{&scan, &piyavsky, &strongin}) {
    calls = 0;
    opt->SearchBySteps(-5, 5, 200);
    EXPECT_EQ(calls, 202);
    for (const TSearchInfo& t : opt->GetTrials()) EXPECT_EQ(t.f, f(t.x));
  }
}

TEST(Scheme, FaultsOfFReachTheCallerAndTheNextRunStartsAfresh) {
  const TOptFunc f = [](double x) {
    if (x > 2) Velmora::raiseFault(Velmora::FaultKind::FloatOverflow);
    return x;
  };
  TScanOpt opt(f);
  try {
    opt.SearchBySteps(-4, 4, 5);
    FAIL() << "F's fault must end the run";
  } catch (const Velmora::ArithmeticFault& e) {
    EXPECT_STREQ(e.what(), "Floating point overflow");
  }
  // Init had placed both ends before F failed at xmax.
  EXPECT_EQ(opt.GetTrials().size(), 2u);
  EXPECT_EQ(opt.SearchBySteps(-4, 2, 5), -4);
  EXPECT_EQ(opt.GetTrials().size(), 7u);

  // Scanning asks for F at the new point only after inserting it.
  TScanOpt gap([](double x) {
    if (-1 < x && x < 0) Velmora::raiseFault(Velmora::FaultKind::FloatInvalid);
    return x;
  });
  EXPECT_THROW(gap.SearchBySteps(-3, 2, 5), Velmora::ArithmeticFault);
  ASSERT_EQ(gap.GetTrials().size(), 3u);
  const auto trials = gap.GetTrials();
  EXPECT_EQ(trials[0].f, -3);
  EXPECT_TRUE(std::isnan(trials[1].f)) << "F never answered at -0.5";
  EXPECT_EQ(trials[2].f, 2);
}

// A method whose characteristic is given by a table of the interval's left
// end, to pin down the choice rule.
class TableOpt : public TCharactOpt {
 public:
  explicit TableOpt(std::map<double, double> table)
      : TCharactOpt([](double x) { return x; }), table_(std::move(table)) {}
  void SetParameter(double) override {}

 protected:
  Velmora::Extended Characteristic(TTrialPoint& left, TTrialPoint&) override { return table_.at(left.X); }
  Velmora::Extended NewPoint(int t) override { return (TrialAt(t).X + TrialAt(t + 1).X) / 2; }

 private:
  std::map<double, double> table_;
};

TEST(Scheme, TheLeftmostStrictlyLargestCharacteristicWinsAndNaNNeverDoes) {
  // On [0, 8] the first step places 4; the later points show which interval won.
  struct Case {
    std::map<double, double> table;
    std::vector<double> points;
    const char* why;
  };
  const Case cases[] = {
      {{{0, 1}, {4, 1}, {2, 0}, {6, 0}}, {0, 2, 4, 8}, "a tie goes to the left"},
      {{{0, -5}, {4, -1}, {6, -9}}, {0, 4, 6, 8}, "all negative: the largest still wins"},
      {{{0, -0.0}, {4, 0.0}, {2, -1}}, {0, 2, 4, 8}, "-0 and +0 tie"},
      {{{0, 1}, {4, NaN}, {2, 0}}, {0, 2, 4, 8}, "a NaN never wins"},
      {{{0, -Inf}, {4, NaN}, {2, -Inf}}, {0, 2, 4, 8}, "not even over -inf"},
      {{{0, NaN}, {4, 3}, {2, NaN}}, {0, 2, 4, 8}, "interval 1 stays the choice when it is NaN"},
      {{{0, 1}, {4, 2}, {6, 0}}, {0, 4, 6, 8}, "the greater right one wins"},
  };
  for (const Case& c : cases) {
    TableOpt opt(c.table);
    opt.SearchBySteps(0, 8, 2);
    std::vector<double> expected = c.points;
    EXPECT_EQ(Points(opt), expected) << c.why;
  }
}

// --- sequential scanning -----------------------------------------------------

TEST(Scan, HundredStepsOnMinusTenToTenEndWithPrecision015625) {
  TScanOpt opt(Parabola);
  opt.SearchBySteps(-10, 10, 100);
  EXPECT_EQ(opt.GetPrecision(), 0.15625);
  EXPECT_EQ(opt.GetTrials().size(), 102u);
}

TEST(Scan, PrecisionPointOneOnMinusTenToTenTakes128Steps) {
  TScanOpt opt(Parabola);
  EXPECT_EQ(opt.SearchByPrecision(-10, 10, 0.1), 0);
  EXPECT_EQ(opt.GetStepCount(), 128);
  EXPECT_EQ(opt.GetPrecision(), 0.078125);
  EXPECT_EQ(opt.GetTrials()[1].x, -10 + 0.078125) << "step 128 halves the leftmost interval";
}

TEST(Scan, StepsGoLevelByLevelFromLeftToRight) {
  TScanOpt opt(Parabola);
  opt.SearchBySteps(-8, 8, 7);
  EXPECT_EQ(Points(opt), (std::vector<double>{-8, -6, -4, -2, 0, 2, 4, 6, 8}));
  EXPECT_EQ(opt.GetPrecision(), 2);
}

TEST(Scan, OneStepAndDegenerateIntervals) {
  struct Case {
    double a, b, point, precision;
    int precisionSteps;
    const char* why;
  };
  const Case cases[] = {
      {1, 4, 2.5, 1.5, 0, "the midpoint, half the length"},
      {3, 3, 3, 0, 1, "an empty interval: the point is xmin, precision 0"},
      {5, -5, 0, -5, 1, "reversed: a negative precision stops a precision run"},
  };
  for (const Case& c : cases) {
    TScanOpt opt(Parabola);
    opt.SearchBySteps(c.a, c.b, 1);
    EXPECT_EQ(opt.GetTrials()[1].x, c.point) << c.why;
    EXPECT_EQ(opt.GetPrecision(), c.precision) << c.why;
    if (c.precisionSteps > 0) {
      opt.SearchByPrecision(c.a, c.b, 0);
      EXPECT_EQ(opt.GetStepCount(), c.precisionSteps) << c.why;
    }
  }
}

// --- broken lines -----------------------------------------------------------

TEST(Piyavsky, ParabolaExampleLeavesTheIntervalOnItsSecondStep) {
  TPiyavskyOpt opt(Parabola);
  opt.SetLipschitz(1.5);
  opt.SearchBySteps(-10, 10, 1);
  EXPECT_EQ(opt.GetTrials()[1].x, 0);
  EXPECT_EQ(opt.GetPrecision(), 10);
  EXPECT_EQ(opt.GetTrials()[0].charact, -37.5);
  EXPECT_EQ(opt.GetTrials()[1].charact, -37.5);

  opt.SearchBySteps(-10, 10, 2);
  const auto trials = opt.GetTrials();
  EXPECT_NEAR(trials[1].x, -5 + 100.0 / 3, 1e-12) << "inserted after xmin though it lies right of 10";
  EXPECT_EQ(trials[2].x, 0);
  EXPECT_NEAR(opt.GetPrecision(), -(-5 + 100.0 / 3), 1e-12);

  EXPECT_EQ(opt.SearchByPrecision(-10, 10, 0.1), 0);
  EXPECT_EQ(opt.GetStepCount(), 2);
}

TEST(Piyavsky, EqualEndValuesGiveTheMidpointAndAnEmptyIntervalGivesMinusF) {
  TPiyavskyOpt opt(Parabola);
  opt.SetLipschitz(3);
  opt.SearchBySteps(-3, 3, 1);
  EXPECT_EQ(opt.GetTrials()[1].x, 0);

  opt.SearchBySteps(2, 2, 0);
  EXPECT_EQ(opt.GetTrials()[0].charact, 1) << "-F(2)";
  opt.SearchBySteps(2, 2, 1);
  EXPECT_EQ(opt.GetTrials()[1].x, 2);
  EXPECT_EQ(opt.GetPrecision(), 0);
}

TEST(Piyavsky, AllNegativeCharacteristicsNeverChooseTheLastRecord) {
  TPiyavskyOpt opt([](double x) { return x * x + 1000; });
  opt.SetLipschitz(1.5);
  opt.SearchBySteps(-1, 1, 60);
  const auto trials = opt.GetTrials();
  ASSERT_EQ(trials.size(), 62u);
  EXPECT_EQ(trials.back().x, 1);
  for (size_t i = 0; i + 1 < trials.size(); ++i) EXPECT_LT(trials[i].charact, 0);
}

TEST(Piyavsky, AFaultOfFOutsideTheIntervalEndsTheRun) {
  // With a tiny L the first point lands far left of the interval, where F overflows.
  TPiyavskyOpt opt([](double x) {
    if (std::fabs(x) > 100) Velmora::raiseFault(Velmora::FaultKind::FloatOverflow);
    return x;
  });
  opt.SetLipschitz(1e-6);
  EXPECT_THROW(opt.SearchBySteps(0, 1, 5), Velmora::ArithmeticFault);
  EXPECT_EQ(opt.GetStepCount(), 0);
  EXPECT_EQ(opt.GetTrials().size(), 2u) << "F failed before the new record was inserted";
  EXPECT_EQ(opt.GetBestX(), 0);
}

// --- information-statistical -----------------------------------------------

TEST(Strongin, ParabolaExample) {
  TStronginOpt opt(Parabola);
  EXPECT_EQ(opt.LipConst(), 1.0);
  EXPECT_EQ(opt.EstimateLipschitz(), 0);
  opt.SetMultiplier(1.5);

  opt.SearchBySteps(-10, 10, 1);
  EXPECT_EQ(opt.LipConst(), 1.0) << "equal end values: M = 0";
  EXPECT_EQ(opt.GetTrials()[1].x, 0);
  EXPECT_EQ(opt.GetPrecision(), 10);
  EXPECT_EQ(opt.GetTrials()[0].charact, 830);
  EXPECT_EQ(opt.GetTrials()[1].charact, 830);
  EXPECT_EQ(opt.EstimateLipschitz(), 10);

  opt.SearchBySteps(-10, 10, 2);
  EXPECT_EQ(opt.LipConst(), 15);
  EXPECT_NEAR(opt.GetTrials()[1].x, -5 + 100.0 / 30, 1e-12);
  EXPECT_NEAR(opt.GetPrecision(), 5 - 100.0 / 30, 1e-12);

  EXPECT_EQ(opt.SearchByPrecision(-10, 10, 0.1), 0);
  EXPECT_EQ(opt.GetStepCount(), 21);
}

TEST(Strongin, AConstantFunctionIsScannedAtMidpoints) {
  const TOptFunc f = [](double) { return 2.0; };
  TStronginOpt strongin(f);
  TScanOpt scan(f);
  strongin.SearchBySteps(-1, 3, 30);
  scan.SearchBySteps(-1, 3, 30);
  EXPECT_EQ(Points(strongin), Points(scan));
  EXPECT_EQ(strongin.LipConst(), 1.0);
}

TEST(Strongin, AnEmptyIntervalFaultsAndAnUnsplittableOneStops) {
  TStronginOpt opt(Parabola);
  try {
    opt.SearchBySteps(4, 4, 3);
    FAIL() << "an empty interval must fail";
  } catch (const Velmora::ArithmeticFault& e) {
    EXPECT_EQ(e.kind(), Velmora::FaultKind::FloatInvalid) << "zero divided by zero";
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
  // A precision run far below the resolution of doubles stops, with its best
  // point, when the new point falls on an end instead of dividing by zero.
  const double b = 1 + 4 * std::numeric_limits<double>::epsilon();
  EXPECT_EQ(opt.SearchByPrecision(1, b, 0), 1.0);
  EXPECT_EQ(opt.GetStopReason(), VELMORAALG::StopReason::IntervalUnsplittable);
  EXPECT_GE(opt.GetStepCount(), 1);
  for (const auto& t : opt.GetTrials()) EXPECT_TRUE(t.x >= 1 && t.x <= b);
  // The minimum at an end, where a student first looks: 33 steps, then no fault.
  TStronginOpt square([](double x) { return x * x; });
  square.SetMultiplier(2);
  EXPECT_EQ(square.SearchBySteps(2.7, 7.5, 100), 2.7);
  EXPECT_EQ(square.GetStopReason(), VELMORAALG::StopReason::IntervalUnsplittable);
  EXPECT_LT(square.GetStepCount(), 100);
}

TEST(Strongin, ASlopeBeyondTheDoubleRangeFailsTheNextStep) {
  // Subnormal spacing: the slope 0.1 / 4e-310 overflows when it is stored,
  // though the characteristic 0.01 / 4e-310 - 0.2 stays in range.
  TStronginOpt opt([](double x) { return x > 0 ? 0.1 : 0.0; });
  EXPECT_NO_THROW(opt.SearchBySteps(0, 4e-310, 0));
  try {
    opt.SearchBySteps(0, 4e-310, 1);
    FAIL() << "the slope estimate must fail";
  } catch (const Velmora::ArithmeticFault& e) {
    EXPECT_EQ(e.kind(), Velmora::FaultKind::FloatOverflow);
  }
  EXPECT_EQ(opt.GetTrials().size(), 2u);
  EXPECT_THROW(opt.EstimateLipschitz(), Velmora::ArithmeticFault);
}

TEST(Strongin, TheConstantOnlyGrowsWithSteeperSlopesAndIsCountedWhenItChanges) {
  TStronginOpt opt([](double x) { return std::sin(x) + std::sin(10 * x / 3); });
  opt.SetMultiplier(2);
  opt.SearchBySteps(-10, 10, 2000);
  EXPECT_GT(opt.GetRefreshCount(), 0);
  EXPECT_LT(opt.GetRefreshCount(), 2000);
  EXPECT_GT(opt.LipConst(), 2 * 3.0) << "the slope of sin x + sin 10x/3 reaches about 4.3";
}

}  // namespace
