#include "Engine_pair.h"

#include <bit>
#include <exception>
#include <sstream>
#include <utility>

#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

namespace VelmoraLiteral {

namespace {

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

bool BoundHit(const VELMORAALG::TCharactOpt& opt) {
  return opt.GetStopReason() == VELMORAALG::StopReason::StepBoundHit;
}
bool BoundHit(const LiteralOpt& opt) { return opt.PrecisionBoundHit(); }

bool Unsplittable(const VELMORAALG::TCharactOpt& opt) {
  return opt.GetStopReason() == VELMORAALG::StopReason::IntervalUnsplittable;
}
bool Unsplittable(const LiteralOpt& opt) { return opt.Unsplittable(); }

template <typename Opt>
std::unique_ptr<Opt> Make(TOptFunc f, double param) {
  auto opt = std::make_unique<Opt>(std::move(f));
  if constexpr (requires { opt->SetLipschitz(param); }) opt->SetLipschitz(param);
  if constexpr (requires { opt->SetMultiplier(param); }) opt->SetMultiplier(param);
  return opt;
}

// A fault of one type must not pass for another with the same text.
std::string FaultText(const Outcome& o) { return o.failed() ? std::string(o.faultType->name()) + ": " + o.fault : ""; }

// The first thing the two outcomes disagree on, or an empty text.
std::string Difference(const Outcome& fast, const Outcome& lit) {
  std::ostringstream d;
  d.precision(17);
  if (FaultText(fast) != FaultText(lit))
    d << "fault: fast '" << FaultText(fast) << "' literal '" << FaultText(lit) << "'";
  else if (!fast.failed() && Bits(fast.best) != Bits(lit.best))
    d << "result " << fast.best << " vs " << lit.best;
  else if (fast.steps != lit.steps)
    d << "steps " << fast.steps << " vs " << lit.steps;
  else if (Bits(fast.precision) != Bits(lit.precision))
    d << "precision " << fast.precision << " vs " << lit.precision;
  else if (Bits(fast.bestX) != Bits(lit.bestX) || Bits(fast.bestZ) != Bits(lit.bestZ))
    d << "best " << fast.bestX << " vs " << lit.bestX;
  else if (fast.boundHit != lit.boundHit)
    d << "bound flag";
  else if (fast.unsplittable != lit.unsplittable)
    d << "unsplittable flag";
  else if (Bits(fast.lipConst) != Bits(lit.lipConst))
    d << "m " << fast.lipConst << " vs " << lit.lipConst;
  else if (fast.trials.size() != lit.trials.size())
    d << "trial count " << fast.trials.size() << " vs " << lit.trials.size();
  else if (fast.firstSeen.size() != lit.firstSeen.size())
    d << "distinct points evaluated " << fast.firstSeen.size() << " vs " << lit.firstSeen.size();
  if (!d.str().empty()) return d.str();
  for (std::size_t i = 0; i < fast.trials.size(); ++i) {
    if (Bits(fast.trials[i].X) != Bits(lit.trials[i].X) || Bits(fast.trials[i].Charact) != Bits(lit.trials[i].Charact)) {
      d << "trial " << i << ": " << fast.trials[i].X << " " << fast.trials[i].Charact << " vs " << lit.trials[i].X
        << " " << lit.trials[i].Charact;
      return d.str();
    }
  }
  for (std::size_t i = 0; i < fast.firstSeen.size(); ++i) {
    if (Bits(fast.firstSeen[i]) != Bits(lit.firstSeen[i])) {
      d << "evaluation order at " << i << ": " << fast.firstSeen[i] << " vs " << lit.firstSeen[i];
      return d.str();
    }
  }
  return {};
}

}  // namespace

double EnginePair::Recorder::operator()(double x) {
  if (seen.insert(Bits(x)).second) firstSeen.push_back(x);
  return f(x);
}

EnginePair::EnginePair(Method method, double param, TOptFunc fastF, TOptFunc literalF)
    : fastF_{std::move(fastF), {}, {}}, literalF_{std::move(literalF), {}, {}} {
  auto ff = [this](double x) { return fastF_(x); };
  auto lf = [this](double x) { return literalF_(x); };
  switch (method) {
    case Method::Scan:
      fast_ = Make<VELMORAALG::TScanOpt>(ff, param);
      literal_ = Make<LiteralScan>(lf, param);
      break;
    // The engines take the value the rules make of the entered one, as the catalogue hands it over.
    case Method::Piyavsky: {
      auto literal = Make<LiteralPiyavsky>(lf, param);
      fast_ = Make<VELMORAALG::TPiyavskyOpt>(ff, literal->GetLipschitz());
      literal_ = std::move(literal);
      break;
    }
    case Method::Strongin: {
      auto literal = Make<LiteralStrongin>(lf, param);
      fast_ = Make<VELMORAALG::TStronginOpt>(ff, literal->GetMultiplier());
      literal_ = std::move(literal);
      break;
    }
  }
}

template <typename Strongin, typename Opt>
Outcome EnginePair::Perform(Opt& opt, Recorder& f, const RunPlan& plan) {
  Outcome o;
  f.firstSeen.clear();
  f.seen.clear();
  try {
    switch (plan.rule) {
      case Rule::Steps: o.best = opt.SearchBySteps(plan.xmin, plan.xmax, plan.steps); break;
      case Rule::Precision: o.best = opt.SearchByPrecision(plan.xmin, plan.xmax, plan.eps, plan.bound); break;
      case Rule::IntervalLength:
        o.best = opt.SearchByIntervalLength(plan.xmin, plan.xmax, plan.eps, plan.bound);
        break;
    }
  } catch (const std::exception& e) {
    o.faultType = &typeid(e);
    o.fault = e.what();
  }
  for (const auto& t : opt.GetTrials()) {
    if constexpr (requires { t.charact; })
      o.trials.push_back({t.x, t.charact});
    else
      o.trials.push_back(t);
  }
  o.precision = opt.GetPrecision();
  o.bestX = opt.GetBestX();
  o.bestZ = opt.GetBestValue();
  o.steps = opt.GetStepCount();
  o.boundHit = BoundHit(opt);
  o.unsplittable = Unsplittable(opt);
  if (const auto* strongin = dynamic_cast<const Strongin*>(&opt)) o.lipConst = strongin->LipConst();
  o.firstSeen = f.firstSeen;
  return o;
}

Outcome EnginePair::RunFast(const RunPlan& plan) { return Perform<VELMORAALG::TStronginOpt>(*fast_, fastF_, plan); }

EnginePair::Comparison EnginePair::Compare(const RunPlan& plan) {
  Comparison c{RunFast(plan), {}};
  c.difference = Difference(c.fast, Perform<LiteralStrongin>(*literal_, literalF_, plan));
  if (!c.difference.empty() || c.fast.failed()) return c;
  const std::vector<VELMORAALG::TSearchInfo> trials = fast_->GetTrials();
  std::ostringstream d;
  d.precision(17);
  for (std::size_t k = 0; k < trials.size(); ++k) {
    const double x = trials[k].x;
    const double kept = trials[k].f;
    try {
      const double again = fastF_.f(x);
      if (Bits(kept) == Bits(again)) continue;
      d << "value kept at " << x << ": " << kept << ", F there " << again;
    } catch (const std::exception& e) {
      d << "F, once evaluated at " << x << ", now fails: " << e.what();
    }
    return {c.fast, d.str()};
  }
  return c;
}

}  // namespace VelmoraLiteral
