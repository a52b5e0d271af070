#include "ClassRun.h"

#include <functional>
#include <memory>

#include "FormulaFunction.h"

namespace Velmora::Lab {

std::string_view classRunStopKey(StopReason stop) {
  switch (stop) {
    case StopReason::StopRequested: return "hit";
    case StopReason::StepBoundHit: return "budget";
    default: return stopReasonKey(stop);
  }
}

std::optional<StopReason> classRunStopFromKey(std::string_view key) {
  if (key == "hit") return StopReason::StopRequested;
  if (key == "budget") return StopReason::StepBoundHit;
  // "requested" and "bound" are no class run's keys: hit and budget stand for them.
  const std::optional<StopReason> stop = stopReasonFromKey(key);
  return stop && classRunStopKey(*stop) == key ? stop : std::nullopt;
}

std::optional<std::string> classRunContradiction(StopReason stop, bool hit) {
  if (stop == StopReason::StopRequested && !hit) return "stop: a run that stopped at a hit has a first_hit";
  if (stop == StopReason::StepBoundHit && hit) return "stop: a run that spent its budget has no first_hit";
  return std::nullopt;
}

double lipschitzFromFunction(const TestFunction& f) { return FromFunctionMargin * f.lipschitz; }

HitRule classHit(const TestFunction& f, const ClassRule& rule) {
  HitRule hit{{f.xstar}, rule.delta * (f.b - f.a)};
  hit.minimisers.insert(hit.minimisers.end(), f.otherMinimisers.begin(), f.otherMinimisers.end());
  return hit;
}

namespace {

std::optional<int> firstHitOf(const SearchOutcome& outcome, const HitRule& hit) {
  const std::optional<std::size_t> first = firstHit(outcome.trials, hit);
  return first ? std::optional(static_cast<int>(*first)) : std::nullopt;
}

// A peer places its points in the order it evaluates them, and its first two
// make no step: a hit is seen at the evaluation, and the next step ends the run.
ClassRun runPeer(const TestFunction& f, MethodId method, double param, const ClassRule& rule, std::uint64_t seed) {
  const HitRule hit = classHit(f, rule);
  FormulaFunction formula(f.formula);
  bool hitSeen = false;
  SearchRequest request;
  request.objective = [&](double x) {
    hitSeen = hitSeen || hit.hits(x);
    return formula(x);
  };
  request.xmin = f.a;
  request.xmax = f.b;
  request.method = method;
  request.param = param;
  request.seed = seed;
  request.stop = StopKind::Steps;
  request.steps = rule.maxTrials - 2;
  request.stopAfter = [&](const VELMORAALG::TStepRecord&) { return hitSeen; };
  const SearchOutcome outcome = runSearch(request);
  if (outcome.fault) return {std::nullopt, StopReason::Fault, outcome.fault};
  if (hitSeen) return {firstHitOf(outcome, hit), StopReason::StopRequested, std::nullopt};
  return {std::nullopt, StopReason::StepBoundHit, std::nullopt};
}

// A method of the characteristic scheme or a variant, as run: the rule's
// observer stops it at its first trial near x*.
ClassRun underClassRule(const TestFunction& f, std::optional<MethodId> method, std::optional<double> param,
                        const ClassRule& rule, const std::function<SearchOutcome(const SearchRequest&)>& run) {
  const HitRule hit = classHit(f, rule);
  // Every method places both ends first, a then b.
  if (hit.hits(f.a)) return {1, StopReason::StopRequested, std::nullopt};
  if (hit.hits(f.b)) return {2, StopReason::StopRequested, std::nullopt};

  FormulaFunction formula(f.formula);
  SearchRequest request;
  request.objective = [&formula](double x) { return formula(x); };
  request.slopeObjective = [&formula](double x) { return formula.withSlope(x); };
  request.xmin = f.a;
  request.xmax = f.b;
  request.method = method;
  request.param = param;
  request.stop = StopKind::IntervalLength;
  request.eps = ClassIntervalRel * (f.b - f.a);
  request.maxSteps = rule.maxTrials - 2;
  request.stopAfter = [&](const VELMORAALG::TStepRecord& step) { return hit.hits(step.X); };
  const SearchOutcome outcome = run(request);
  return {outcome.stop == StopReason::StopRequested ? firstHitOf(outcome, hit) : std::nullopt, outcome.stop,
          outcome.fault, outcome.trialsOutside > 0};
}

}  // namespace

ClassRun runOnTestFunction(const TestFunction& f, MethodId method, double param, const ClassRule& rule,
                           std::uint64_t seed) {
  if (!takesStop(methodInfo(method), StopKind::IntervalLength)) return runPeer(f, method, param, rule, seed);
  return underClassRule(f, method, param, rule, [](const SearchRequest& request) { return runSearch(request); });
}

ClassRun runOnTestFunction(const TestFunction& f, const EngineMaker& makeEngine, const ClassRule& rule) {
  return underClassRule(f, std::nullopt, std::nullopt, rule, [&](const SearchRequest& request) {
    const std::unique_ptr<VELMORAALG::SearchEngine> engine = makeEngine(request.objective);
    return runSearch(*engine, request);
  });
}

}  // namespace Velmora::Lab
