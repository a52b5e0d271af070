// The core's run: the trials' placement order, the outcome's account of why a
// run stopped, and runs on an object the caller holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Math_Parser.h"
#include "Search.h"

using namespace Velmora::Lab;

namespace {

double Bumpy(double x) { return std::sin(x) + std::sin(10 * x / 3) + std::log(x) - 0.84 * x + 3; }

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

// Runs of growing length show directly which point each step added.
TEST(Search, placementOrderIsTheOrderOfTheSteps) {
  for (const MethodInfo& info : windowMethods()) {
    SCOPED_TRACE(std::string(info.key));
    const std::vector<double> order = placementOrder(runSearch(stepsRequest(info.id, 30)).trials);
    ASSERT_EQ(order.size(), 32u);
    EXPECT_EQ(order[0], 2.7);
    EXPECT_EQ(order[1], 7.5);
    std::vector<double> before{2.7, 7.5};
    for (int k = 1; k <= 30; ++k) {
      std::vector<double> after;
      for (const Trial& t : runSearch(stepsRequest(info.id, k)).trials) after.push_back(t.x);
      std::vector<double> added;
      for (double x : after)
        if (std::find(before.begin(), before.end(), x) == before.end()) added.push_back(x);
      ASSERT_EQ(added.size(), 1u) << "step " << k;
      EXPECT_EQ(order[k + 1], added[0]) << "step " << k;
      before = after;
    }
  }
}

TEST(Search, outcomeSaysWhyTheRunStopped) {
  struct Case {
    StopRule rule;
    int steps;
    double eps;
    StopReason reason;
    const char* why;
  };
  const Case cases[] = {
      {StopRule::Steps, 12, 0, StopReason::StepsDone, "the count reached"},
      {StopRule::Precision, 0, 0.01, StopReason::PrecisionReached, "a step came within eps"},
      {StopRule::Precision, 0, 0, StopReason::StepBoundHit, "eps 0 is never reached"},
      {StopRule::IntervalLength, 0, 1e-3, StopReason::IntervalRuleMet, "the interval rule"},
      {StopRule::IntervalLength, 0, 1e-3, StopReason::StepBoundHit, "a bound below the steps it needs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    SearchRequest request = stepsRequest(MethodId::Strongin, c.steps);
    request.stop = c.rule;
    request.eps = c.eps;
    if (c.reason == StopReason::StepBoundHit) request.maxSteps = 20;
    const SearchOutcome outcome = runSearch(request);
    EXPECT_EQ(outcome.stop, c.reason);
    EXPECT_FALSE(outcome.fault);
    EXPECT_EQ(outcome.trials.size(), static_cast<std::size_t>(outcome.stepCount) + 2);
    EXPECT_EQ(outcome.evaluations, outcome.trials.size());
  }

  // Scanning's first new point on [-10, 12] is 1, where F divides by zero.
  Math_Parser::TParser parser;
  double vars[10] = {};
  parser.Values = vars;
  parser.Parse("1/(x[0]-1) + sqrt(x[0])");
  SearchRequest faulting;
  faulting.objective = [&](double x) {
    vars[0] = x;
    return parser.Evaluate();
  };
  faulting.xmin = -10;
  faulting.xmax = 12;
  faulting.steps = 5;
  const SearchOutcome outcome = runSearch(faulting);
  EXPECT_EQ(outcome.stop, StopReason::Fault);
  EXPECT_EQ(outcome.fault, "Floating point division by zero");
  EXPECT_EQ(outcome.reports, std::vector<std::string>{"sqrt: DOMAIN error"});
  EXPECT_EQ(outcome.evaluations, 3u);
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

}  // namespace
