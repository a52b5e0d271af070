// The replay of a finished run: every state it rebuilds is the state a fresh
// run of as many steps leaves, and the broken line it draws under the trials
// is the one the broken-line methods reason with.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "Minorant.h"
#include "SearchTrace.h"

using namespace Velmora::Lab;

namespace {

struct Problem {
  const char* name;
  double (*f)(double);
  double slope;  ///< a bound of |f'| on [-4, 5]
};

const Problem Problems[] = {
    {"waves on a bowl", [](double x) { return std::sin(3 * x) + 0.1 * x * x; }, 4},
    {"a kink and a ripple", [](double x) { return 2 * std::fabs(x - 1.3) + std::cos(5 * x); }, 7},
    {"a steep climb", [](double x) { return std::exp(x) - 3 * x; }, 146},
};

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

SearchRequest request(const Problem& problem, MethodId method, double param, int steps, double a, double b) {
  SearchRequest r;
  r.objective = problem.f;
  r.method = method;
  r.param = param;
  r.steps = steps;
  r.xmin = a;
  r.xmax = b;
  r.recordSteps = true;
  return r;
}

TEST(SearchTrace, everyStateIsWhatAFreshRunOfAsManyStepsLeaves) {
  std::mt19937 rng(20261209);
  const auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  for (int round = 0; round < 60; ++round) {
    const MethodInfo& info = windowMethods()[static_cast<std::size_t>(round % 3)];
    const Problem& problem = Problems[static_cast<std::size_t>(round / 3 % std::size(Problems))];
    // Broken lines with a constant below the slope too, whose points leave their intervals.
    const double param = info.id == MethodId::Piyavsky ? uniform(0.3, 12) : uniform(1.1, 4);
    const double a = uniform(-4, 0), b = uniform(1, 5);
    const int steps = std::uniform_int_distribution<int>(1, 150)(rng);
    SCOPED_TRACE(std::string(info.key) + ", " + problem.name + ", param " + std::to_string(param) + ", round " +
                 std::to_string(round));

    // The window's object has run before, and carries its constant over.
    const SearchRequest earlier = request(Problems[0], info.id, 3, 7, -2, 3);
    const SearchRequest asked = request(problem, info.id, param, steps, a, b);
    const auto held = info.make(problem.f);
    runSearch(*held, earlier);
    const SearchOutcome outcome = runSearch(*held, asked);
    // A broken line below the slope may send a point onto an end, where the run stops.
    const int made = outcome.stepCount;
    ASSERT_TRUE(made == steps || (made < steps && outcome.stop == StopReason::IntervalUnsplittable));
    const SearchTrace trace(info.id, outcome);
    ASSERT_EQ(trace.stepCount(), made);

    TraceState state;
    for (int k : {0, made, std::uniform_int_distribution<int>(0, made)(rng),
                  std::uniform_int_distribution<int>(std::min(1, made), made)(rng)}) {
      SCOPED_TRACE("step " + std::to_string(k));
      const auto fresh = info.make(problem.f);
      runSearch(*fresh, earlier);
      SearchRequest shorter = asked;
      shorter.steps = k;
      const SearchOutcome expected = runSearch(*fresh, shorter);

      trace.stateAfter(k, state);
      EXPECT_EQ(state.step, k);
      ASSERT_EQ(state.trials.size(), expected.trials.size());
      ASSERT_EQ(state.characts.size(), expected.trials.size() - 1);
      for (std::size_t i = 0; i < state.trials.size(); ++i) {
        EXPECT_EQ(bits(state.trials[i].x), bits(expected.trials[i].x)) << i;
        EXPECT_EQ(bits(state.trials[i].f), bits(expected.trials[i].f)) << i;
        if (i + 1 < state.trials.size()) {
          EXPECT_EQ(bits(state.characts[i]), bits(expected.trials[i].charact)) << i;
        }
      }
      if (k > 0) {
        EXPECT_EQ(bits(trace.step(k).Constant), bits(expected.stepRecords.back().Constant));
      }
      EXPECT_EQ(bits(trace.bestAfter(k)), bits(expected.fBest));
    }
  }
}

void expectSameState(const TraceState& got, const TraceState& fresh) {
  EXPECT_EQ(got.step, fresh.step);
  ASSERT_EQ(got.trials.size(), fresh.trials.size());
  ASSERT_EQ(got.characts.size(), fresh.characts.size());
  for (std::size_t i = 0; i < got.trials.size(); ++i) {
    EXPECT_EQ(bits(got.trials[i].x), bits(fresh.trials[i].x)) << i;
    EXPECT_EQ(bits(got.trials[i].f), bits(fresh.trials[i].f)) << i;
  }
  for (std::size_t i = 0; i < got.characts.size(); ++i) EXPECT_EQ(bits(got.characts[i]), bits(fresh.characts[i])) << i;
}

// A replay that steps forward and back one step at a time, as play and the
// arrows do, keeps one state and its broken line's pieces up to date; they
// must be the state and the line written afresh, points that left their
// intervals and constants that changed included, and a state another trace
// wrote is never built on.
TEST(SearchTrace, steppingOneAtATimeGivesTheStateWrittenAfresh) {
  std::mt19937 rng(20261210);
  for (const MethodInfo& info : windowMethods()) {
    for (const Problem& problem : Problems) {
      SCOPED_TRACE(std::string(info.key) + ", " + problem.name);
      const double param = info.id == MethodId::Piyavsky ? 1.5 : 2;
      const SearchTrace trace(info.id, runSearch(request(problem, info.id, param, 120, -4, 5)));
      TraceState walked;
      trace.stateAfter(0, walked);
      int k = 0;
      for (int move = 0; move < 400; ++move) {
        k = std::clamp(k + (std::uniform_int_distribution<int>(0, 3)(rng) == 0 ? -1 : 1), 0, trace.stepCount());
        trace.stateAfter(k, walked);
        TraceState fresh;
        trace.stateAfter(k, fresh);
        SCOPED_TRACE("step " + std::to_string(k));
        expectSameState(walked, fresh);
        if (k < trace.stepCount() && info.brokenLine) {
          const std::vector<TracePoint> line = trace.brokenLineOfStep(k + 1, walked);
          const std::vector<TracePoint> expected = brokenLine(fresh.trials, trace.step(k + 1).Constant);
          ASSERT_EQ(line.size(), expected.size());
          for (std::size_t i = 0; i < line.size(); ++i) {
            EXPECT_EQ(bits(line[i].x), bits(expected[i].x)) << i;
            EXPECT_EQ(bits(line[i].f), bits(expected[i].f)) << i;
          }
        }
      }
    }
  }
  const SearchTrace first(MethodId::Piyavsky, runSearch(request(Problems[0], MethodId::Piyavsky, 5, 20, -4, 5)));
  const SearchTrace second(MethodId::Piyavsky, runSearch(request(Problems[1], MethodId::Piyavsky, 5, 20, -4, 5)));
  TraceState reused, fresh;
  first.stateAfter(5, reused);
  second.stateAfter(6, reused);
  second.stateAfter(6, fresh);
  expectSameState(reused, fresh);
}

// The line between each two neighbours: through both values, with slopes -L then +L.
void expectBrokenLineThrough(const std::vector<TracePoint>& line, double slope) {
  for (std::size_t i = 0; i + 2 < line.size(); i += 2) {
    if (std::isnan(line[i + 1].f)) {
      --i;  // a break: the next piece starts after it
      continue;
    }
    const TracePoint& left = line[i];
    const TracePoint& vertex = line[i + 1];
    const TracePoint& right = line[i + 2];
    ASSERT_FALSE(std::isnan(right.f)) << i;
    EXPECT_LE(left.x, vertex.x);
    EXPECT_LE(vertex.x, right.x);
    const double tolerance = 1e-9 * (1 + std::fabs(left.f) + std::fabs(right.f) + slope * (right.x - left.x));
    EXPECT_NEAR(vertex.f, left.f - slope * (vertex.x - left.x), tolerance) << i;
    EXPECT_NEAR(vertex.f, right.f - slope * (right.x - vertex.x), tolerance) << i;
  }
}

TEST(SearchTrace, theBrokenLinePassesThroughTheTrialsAndPointsToTheNextOne) {
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    const bool piyavsky = round % 2 == 0;
    const Problem& problem = Problems[static_cast<std::size_t>(round / 2 % 2)];
    const double param = std::uniform_real_distribution<double>(piyavsky ? problem.slope : 1.1, 3 * problem.slope)(rng);
    const int steps = std::uniform_int_distribution<int>(5, 120)(rng);
    SCOPED_TRACE(std::string(piyavsky ? "Piyavsky, L " : "Strongin, r ") + std::to_string(param) + ", " + problem.name);
    const SearchTrace trace(piyavsky ? MethodId::Piyavsky : MethodId::Strongin,
                            runSearch(request(problem, piyavsky ? MethodId::Piyavsky : MethodId::Strongin, param,
                                              steps, -4, 5)));

    TraceState before;
    for (int k = 1; k <= steps; ++k) {
      // What step k decided from: the trials before it, under its constant.
      trace.stateAfter(k - 1, before);
      const VELMORAALG::TStepRecord& record = trace.step(k);
      const std::vector<TracePoint> line = brokenLine(before.trials, record.Constant);
      ASSERT_EQ(line.size(), 2 * before.trials.size() - 1) << "a break at step " << k;
      expectBrokenLineThrough(line, record.Constant);
      for (std::size_t i = 0; i < before.trials.size(); ++i) {
        EXPECT_EQ(line[2 * i].x, before.trials[i].x);
        EXPECT_EQ(line[2 * i].f, before.trials[i].f);
      }
      const TracePoint& vertex = line[2 * static_cast<std::size_t>(record.Interval) - 1];
      EXPECT_EQ(bits(vertex.x), bits(record.X)) << "step " << k;

      // With a constant above F's slope the line stays below F.
      if (record.Constant < problem.slope) continue;
      for (std::size_t i = 0; i + 1 < line.size(); ++i)
        for (double t = 0; t <= 1; t += 0.125) {
          const double x = line[i].x + t * (line[i + 1].x - line[i].x);
          const double y = line[i].f + t * (line[i + 1].f - line[i].f);
          EXPECT_LE(y, problem.f(x) + 1e-9) << "x = " << x << ", step " << k;
        }
    }
  }
}

// Broken lines with a constant below the slope: the line breaks where no
// lines of that slope join two neighbours, and keeps its slopes elsewhere.
TEST(SearchTrace, theBrokenLineBreaksWhereTheConstantIsBelowTheSlope) {
  const SearchTrace trace(MethodId::Piyavsky, runSearch(request(Problems[1], MethodId::Piyavsky, 1.5, 40, -4, 5)));
  TraceState state;
  trace.stateAfter(40, state);
  const std::vector<TracePoint> line = brokenLine(state.trials, 1.5);
  std::size_t breaks = 0;
  for (const TracePoint& p : line) breaks += std::isnan(p.f);
  EXPECT_GT(breaks, 0u);
  EXPECT_TRUE(std::is_sorted(line.begin(), line.end(), [](auto& p, auto& q) { return p.x < q.x; }));
  expectBrokenLineThrough(line, 1.5);
}

}  // namespace
