// The fast engine against the literal rules on thousands of random cases:
// every result, the first fault and the order in which new points were first
// evaluated must agree bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <unordered_set>
#include <vector>

#include "Charact_opt.h"
#include "Extended.h"
#include "Literal_opt.h"
#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

struct TestFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Region {
  double from = 0, to = -1;  // empty unless from <= to
  bool contains(double x) const { return from <= x && x <= to; }
};

// A random objective: a smooth part with steep, flat, undefined, huge and
// failing regions, optionally quantised so that equal values and equal
// characteristics are common.
struct Objective {
  double amp = 1, freq = 1, phase = 0, quad = 0, lin = 0, shift = 0;
  Region steep, flat, undefined, huge, failing;
  double steepSlope = 0, flatValue = 0, hugeValue = 0, quantum = 0;
  double jumpAt = 0, jumpHeight = 0;
  int faultKind = 0;

  double operator()(double x) const {
    if (failing.contains(x)) {
      switch (faultKind) {
        case 0: Velmora::raiseFault(Velmora::FaultKind::FloatOverflow);
        case 1: Velmora::raiseFault(Velmora::FaultKind::FloatInvalid);
        default: throw TestFault("F failed");
      }
    }
    if (undefined.contains(x)) return NaN;
    if (flat.contains(x)) return flatValue;
    if (huge.contains(x)) return hugeValue;
    double v = amp * std::sin(freq * x + phase) + quad * x * x + lin * x + shift;
    if (steep.contains(x)) v += steepSlope * (x - steep.from);
    if (x > jumpAt) v += jumpHeight;
    if (quantum > 0) v = std::round(v / quantum) * quantum;
    return v;
  }
};

// Records the distinct points in the order F first saw them.
struct Recorder {
  Objective f;
  std::vector<double> firstSeen;
  std::unordered_set<std::uint64_t> seen;

  double operator()(double x) {
    if (seen.insert(Bits(x)).second) firstSeen.push_back(x);
    return f(x);
  }
};

enum class Method { Scan, Piyavsky, Strongin };
enum class Rule { Steps, Precision, IntervalLength };

struct RunPlan {
  double xmin = 0, xmax = 0;
  Rule rule = Rule::Steps;
  int steps = 0;
  double eps = 0;
  int bound = 0;
};

struct Case {
  Objective f;
  Method method = Method::Scan;
  double param = 0;
  std::vector<RunPlan> runs;
  std::string text;
};

class Gen {
 public:
  explicit Gen(std::uint64_t seed) : rng_(seed) {}
  double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }
  int integer(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng_); }
  bool chance(double p) { return uniform(0, 1) < p; }
  template <typename T>
  T pick(std::initializer_list<T> items) {
    return items.begin()[integer(0, static_cast<int>(items.size()) - 1)];
  }
  Region region(double lo, double hi) {
    const double span = hi - lo;
    const double a = uniform(lo - 0.2 * span, hi);
    return {a, a + uniform(0, 0.3) * span};
  }

 private:
  std::mt19937_64 rng_;
};

// Returns true for the subnormal intervals.
bool Interval(Gen& g, double& xmin, double& xmax) {
  switch (g.integer(0, 8)) {
    case 0: xmin = -10, xmax = 10; break;
    case 1: xmin = g.uniform(-50, 50), xmax = xmin + g.uniform(0.01, 60); break;
    case 2: xmax = g.uniform(-50, 50), xmin = xmax + g.uniform(0.01, 60); break;  // reversed
    case 3: xmin = xmax = g.uniform(-5, 5); break;
    case 4:  // a few units of the last place: points coincide soon
      xmin = g.uniform(-2, 2);
      xmax = xmin;
      for (int i = g.integer(1, 4); i > 0; --i) xmax = std::nextafter(xmax, Inf);
      break;
    case 5: xmin = -g.pick({1e300, 1e307, 1.7e308}), xmax = g.pick({1e300, 1e308}); break;
    case 6: xmin = g.pick({-8.0, 0.0, -1.0}), xmax = g.pick({8.0, 1.0, 4.0}); break;
    case 7: xmin = g.uniform(-1e-3, 1e-3), xmax = xmin + g.uniform(1e-9, 1e-3); break;
    default:  // subnormal spacing: slopes beyond the double range
      xmin = g.pick({0.0, -1e-311, 1e-300});
      xmax = xmin + g.pick({1e-311, 3e-310, 2e-308});
      return true;
  }
  return false;
}

