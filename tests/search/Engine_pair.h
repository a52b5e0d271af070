// The fast engine and the literal rules of one method, run on the same plan
// and compared bit for bit: results, trials, the first fault, and the order in
// which new points were first evaluated. The differential test and the search
// fuzz harness differ only in where their cases come from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>
#include <unordered_set>
#include <vector>

#include "Charact_opt.h"
#include "Literal_opt.h"

namespace VelmoraLiteral {

enum class Method { Scan, Piyavsky, Strongin };
enum class Rule { Steps, Precision, IntervalLength };

// One run: the interval and the stop rule with its arguments.
struct RunPlan {
  double xmin = 0, xmax = 0;
  Rule rule = Rule::Steps;
  int steps = 0;
  double eps = 0;
  int bound = 0;
};

// What a run leaves behind, whether it ended or faulted.
struct Outcome {
  const std::type_info* faultType = nullptr;  ///< null when the run did not fault
  std::string fault;
  double best = 0;
  std::vector<ListRecord> trials;
  double precision = 0, bestX = 0, bestZ = 0, lipConst = 0;
  int steps = 0;
  bool boundHit = false;
  bool unsplittable = false;
  std::vector<double> firstSeen;

  bool failed() const { return faultType != nullptr; }
};

class EnginePair {
 public:
  // Each engine gets its own F, which must be a function of x alone.
  EnginePair(Method method, double param, TOptFunc fastF, TOptFunc literalF);
  EnginePair(const EnginePair&) = delete;
  EnginePair& operator=(const EnginePair&) = delete;

  Outcome RunFast(const RunPlan& plan);
  // Both engines on the plan (the same objects serve any number of plans, as
  // in the window); the difference is empty when they agree and the fast
  // engine keeps F's value at every trial.
  struct Comparison {
    Outcome fast;
    std::string difference;
  };
  Comparison Compare(const RunPlan& plan);

 private:
  // F, noting the distinct points of a run in the order it first sees them.
  struct Recorder {
    TOptFunc f;
    std::vector<double> firstSeen;
    std::unordered_set<std::uint64_t> seen;
    double operator()(double x);
  };
  template <typename Strongin, typename Opt>
  static Outcome Perform(Opt& opt, Recorder& f, const RunPlan& plan);

  Recorder fastF_, literalF_;
  std::unique_ptr<VELMORAALG::TCharactOpt> fast_;
  std::unique_ptr<LiteralOpt> literal_;
};

}  // namespace VelmoraLiteral
