// One method on one function of a test class under the rule of class runs: a
// run stops at its first trial within delta (b - a) of a global minimiser,
// at its budget of trials, or when the interval its method chooses is no
// longer than 1e-9 (b - a). What it leaves is the trial that first came that
// close, which is what the operational characteristics are made of.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FirstHit.h"
#include "MethodCatalogue.h"
#include "RunPlan.h"
#include "Search.h"
#include "TestClass.h"

namespace Velmora::Lab {

struct ClassRule {
  int maxTrials = 1000;  ///< the budget, the two ends included: 2 to MaxSteps + 2
  double delta = 1e-3;   ///< a trial within delta (b - a) of x* solves the function
};

// A trial within delta (b - a) of any of f's global minimisers.
HitRule classHit(const TestFunction& f, const ClassRule& rule);

// Relative to b - a: a chosen interval this short ends a run that will not
// come nearer.
inline constexpr double ClassIntervalRel = 1e-9;

// A class run's stop: StopRequested is a hit (its observer stops the run at
// the first trial near x*, and a hit at an end needs no run), StepBoundHit the
// budget spent, IntervalRuleMet the chosen interval short enough; the others
// as for any run. Its key says so: hit, budget, interval, left-interval,
// no-interval, unsplittable, fault.
std::string_view classRunStopKey(StopReason stop);
// The stop whose class-run key this is; none for another text.
std::optional<StopReason> classRunStopFromKey(std::string_view key);
// Why a recorded stop and first hit cannot be one run's (a hit stops at its
// first hit, a spent budget had none); none when they can.
std::optional<std::string> classRunContradiction(StopReason stop, bool hit);

struct ClassRun {
  // Its number in the order of placing (the ends are 1 and 2); only for a hit.
  std::optional<int> firstHit;
  StopReason stop = StopReason::StepBoundHit;
  std::optional<std::string> fault;  ///< the user's text of the fault
  bool leftInterval = false;         ///< whether a trial lay outside [a, b]
};

double lipschitzFromFunction(const TestFunction& f);

// Runs the method with param as entered (the catalogue's rule gives the value
// used) on f's formula through the formula engine, so that the run is the
// window's with that formula pasted in. A peer runs to the budget alone and
// is stopped at its first evaluation that solves f; seed is a stochastic
// method's. Safe on several threads at once.
ClassRun runOnTestFunction(const TestFunction& f, MethodId method, double param, const ClassRule& rule,
                           std::uint64_t seed = 0);

// The same with an engine of the caller's, made for f's formula (OwnMethod).
ClassRun runOnTestFunction(const TestFunction& f, const EngineMaker& makeEngine, const ClassRule& rule);

}  // namespace Velmora::Lab
