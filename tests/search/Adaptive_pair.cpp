#include "Adaptive_pair.h"

#include <bit>
#include <cstdint>
#include <sstream>
#include <typeinfo>

#include "Extended.h"
#include "LiteralAdaptive.h"

namespace VelmoraLiteral {

namespace {

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

template <class Search>
RunResult Perform(Search& search, const Case& c, const CountedObjective& objective) {
  RunResult run;
  search.SetStepObserver([&](const VELMORAALG::TStepRecord& r) {
    run.records.push_back(r);
    if (r.Step == c.stopAt) search.RequestStop();
  });
  try {
    switch (c.rule) {
      case Rule::Steps: search.SearchBySteps(c.xmin, c.xmax, c.steps); break;
      case Rule::Precision: search.SearchByPrecision(c.xmin, c.xmax, c.eps, c.bound); break;
      case Rule::IntervalLength: search.SearchByIntervalLength(c.xmin, c.xmax, c.eps, c.bound); break;
    }
  } catch (const std::exception& e) {
    run.fault = std::string(typeid(e).name()) + ": " + e.what();
  }
  run.end = search.GetStopReason();
  run.steps = search.GetStepCount();
  run.calls = objective.calls;
  run.failedInF = objective.lastFailed;
  run.precision = search.GetPrecision();
  run.bestX = search.GetBestX();
  run.bestZ = search.GetBestValue();
  run.trials = search.GetTrials();
  run.estimates = search.GetIntervalConstants();
  return run;
}

bool SameRecord(const VELMORAALG::TStepRecord& a, const VELMORAALG::TStepRecord& b) {
  return a.Step == b.Step && a.Interval == b.Interval && Bits(a.Left) == Bits(b.Left) &&
         Bits(a.Right) == Bits(b.Right) && Bits(a.Charact) == Bits(b.Charact) &&
         Bits(a.Constant) == Bits(b.Constant) && Bits(a.X) == Bits(b.X) && Bits(a.Z) == Bits(b.Z) &&
         Bits(a.Precision) == Bits(b.Precision);
}

// The first difference, or an empty text. After a fault the characteristics
// and estimates are whatever the walk reached; everything else must agree.
std::string Compare(const RunResult& fast, const RunResult& lit) {
  std::ostringstream d;
  d.precision(17);
  if (fast.fault != lit.fault) return "fault '" + fast.fault + "' vs '" + lit.fault + "'";
  if (fast.fault.empty() && fast.end != lit.end)
    d << "end " << static_cast<int>(fast.end) << " vs " << static_cast<int>(lit.end);
  else if (fast.steps != lit.steps)
    d << "steps " << fast.steps << " vs " << lit.steps;
  else if (fast.calls != lit.calls)
    d << "F called " << fast.calls << " vs " << lit.calls << " times";
  else if (Bits(fast.precision) != Bits(lit.precision))
    d << "precision " << fast.precision << " vs " << lit.precision;
  else if (Bits(fast.bestX) != Bits(lit.bestX) || Bits(fast.bestZ) != Bits(lit.bestZ))
    d << "best " << fast.bestX << " vs " << lit.bestX;
  else if (fast.trials.size() != lit.trials.size())
    d << "trials " << fast.trials.size() << " vs " << lit.trials.size();
  else if (fast.records.size() != lit.records.size())
    d << "step records " << fast.records.size() << " vs " << lit.records.size();
  if (!d.str().empty()) return d.str();
  for (std::size_t i = 0; i < fast.trials.size(); ++i) {
    if (Bits(fast.trials[i].x) != Bits(lit.trials[i].x) || Bits(fast.trials[i].f) != Bits(lit.trials[i].f) ||
        fast.trials[i].placed != lit.trials[i].placed)
      return "trial " + std::to_string(i);
    if (fast.fault.empty() && (Bits(fast.trials[i].charact) != Bits(lit.trials[i].charact) ||
                               (i + 1 < fast.trials.size() && Bits(fast.estimates[i]) != Bits(lit.estimates[i]))))
      return "interval " + std::to_string(i + 1);
  }
  for (std::size_t i = 0; i < fast.records.size(); ++i)
    if (!SameRecord(fast.records[i], lit.records[i])) return "step record " + std::to_string(i + 1);
  return {};
}

}  // namespace

std::string Describe(const Case& c, int index) {
  std::ostringstream text;
  text.precision(17);
  text << "case " << index << ": " << c.variant.key << " r " << c.r << " [" << c.xmin << ", " << c.xmax << "] rule "
       << static_cast<int>(c.rule) << " steps " << c.steps << " eps " << c.eps << " bound " << c.bound
       << " stop at " << c.stopAt;
  return text.str();
}

std::string CompareOnCase(const Case& c, RunResult& fast, int& fastRefreshes) {
  CountedObjective fastF{c.f}, literalF{c.f};
  VELMORAALG::AdaptiveLipschitzSearch engine([&](double x) { return fastF(x); }, c.variant.characteristic,
                                             c.variant.estimate, c.variant.localImprovement);
  engine.SetReliability(c.r);
  LiteralAdaptive literal([&](double x) { return literalF(x); }, c.variant.characteristic, c.variant.estimate, c.r,
                          c.variant.localImprovement);
  fast = Perform(engine, c, fastF);
  fastRefreshes = engine.GetRefreshCount();
  return Compare(fast, Perform(literal, c, literalF));
}

}  // namespace VelmoraLiteral
