#include "ClassRun.h"

#include <cmath>
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

double lipschitzFromFunction(const TestFunction& f) { return FromFunctionMargin * f.lipschitz; }

namespace {

// A peer places its points in the order it evaluates them, and its first two
// make no step: the hit is counted at the evaluation, and the next step ends the run.
ClassRun runPeer(const TestFunction& f, MethodId method, double param, const ClassRule& rule, std::uint64_t seed) {
  const double reach = rule.delta * (f.b - f.a);
  FormulaFunction formula(f.formula);
  int evaluations = 0;
  std::optional<int> hit;
  SearchRequest request;
  request.objective = [&](double x) {
    ++evaluations;
    if (!hit && std::fabs(x - f.xstar) <= reach) hit = evaluations;
    return formula(x);
  };
  request.xmin = f.a;
  request.xmax = f.b;
  request.method = method;
  request.param = param;
  request.seed = seed;
  request.stop = StopKind::Steps;
  request.steps = rule.maxTrials - 2;
  request.stopAfter = [&](const VELMORAALG::TStepRecord&) { return hit.has_value(); };
  const SearchOutcome outcome = runSearch(request);
  if (outcome.fault) return {std::nullopt, StopReason::Fault, outcome.fault};
  if (hit) return {hit, StopReason::StopRequested, std::nullopt};
  return {std::nullopt, StopReason::StepBoundHit, std::nullopt};
}

// A method of the characteristic scheme or a variant, as run: the rule's
// observer stops it at its first trial near x*.
ClassRun underClassRule(const TestFunction& f, std::optional<MethodId> method, std::optional<double> param,
                        const ClassRule& rule, const std::function<SearchOutcome(const SearchRequest&)>& run) {
  const double reach = rule.delta * (f.b - f.a);
  const auto solves = [&](double x) { return std::fabs(x - f.xstar) <= reach; };
  // Every method places both ends first, a then b.
  if (solves(f.a)) return {1, StopReason::StopRequested, std::nullopt};
  if (solves(f.b)) return {2, StopReason::StopRequested, std::nullopt};

  FormulaFunction formula(f.formula);
  SearchRequest request;
  request.objective = [&formula](double x) { return formula(x); };
  request.xmin = f.a;
  request.xmax = f.b;
  request.method = method;
  request.param = param;
  request.stop = StopKind::IntervalLength;
  request.eps = ClassIntervalRel * (f.b - f.a);
  request.maxSteps = rule.maxTrials - 2;
  std::optional<int> hit;
  request.stopAfter = [&](const VELMORAALG::TStepRecord& step) {
    if (!solves(step.X)) return false;
    hit = step.Step + 2;
    return true;
  };
  const SearchOutcome outcome = run(request);
  return {outcome.stop == StopReason::StopRequested ? hit : std::nullopt, outcome.stop, outcome.fault,
          outcome.trialsOutside > 0};
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
