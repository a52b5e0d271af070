// What every method of the catalogue answers alike, whichever engine runs it:
// the trials, their numbering, the best point, the step records, a requested
// stop and the stop reason. A new method meets these by joining the catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "Rules.h"
#include "Search.h"

using namespace Velmora::Lab;

namespace {

double Bumpy(double x) { return std::sin(x) + std::sin(10 * x / 3) + std::log(x) - 0.84 * x + 3; }
VELMORAALG::TValueSlope BumpyWithSlope(double x) {
  return {Bumpy(x), std::cos(x) + 10.0 / 3 * std::cos(10 * x / 3) + 1 / x - 0.84};
}
// NaN left of 0.1: at the ends' left one, and at the centre, where NLopt's
// DIRECT begins, of [-1, 1].
double RootFrom(double x) { return std::sqrt(x - 0.1); }
VELMORAALG::TValueSlope RootFromWithSlope(double x) { return {RootFrom(x), 0.5 / RootFrom(x)}; }

// The method's engine on F, with its slope for a method that uses f'.
std::unique_ptr<VELMORAALG::SearchEngine> makeOn(const MethodInfo& info, double (*f)(double),
                                                 VELMORAALG::TValueSlope (*withSlope)(double)) {
  return info.makeWithSlope ? info.makeWithSlope(withSlope) : info.make(f);
}

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

struct Problem {
  double (*f)(double);
  VELMORAALG::TValueSlope (*withSlope)(double);
  double xmin, xmax;
  const char* name;
};
constexpr Problem Problems[] = {{Bumpy, BumpyWithSlope, 2.7, 7.5, "bumpy"},
                                {RootFrom, RootFromWithSlope, -1, 1, "NaN where the methods start"}};

SearchRequest request(const MethodInfo& info, const Problem& p, int steps) {
  SearchRequest r;
  r.objective = p.f;
  r.slopeObjective = p.withSlope;
  r.xmin = p.xmin;
  r.xmax = p.xmax;
  r.method = info.id;
  // Above the slope of Bumpy, so that the broken lines stay inside their intervals.
  if (info.param == ParamMeaning::LipschitzEstimate) r.param = 6;
  // Above |f''| of Bumpy (1 + 100/9 + 1/x^2), so that every interval has its smooth auxiliary function.
  if (info.param == ParamMeaning::SlopeLipschitzEstimate) r.param = 13;
  r.steps = steps;
  r.recordSteps = true;
  return r;
}

std::vector<const Trial*> byPlacing(const SearchOutcome& o) {
  std::vector<const Trial*> placed;
  for (const Trial& t : o.trials) placed.push_back(&t);
  std::sort(placed.begin(), placed.end(), [](const Trial* a, const Trial* b) { return a->placed < b->placed; });
  return placed;
}

// The properties of one finished run of `steps` steps.
void expectConforming(const MethodInfo& info, const Problem& p, const SearchOutcome& o, int steps) {
  ASSERT_FALSE(o.fault) << *o.fault;
  EXPECT_FALSE(stopReasonKey(o.stop).empty());
  EXPECT_LE(o.stepCount, steps);
  if (o.stop == StopReason::StepsDone) EXPECT_EQ(o.stepCount, steps);
  ASSERT_EQ(o.trials.size(), static_cast<std::size_t>(o.stepCount) + 2);

  // Numbered 1 to n in the order of placing.
  const std::vector<const Trial*> placed = byPlacing(o);
  const std::vector<double> xs = placementOrder(o.trials);
  for (std::size_t k = 0; k < placed.size(); ++k) {
    EXPECT_EQ(placed[k]->placed, static_cast<int>(k) + 1);
    EXPECT_EQ(bits(xs[k]), bits(placed[k]->x));
  }
  if (takesStop(info, StopKind::Precision)) {
    EXPECT_EQ(o.trials.front().x, p.xmin);
    EXPECT_EQ(o.trials.back().x, p.xmax);
    EXPECT_EQ(placed[0]->x, p.xmin);
    EXPECT_EQ(placed[1]->x, p.xmax);
  }

  // One record per step, naming the trial that step placed.
  ASSERT_EQ(o.stepRecords.size(), static_cast<std::size_t>(o.stepCount));
  for (int k = 1; k <= o.stepCount; ++k) {
    const VELMORAALG::TStepRecord& r = o.stepRecords[static_cast<std::size_t>(k - 1)];
    EXPECT_EQ(r.Step, k);
    EXPECT_EQ(bits(r.X), bits(placed[static_cast<std::size_t>(k + 1)]->x)) << "step " << k;
    EXPECT_EQ(bits(r.Z), bits(placed[static_cast<std::size_t>(k + 1)]->f)) << "step " << k;
  }

  // The best point by the shared rule: the lower end (xmin on a tie), then
  // each step's point that is no higher.
  double bestX = placed[0]->x;
  double bestF = placed[0]->f;
  bool anyNumber = !std::isnan(bestF);
  for (std::size_t k = 1; k < placed.size(); ++k) {
    const double f = placed[k]->f;
    anyNumber = anyNumber || !std::isnan(f);
    if (k == 1 ? VELMORAALG::IsLower(f, bestF) : VELMORAALG::TakesBestPlace(f, bestF)) {
      bestX = placed[k]->x;
      bestF = f;
    }
  }
  EXPECT_EQ(std::isnan(o.fBest), !anyNumber) << "a NaN is never the best while a trial has a number";
  if (anyNumber) {
    EXPECT_EQ(bits(o.fBest), bits(bestF));
    EXPECT_EQ(bits(o.bestX), bits(bestX));
  }
}

TEST(Conformance, everyMethodsRunKeepsTheContract) {
  for (const MethodInfo& info : allMethods()) {
    if (!isInstalled(info)) continue;
    for (const Problem& p : Problems) {
      for (const int steps : {0, 1, 40}) {
        SCOPED_TRACE(std::string(info.key) + " on " + p.name + ", " + std::to_string(steps) + " steps");
        expectConforming(info, p, runSearch(request(info, p, steps)), steps);
      }
    }
  }
}

// A minimum at an end of the interval, where a student looks first: the
// chosen interval shrinks to neighbouring doubles there, and every method
// either makes its steps or says why it stopped, never with a fault.
TEST(Conformance, aMonotoneFunctionOnAnyIntervalEndsWithAReasonNotAFault) {
  std::mt19937_64 rng(20261209);
  const auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
  for (int round = 0; round < 40; ++round) {
    const double centre = uniform(-100, 100), width = std::pow(10.0, uniform(-6, 2));
    const double slope = (round % 2 ? 1 : -1) * std::pow(10.0, uniform(-3, 1));
    const int kind = round % 4;
    // u runs over slope * [-1/2, 1/2] on the interval; the bound of |f'| keeps
    // Piyavsky's broken lines below F.
    const auto f = [=](double x) {
      const double u = slope * (x - centre) / width;
      return kind == 0 ? u : kind == 1 ? std::exp(u) : kind == 2 ? u * u * u : u + std::sin(u) / 2;
    };
    const auto withSlope = [=](double x) {
      const double u = slope * (x - centre) / width, du = slope / width;
      const double dfdu = kind == 0 ? 1 : kind == 1 ? std::exp(u) : kind == 2 ? 3 * u * u : 1 + std::cos(u) / 2;
      return VELMORAALG::TValueSlope{f(x), dfdu * du};
    };
    const double h = std::fabs(slope) / 2;
    const double fSlope = std::fabs(slope) / width * (kind == 1 ? std::exp(h) : kind == 2 ? 3 * h * h : 1.5);
    for (const MethodInfo& info : allMethods()) {
      if (!isInstalled(info)) continue;
      SCOPED_TRACE(std::string(info.key) + ", round " + std::to_string(round));
      SearchRequest r;
      r.objective = f;
      r.slopeObjective = withSlope;
      r.xmin = centre - width / 2;
      r.xmax = centre + width / 2;
      r.method = info.id;
      if (info.param == ParamMeaning::LipschitzEstimate) r.param = 2 * fSlope;
      r.steps = 300;
      const SearchOutcome o = runSearch(r);
      ASSERT_FALSE(o.fault) << *o.fault;
      if (o.stop != StopReason::StepsDone) EXPECT_LT(o.stepCount, 300) << stopReasonKey(o.stop);
    }
  }
}

// The stop ends the run after the step that asked for it, under every rule
// the method takes, and belongs to that run alone.
TEST(Conformance, aRequestedStopEndsTheRunAfterThatStep) {
  for (const MethodInfo& info : allMethods()) {
    if (!isInstalled(info)) continue;
    std::vector<StopKind> rules{StopKind::Steps};
    if (takesStop(info, StopKind::Precision)) rules = {StopKind::Steps, StopKind::Precision, StopKind::IntervalLength};
    for (const StopKind rule : rules) {
      SCOPED_TRACE(std::string(info.key) + ", rule " + std::to_string(static_cast<int>(rule)));
      SearchRequest r = request(info, Problems[0], 100);
      r.stop = rule;
      r.stopAfter = [](const VELMORAALG::TStepRecord& record) { return record.Step == 5; };
      const SearchOutcome o = runSearch(r);
      EXPECT_EQ(o.stop, StopReason::StopRequested);
      EXPECT_EQ(o.stepCount, 5);
      EXPECT_EQ(o.trials.size(), 7u);
      EXPECT_EQ(o.stepRecords.size(), 5u);
      if (o.engineResult) EXPECT_EQ(o.engineResultText, "FORCED_STOP");
    }
    const std::unique_ptr<VELMORAALG::SearchEngine> held = makeOn(info, Bumpy, BumpyWithSlope);
    SearchRequest asked = request(info, Problems[0], 100);
    asked.stopAfter = [](const VELMORAALG::TStepRecord& record) { return record.Step == 5; };
    runSearch(*held, asked);
    const SearchOutcome next = runSearch(*held, request(info, Problems[0], 9));
    EXPECT_EQ(next.stop, StopReason::StepsDone) << info.key;
    EXPECT_EQ(next.stepCount, 9) << info.key;
  }
}

}  // namespace
