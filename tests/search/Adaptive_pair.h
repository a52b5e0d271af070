// The adaptive-estimate engine and its literal reference (LiteralAdaptive)
// on one case, compared bit for bit: results, trials, estimates, step records
// and the first fault. The engine's test draws its cases from a seeded
// generator, the fuzz harness from the fuzzer's bytes.
#pragma once

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "AdaptiveLipschitzSearch.h"

namespace VelmoraLiteral {

using VELMORAALG::StopReason;

struct TestFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Region {
  double from = 0, to = -1;
  bool contains(double x) const { return from <= x && x <= to; }
};

// Smooth, with optional flat (ties), undefined (NaN), huge (up to infinite),
// steep and failing regions, optionally quantised.
struct Objective {
  double amp = 1, freq = 1, phase = 0, quad = 0, shift = 0, quantum = 0;
  Region flat, undefined, huge, steep, failing;
  double flatValue = 0, hugeValue = 0, steepSlope = 0;
  int faultKind = 0;

  double operator()(double x) const {
    if (failing.contains(x)) {
      if (faultKind == 0) Velmora::raiseFault(Velmora::FaultKind::FloatOverflow);
      throw TestFault("F failed");
    }
    if (undefined.contains(x)) return std::numeric_limits<double>::quiet_NaN();
    if (flat.contains(x)) return flatValue;
    if (huge.contains(x)) return hugeValue;
    double v = amp * std::sin(freq * x + phase) + quad * x * x + shift;
    if (steep.contains(x)) v += steepSlope * (x - steep.from);
    if (quantum > 0) v = std::round(v / quantum) * quantum;
    return v;
  }
};

enum class Rule { Steps, Precision, IntervalLength };

struct Case {
  Objective f;
  VELMORAALG::AdaptiveVariant variant;
  double r = 2;
  double xmin = 0, xmax = 1;
  Rule rule = Rule::Steps;
  int steps = 0, bound = 0, stopAt = 0;
  double eps = 0;
};

std::string Describe(const Case& c, int index);

// F as a run sees it, counting the calls and whether the last one failed.
struct CountedObjective {
  const Objective& f;
  int calls = 0;
  bool lastFailed = false;
  double operator()(double x) {
    ++calls;
    lastFailed = true;
    const double z = f(x);
    lastFailed = false;
    return z;
  }
};

struct RunResult {
  std::string fault;
  StopReason end = StopReason::StepsDone;
  int steps = 0, calls = 0;
  bool failedInF = false;
  double precision = 0, bestX = 0, bestZ = 0;
  std::vector<VELMORAALG::TSearchInfo> trials;
  std::vector<double> estimates;
  std::vector<VELMORAALG::TStepRecord> records;
};

// Both engines on the case; fast is what the engine's run left. The first
// difference, or an empty text.
std::string CompareOnCase(const Case& c, RunResult& fast, int& fastRefreshes);

}  // namespace VelmoraLiteral
