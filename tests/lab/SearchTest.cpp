// The core's run: the trials' placement order, the outcome's account of why a
// run stopped, and runs on an object the caller holds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "AdaptiveLipschitzSearch.h"
#include "Extended.h"
#include "Math_Parser.h"
#include "OutsideWarning.h"
#include "Search.h"

using namespace Velmora::Lab;

namespace {

double Bumpy(double x) { return std::sin(x) + std::sin(10 * x / 3) + std::log(x) - 0.84 * x + 3; }
double TwoSines(double x) { return std::sin(x) + std::sin(10 * x / 3); }

SearchRequest stepsRequest(MethodId method, int steps) {
  SearchRequest request;
  request.objective = Bumpy;
  request.xmin = 2.7;
  request.xmax = 7.5;
  request.method = method;
  request.param = method == MethodId::Piyavsky ? 6 : 2;
  request.steps = steps;
  return request;
}

// The window keeps one object between presses: a run on it is the run the
// core would make, and the steps are recorded only when asked for.
TEST(Search, aHeldObjectRunsAsAFreshOne) {
  SearchRequest request = stepsRequest(MethodId::Strongin, 40);
  const auto held = methodInfo(MethodId::Strongin).make(Bumpy);
  const SearchOutcome first = runSearch(*held, request);
  request.recordSteps = true;
  const SearchOutcome fresh = runSearch(request);
  const SearchOutcome again = runSearch(*held, request);
  for (const SearchOutcome* o : {&fresh, &again}) {
    ASSERT_EQ(o->trials.size(), first.trials.size());
    for (std::size_t i = 0; i < first.trials.size(); ++i) {
      EXPECT_EQ(o->trials[i].x, first.trials[i].x);
      EXPECT_EQ(o->trials[i].charact, first.trials[i].charact);
    }
    EXPECT_EQ(o->bestX, first.bestX);
    EXPECT_EQ(o->stepRecords.size(), 40u);
  }
  EXPECT_TRUE(first.stepRecords.empty());
  EXPECT_FALSE(first.evaluations);
}

// Each variant's id makes the engine with its own rules and the default r
// (the a-priori estimate takes the problem's L, 6), and the outcome is the
// run as the engine left it.
TEST(Search, eachVariantRunsItsOwnRulesThroughTheCore) {
  using VELMORAALG::AdaptiveLipschitzSearch;
  for (const VELMORAALG::AdaptiveVariant& v : VELMORAALG::AdaptiveVariants) {
    SCOPED_TRACE(std::string(v.key));
    const MethodId id = findMethod(v.key)->id;
    SearchRequest request = stepsRequest(id, 40);
    const bool given = v.estimate == AdaptiveLipschitzSearch::Estimate::APriori;
    const double param = given ? 6 : v.defaultReliability;
    request.param = given ? std::optional<double>(param) : std::nullopt;
    request.recordSteps = true;
    const SearchOutcome outcome = runSearch(request);

    AdaptiveLipschitzSearch engine(Bumpy, v.characteristic, v.estimate, v.localImprovement);
    engine.SetReliability(param);
    engine.SearchBySteps(request.xmin, request.xmax, 40);
    const std::vector<VELMORAALG::TSearchInfo> trials = engine.GetTrials();
    ASSERT_EQ(outcome.trials.size(), trials.size());
    for (std::size_t i = 0; i < trials.size(); ++i) {
      EXPECT_EQ(outcome.trials[i].x, trials[i].x);
      EXPECT_EQ(outcome.trials[i].f, trials[i].f);
      EXPECT_EQ(outcome.trials[i].charact, trials[i].charact);
      EXPECT_EQ(outcome.trials[i].placed, trials[i].placed);
    }
    EXPECT_EQ(outcome.paramUsed, param);
    EXPECT_EQ(outcome.stop, StopReason::StepsDone);
    EXPECT_EQ(outcome.bestX, engine.GetBestX());
    EXPECT_EQ(outcome.stepRecords.size(), 40u);
    EXPECT_EQ(outcome.evaluations, trials.size());
  }
}

TEST(Search, outcomeSaysWhyTheRunStopped) {
  const auto raisesInside = [](double x) {
    if (x > 2.8 && x < 7.4) Velmora::raiseFault(Velmora::FaultKind::FloatZeroDivide);
    return TwoSines(x);
  };
  struct Case {
    const char* why;
    VELMORAALG::TOptFunc f;
    double xmin, xmax;
    MethodId method;
    double param;
    StopKind rule;
    double eps;
    int maxSteps;
    int stopAfterStep;
    StopReason reason;
    int steps;  ///< -1: any
  };
  const Case cases[] = {
      {"the count reached", TwoSines, 2.7, 7.5, MethodId::InfGl, 2, StopKind::Steps, 0, MaxSteps, 0,
       StopReason::StepsDone, 12},
      {"Strongin: a step came within eps", TwoSines, 2.7, 7.5, MethodId::Strongin, 2, StopKind::Precision, 0.01,
       MaxSteps, 0, StopReason::PrecisionReached, -1},
      {"Strongin: eps 0 is never reached", TwoSines, 2.7, 7.5, MethodId::Strongin, 2, StopKind::Precision, 0, 20, 0,
       StopReason::StepBoundHit, 20},
      {"scanning: the interval rule", TwoSines, 2.7, 7.5, MethodId::Scan, 2, StopKind::IntervalLength, 1e-3, MaxSteps,
       0, StopReason::IntervalRuleMet, -1},
      {"a step came within eps", TwoSines, 2.7, 7.5, MethodId::InfLtm, 2, StopKind::Precision, 0.01, MaxSteps, 0,
       StopReason::PrecisionReached, -1},
      {"the interval rule", TwoSines, 2.7, 7.5, MethodId::GeomGl, 2, StopKind::IntervalLength, 1e-3, MaxSteps, 0,
       StopReason::IntervalRuleMet, -1},
      {"a bound below the steps the rule needs", TwoSines, 2.7, 7.5, MethodId::InfGl, 2, StopKind::IntervalLength,
       1e-3, 20, 0, StopReason::StepBoundHit, 20},
      {"asked after step 5", TwoSines, 2.7, 7.5, MethodId::InfLtma, 2, StopKind::IntervalLength, 1e-3, MaxSteps, 5,
       StopReason::StopRequested, 5},
      {"asked after the last step, for the window's Strongin too", TwoSines, 2.7, 7.5, MethodId::Strongin, 2,
       StopKind::Steps, 0, MaxSteps, 12, StopReason::StopRequested, 12},
      {"the estimate fell below the slope", TwoSines, 2.7, 7.5, MethodId::InfLta, 1.1, StopKind::IntervalLength,
       1e-4, MaxSteps, 0, StopReason::PointLeftInterval, 4},
      {"F undefined inside after the first step", [](double x) { return std::sqrt(x * x - 1); }, -3, 3,
       MethodId::GeomLtm, 2, StopKind::Steps, 0, MaxSteps, 0, StopReason::NoComparableInterval, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    SearchRequest request;
    request.objective = c.f;
    request.xmin = c.xmin;
    request.xmax = c.xmax;
    request.method = c.method;
    request.param = c.param;
    request.stop = c.rule;
    request.steps = 12;
    request.eps = c.eps;
    request.maxSteps = c.maxSteps;
    if (c.stopAfterStep) request.stopAfter = [&](const VELMORAALG::TStepRecord& r) { return r.Step == c.stopAfterStep; };
    const SearchOutcome outcome = runSearch(request);
    EXPECT_EQ(outcome.stop, c.reason);
    EXPECT_FALSE(outcome.fault);
    if (c.steps >= 0) {
      EXPECT_EQ(outcome.stepCount, c.steps);
    }
    EXPECT_EQ(outcome.trials.size(), static_cast<std::size_t>(outcome.stepCount) + 2);
    EXPECT_EQ(outcome.evaluations, outcome.trials.size());
  }

  // F's fault at the first new point: the ends stay, with their values.
  SearchRequest faulting = stepsRequest(MethodId::InfGl, 5);
  faulting.objective = raisesInside;
  SearchOutcome outcome = runSearch(faulting);
  EXPECT_EQ(outcome.stop, StopReason::Fault);
  EXPECT_EQ(outcome.fault, "Floating point division by zero");
  ASSERT_EQ(outcome.trials.size(), 2u);
  EXPECT_EQ(outcome.trials[1].f, TwoSines(7.5));
  EXPECT_EQ(outcome.bestX, 7.5);
  EXPECT_EQ(outcome.evaluations, 3u);

  // Scanning's first new point on [-10, 12] is 1, where F divides by zero;
  // the library's report on the way is kept with the fault.
  Math_Parser::TParser parser;
  double vars[10] = {};
  parser.Values = vars;
  parser.Parse("1/(x[0]-1) + sqrt(x[0])");
  SearchRequest scanning;
  scanning.objective = [&](double x) {
    vars[0] = x;
    return parser.Evaluate();
  };
  scanning.xmin = -10;
  scanning.xmax = 12;
  scanning.steps = 5;
  outcome = runSearch(scanning);
  EXPECT_EQ(outcome.stop, StopReason::Fault);
  EXPECT_EQ(outcome.fault, "Floating point division by zero");
  EXPECT_EQ(outcome.reports, std::vector<std::string>{"sqrt: DOMAIN error"});
  EXPECT_EQ(outcome.evaluations, 3u);

  // An interval no variant can search ends as a fault that says why, before F.
  faulting.xmax = faulting.xmin;
  outcome = runSearch(faulting);
  EXPECT_EQ(outcome.stop, StopReason::Fault);
  EXPECT_EQ(outcome.fault, "the interval must be finite with its left end below its right end");
  EXPECT_EQ(outcome.evaluations, 0u);
}

// The outcome's count of trials outside the interval agrees with the step
// records, whose points are the trials but the ends.
TEST(Search, countsTheTrialsOutsideTheIntervalAndTheFirstStepThatPlacedOne) {
  struct Case {
    const char* why;
    MethodId method;
    double param;
    bool leaves;
  };
  const Case cases[] = {
      {"Piyavsky with L far below the slope of about 4.3", MethodId::Piyavsky, 0.2, true},
      {"Piyavsky with L above it", MethodId::Piyavsky, 6, false},
      {"scanning never leaves", MethodId::Scan, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    SearchRequest request = stepsRequest(c.method, 60);
    request.objective = TwoSines;
    request.param = c.param;
    request.recordSteps = true;
    const SearchOutcome outcome = runSearch(request);
    std::size_t outside = 0;
    int first = 0;
    for (const VELMORAALG::TStepRecord& r : outcome.stepRecords)
      if (r.X < request.xmin || r.X > request.xmax) first = ++outside == 1 ? r.Step : first;
    EXPECT_EQ(outside > 0, c.leaves);
    EXPECT_EQ(outcome.trialsOutside, outside);
    EXPECT_EQ(outcome.firstStepOutside, first);
  }
}

}  // namespace

// The warning blames L only for points beyond the interval; points at NaN
// come from values of F that are not numbers, whatever L is.
TEST(OutsideWarning, blamesLOnlyForPointsBeyondTheInterval) {
  const struct {
    double (*f)(double);
    double L;
    bool nan, beyond;
  } cases[] = {
      {[](double x) { return std::sqrt(x); }, 1.5, true, false},
      {[](double x) { return -x; }, 0.5, false, true},
  };
  for (const auto& c : cases) {
    SearchRequest r;
    r.objective = c.f;
    r.xmin = -1;
    r.xmax = 1;
    r.method = MethodId::Piyavsky;
    r.param = c.L;
    r.steps = 6;
    const std::string text = outsideWarning(runSearch(r), r.method, -1, 1).value_or("");
    EXPECT_EQ(text.find("x = nan") != std::string::npos, c.nan) << text;
    EXPECT_EQ(text.find("A larger L") != std::string::npos, c.beyond) << text;
  }
}