Case MakeCase(int index) {
  Gen g(0x5EA4C4ull * 1000003ull + static_cast<std::uint64_t>(index));
  Case c;
  double xmin = 0, xmax = 0;
  const bool subnormal = Interval(g, xmin, xmax);
  const double lo = std::min(xmin, xmax), hi = std::max(xmin, xmax);
  const double span = std::isfinite(hi - lo) && hi > lo ? hi - lo : 1.0;
  const double l = lo, h = lo + span;
  // The function's own scale stays ordinary on subnormal intervals.
  const double scale = std::max(span, 1e-3);

  Objective& f = c.f;
  f.amp = g.pick({0.0, 1.0, 5.0, 1e-3});
  f.freq = g.pick({1.0, 3.0, 20.0}) / scale * 6;
  f.phase = g.uniform(0, 6);
  f.quad = g.pick({0.0, 1.0, -0.5}) / (scale * scale) * 10;
  f.lin = g.pick({0.0, 1.0, -3.0}) / scale;
  f.shift = subnormal ? 0.0 : g.pick({0.0, -5.0, 1e6, -1e12});
  if (g.chance(subnormal ? 0.7 : 0.2)) f.jumpAt = g.uniform(l, h), f.jumpHeight = g.pick({0.1, 1.0, -2.5});
  if (g.chance(0.3)) f.steep = g.region(l, h), f.steepSlope = g.pick({1e3, -1e6, 1e9}) / scale;
  if (g.chance(0.3)) f.flat = g.region(l, h), f.flatValue = g.pick({0.0, -1.0, 3.0, 1e-3});
  if (g.chance(0.2)) f.undefined = g.region(l, h);
  if (g.chance(0.1)) f.huge = g.region(l, h), f.hugeValue = g.pick({1e308, -1.7e308, Inf, -Inf});
  if (g.chance(0.2)) f.failing = g.region(l, h), f.faultKind = g.integer(0, 2);
  if (g.chance(0.25)) f.quantum = g.pick({0.5, 0.01, 1.0});

  c.method = g.pick({Method::Scan, Method::Piyavsky, Method::Strongin});
  if (c.method == Method::Piyavsky) c.param = g.pick({1e-6, 0.01, 0.5, 1.5, 10.0, 1e4, 1e12, 0.0, -2.0});
  if (c.method == Method::Strongin) c.param = g.pick({1.0000001, 1.01, 1.5, 2.0, 10.0, 1e6, 1e300, 0.5, 1.0});

  const int runs = g.chance(0.2) ? 2 : 1;
  for (int i = 0; i < runs; ++i) {
    RunPlan r;
    if (i == 0) {
      r.xmin = xmin, r.xmax = xmax;
    } else {
      Interval(g, r.xmin, r.xmax);
    }
    const bool large = g.chance(0.01);
    r.rule = g.pick({Rule::Steps, Rule::Precision, Rule::IntervalLength});
    r.steps = large ? g.integer(200, 500) : g.integer(-1, 60);
    r.eps = g.pick({1e-1, 1e-2, 1e-4, 0.0, -1.0, 1e9, NaN}) * (r.rule == Rule::Steps ? 1 : span / 20);
    r.bound = large ? g.integer(200, 500) : g.integer(0, 80);
    c.runs.push_back(r);
  }

  std::ostringstream text;
  text.precision(17);
  text << "case " << index << ": method " << static_cast<int>(c.method) << " param " << c.param;
  for (const RunPlan& r : c.runs) {
    text << " | [" << r.xmin << ", " << r.xmax << "] rule " << static_cast<int>(r.rule) << " steps " << r.steps
         << " eps " << r.eps << " bound " << r.bound;
  }
  c.text = text.str();
  return c;
}

struct Outcome {
  bool failed = false;
  std::string fault;
  double best = 0;
  std::vector<VELMORAALG::TSearchInfo> trials;
  double precision = 0, bestX = 0, bestZ = 0, lipConst = 0;
  int steps = 0;
  bool boundHit = false;
  std::vector<double> firstSeen;
};

template <typename Opt>
Outcome Perform(Opt& opt, Recorder& rec, const RunPlan& r) {
  Outcome o;
  rec.firstSeen.clear();
  try {
    switch (r.rule) {
      case Rule::Steps: o.best = opt.SearchBySteps(r.xmin, r.xmax, r.steps); break;
      case Rule::Precision: o.best = opt.SearchByPrecision(r.xmin, r.xmax, r.eps, r.bound); break;
      case Rule::IntervalLength: o.best = opt.SearchByIntervalLength(r.xmin, r.xmax, r.eps, r.bound); break;
    }
  } catch (const std::exception& e) {
    o.failed = true;
    o.fault = std::string(typeid(e).name()) + ": " + e.what();
  }
  o.trials = opt.GetTrials();
  o.precision = opt.GetPrecision();
  o.bestX = opt.GetBestX();
  o.bestZ = opt.GetBestValue();
  o.steps = opt.GetStepCount();
  o.boundHit = opt.PrecisionBoundHit();
  if constexpr (requires { opt.LipConst(); }) o.lipConst = opt.LipConst();
  o.firstSeen = rec.firstSeen;
  return o;
}

// Both engines of one method, each with its own recorder.
struct Pair {
  Recorder fastRec, literalRec;
  std::unique_ptr<VELMORAALG::TCharactOpt> fast;
  std::unique_ptr<VelmoraLiteral::LiteralOpt> literal;
  Method method;

