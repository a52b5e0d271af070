// A run's minorant as the pictures draw it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Minorant.h"
#include "Search.h"

using namespace Velmora::Lab;

namespace {

double Bumpy(double x) { return std::sin(x) + std::sin(10 * x / 3) + std::log(x) - 0.84 * x + 3; }
double BumpySlope(double x) { return std::cos(x) + 10.0 / 3 * std::cos(10 * x / 3) + 1 / x - 0.84; }

SearchOutcome run(MethodId method, double param, bool keep) {
  SearchRequest request;
  request.objective = Bumpy;
  request.slopeObjective = [](double x) { return VELMORAALG::TValueSlope{Bumpy(x), BumpySlope(x)}; };
  request.xmin = 2.7;
  request.xmax = 7.5;
  request.method = method;
  request.param = param;
  request.steps = 25;
  request.keepIntervalConstants = keep;
  return runSearch(request);
}

}  // namespace

// Each kind of minorant passes through every trial, in increasing x; with
// Piyavsky's true constant (6 on this function) the broken line lies below F,
// and with a large r so does the smooth function. A run that was not asked for
// its constants, or whose method has none, draws none.
TEST(Minorant, passesThroughEveryTrialAndLiesBelowFWhereItsConstantHolds) {
  const struct {
    MethodId method;
    double param;
    bool below;
  } cases[] = {
      {MethodId::Piyavsky, 6, true}, {MethodId::Strongin, 2, false}, {MethodId::GeomLtm, 2, false},
      {MethodId::InfAl, 6, true},    {MethodId::DGl, 20, true},      {MethodId::DLtLi, 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(methodInfo(c.method).key));
    const SearchOutcome outcome = run(c.method, c.param, true);
    ASSERT_EQ(outcome.stop, StopReason::StepsDone);
    const std::vector<TracePoint> line = minorantOf(outcome);
    ASSERT_FALSE(line.empty());
    EXPECT_TRUE(std::is_sorted(line.begin(), line.end(), [](const TracePoint& a, const TracePoint& b) { return a.x < b.x; }));
    for (const Trial& trial : outcome.trials)
      EXPECT_TRUE(std::any_of(line.begin(), line.end(), [&](const TracePoint& p) { return p.x == trial.x && p.f == trial.f; }))
          << "trial at " << trial.x;
    if (c.below)
      for (const TracePoint& p : line) EXPECT_LE(p.f, Bumpy(p.x) + 1e-12) << "at " << p.x;
    EXPECT_TRUE(minorantOf(run(c.method, c.param, false)).empty());
  }
  EXPECT_TRUE(minorantOf(run(MethodId::Scan, 0, true)).empty());
}
