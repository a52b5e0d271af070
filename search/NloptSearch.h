// NLopt's global algorithms behind the engine contract. Every evaluation
// NLopt asks for is a trial, numbered in the order NLopt asked for it. The
// first two evaluations stand where the other engines place the two ends:
// they are trials 1 and 2 and make no step; each later evaluation is one step
// with its record (Interval 0, no characteristic, no constant, Precision 0).
// So a budget of `steps` steps is steps + 2 evaluations, as for the others.
//
// NLopt drives its own loop: its objective callback runs the engine's step,
// rule checks and all, on the point NLopt asks for, and forces NLopt to stop
// when the step ends the run. The budget is also NLopt's maxeval, so that a
// run that uses it up ends with NLopt's own result code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SearchEngine.h"

namespace VELMORAALG {

class NloptSearch final : public SearchEngine {
 public:
  enum class Algorithm {
    Direct,   ///< NLOPT_GN_DIRECT
    DirectL,  ///< NLOPT_GN_DIRECT_L
    Ags,      ///< NLOPT_GN_AGS
    Crs2,     ///< NLOPT_GN_CRS2_LM
    Esch,     ///< NLOPT_GN_ESCH
    Isres,    ///< NLOPT_GN_ISRES
    Mlsl,     ///< NLOPT_G_MLSL_LDS with NLOPT_LN_BOBYQA as its local method
  };

  NloptSearch(TOptFunc func, Algorithm algorithm);

  // Whether the algorithm draws random numbers, so that its seed matters.
  static constexpr bool Stochastic(Algorithm algorithm) {
    return algorithm == Algorithm::Crs2 || algorithm == Algorithm::Esch || algorithm == Algorithm::Isres ||
           algorithm == Algorithm::Mlsl;
  }

  // Whether the installed NLopt has the algorithm: a build of NLopt may
  // leave some out (Debian's 2.7.1 has no AGS).
  static bool Installed(Algorithm algorithm);

  // The population of a stochastic algorithm (its random points per
  // iteration for MLSL), a whole number; 0 leaves NLopt's default, and is
  // what the others are given.
  void SetParameter(double value) override;
  // The seed of NLopt's generator for every later run.
  void SetSeed(std::uint64_t seed) override;
  // NLopt's result code of the last run (NLOPT_FORCED_STOP when the step
  // observer stopped it) and its name, "MAXEVAL_REACHED".
  std::optional<EngineResult> GetEngineResult() const override;

  // NLopt counts evaluations, not precision or interval lengths.
  std::string RuleRefusal(StopRule::Kind kind) const override;


  int GetRefreshCount() const override;
  // In list order, each with the characteristic NaN: NLopt computes none.
  std::vector<TSearchInfo> GetTrials() const override;

 protected:
  void Start(double xmin, double xmax) override;
  // NLopt has chosen the point it asks for.
  bool Choose() override { return true; }
  // Never asked: the interval rule is refused.
  Velmora::Extended ChosenLength() override { return 0; }
  // Takes in the evaluation NLopt asked for.
  std::optional<StopReason> Place(TStepRecord& record) override;
  StopReason Drive(const StopRule& rule) override;

 private:
  struct Evaluation {
    double x;
    double z;
  };
  struct RunState;
  static double Objective(unsigned n, const double* x, double* gradient, void* data);
  // Evaluates F at the point of [A, B] nearest to the one asked and keeps the trial and the best point.
  double Evaluate(double asked);

  TOptFunc func_;
  Algorithm algorithm_;
  unsigned population_ = 0;
  std::uint64_t seed_ = 0;
  int result_ = 0;
  double xmin_ = 0, xmax_ = 0;
  double asked_ = 0;                     ///< the point of the evaluation in progress
  std::vector<Evaluation> evaluations_;  ///< in the order of placing
};

}  // namespace VELMORAALG