  Pair(const Case& c) : method(c.method) {
    fastRec.f = literalRec.f = c.f;
    auto ff = [this](double x) { return fastRec(x); };
    auto lf = [this](double x) { return literalRec(x); };
    switch (c.method) {
      case Method::Scan:
        fast = std::make_unique<VELMORAALG::TScanOpt>(ff);
        literal = std::make_unique<VelmoraLiteral::LiteralScan>(lf);
        break;
      case Method::Piyavsky: {
        auto p = std::make_unique<VELMORAALG::TPiyavskyOpt>(ff);
        auto q = std::make_unique<VelmoraLiteral::LiteralPiyavsky>(lf);
        p->SetLipschitz(c.param);
        q->SetLipschitz(c.param);
        fast = std::move(p);
        literal = std::move(q);
        break;
      }
      case Method::Strongin: {
        auto p = std::make_unique<VELMORAALG::TStronginOpt>(ff);
        auto q = std::make_unique<VelmoraLiteral::LiteralStrongin>(lf);
        p->SetMultiplier(c.param);
        q->SetMultiplier(c.param);
        fast = std::move(p);
        literal = std::move(q);
        break;
      }
    }
  }

  Outcome RunFast(const RunPlan& r) {
    if (method == Method::Strongin) return Perform(static_cast<VELMORAALG::TStronginOpt&>(*fast), fastRec, r);
    return Perform(*fast, fastRec, r);
  }
  Outcome RunLiteral(const RunPlan& r) {
    if (method == Method::Strongin)
      return Perform(static_cast<VelmoraLiteral::LiteralStrongin&>(*literal), literalRec, r);
    return Perform(*literal, literalRec, r);
  }
};

// Returns the first difference, or an empty text.
std::string Compare(const Outcome& fast, const Outcome& lit) {
  std::ostringstream d;
  d.precision(17);
  if (fast.failed != lit.failed || fast.fault != lit.fault)
    d << "fault: fast '" << fast.fault << "' literal '" << lit.fault << "'";
  else if (!fast.failed && Bits(fast.best) != Bits(lit.best))
    d << "result " << fast.best << " vs " << lit.best;
  else if (fast.steps != lit.steps)
    d << "steps " << fast.steps << " vs " << lit.steps;
  else if (Bits(fast.precision) != Bits(lit.precision))
    d << "precision " << fast.precision << " vs " << lit.precision;
  else if (Bits(fast.bestX) != Bits(lit.bestX) || Bits(fast.bestZ) != Bits(lit.bestZ))
    d << "best " << fast.bestX << " vs " << lit.bestX;
  else if (fast.boundHit != lit.boundHit)
    d << "bound flag";
  else if (Bits(fast.lipConst) != Bits(lit.lipConst))
    d << "m " << fast.lipConst << " vs " << lit.lipConst;
  else if (fast.trials.size() != lit.trials.size())
    d << "trial count " << fast.trials.size() << " vs " << lit.trials.size();
  else if (fast.firstSeen.size() != lit.firstSeen.size())
    d << "distinct points evaluated " << fast.firstSeen.size() << " vs " << lit.firstSeen.size();
  if (!d.str().empty()) return d.str();
  for (size_t i = 0; i < fast.trials.size(); ++i) {
    if (Bits(fast.trials[i].X) != Bits(lit.trials[i].X) || Bits(fast.trials[i].Charact) != Bits(lit.trials[i].Charact)) {
      d << "trial " << i << ": " << fast.trials[i].X << " " << fast.trials[i].Charact << " vs " << lit.trials[i].X
        << " " << lit.trials[i].Charact;
      return d.str();
    }
  }
  for (size_t i = 0; i < fast.firstSeen.size(); ++i) {
    if (Bits(fast.firstSeen[i]) != Bits(lit.firstSeen[i])) {
      d << "evaluation order at " << i << ": " << fast.firstSeen[i] << " vs " << lit.firstSeen[i];
      return d.str();
    }
  }
  return {};
}

constexpr int CaseCount = 4000;

TEST(Differential, FastEngineMatchesTheLiteralRules) {
  int faults = 0, boundHits = 0, trials = 0, differing = 0;
  int methods[3] = {0, 0, 0};
  for (int i = 0; i < CaseCount; ++i) {
    const Case c = MakeCase(i);
    Pair pair(c);
    ++methods[static_cast<int>(c.method)];
    for (const RunPlan& r : c.runs) {
      const Outcome fast = pair.RunFast(r);
      const Outcome lit = pair.RunLiteral(r);
      const std::string diff = Compare(fast, lit);
      if (!diff.empty()) {
        ADD_FAILURE() << c.text << "\n  " << diff;
        if (++differing > 10) return;
      }
      faults += lit.failed;
      boundHits += lit.boundHit;
      trials += static_cast<int>(lit.trials.size());
      // The trial values handed out are F's values at the trials.
      if (!fast.failed) {
        const auto values = pair.fast->GetTrialValues();
        for (size_t k = 0; k < values.size(); ++k)
          ASSERT_EQ(Bits(values[k]), Bits(c.f(fast.trials[k].X))) << c.text;
      }
    }
  }
  // The generator must reach the behaviours the comparison is about.
  EXPECT_GT(faults, CaseCount / 20);
  EXPECT_GT(boundHits, CaseCount / 50);
  for (int m : methods) EXPECT_GT(m, CaseCount / 4);
  RecordProperty("faults", faults);
  RecordProperty("trials", trials);
}

}  // namespace
