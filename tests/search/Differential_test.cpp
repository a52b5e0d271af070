// The fast engine against the literal rules on thousands of random cases:
// every result, the first fault and the order in which new points were first
// evaluated must agree bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Engine_pair.h"
#include "Extended.h"

using namespace VelmoraLiteral;

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

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

constexpr int CaseCount = 4000;

TEST(Differential, FastEngineMatchesTheLiteralRules) {
  int faults = 0, boundHits = 0, trials = 0, differing = 0;
  int methods[3] = {0, 0, 0};
  for (int i = 0; i < CaseCount; ++i) {
    const Case c = MakeCase(i);
    EnginePair pair(c.method, c.param, c.f, c.f);
    ++methods[static_cast<int>(c.method)];
    for (const RunPlan& r : c.runs) {
      const EnginePair::Comparison run = pair.Compare(r);
      if (!run.difference.empty()) {
        ADD_FAILURE() << c.text << "\n  " << run.difference;
        if (++differing > 10) return;
      }
      faults += run.fast.failed();
      boundHits += run.fast.boundHit;
      trials += static_cast<int>(run.fast.trials.size());
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
