// NLopt's global algorithms behind the engine contract. Every evaluation
// NLopt asks for is a trial, numbered in the order NLopt asked for it. The
// first two evaluations stand where the other engines place the two ends:
// they are trials 1 and 2 and make no step; each later evaluation is one step
// with its record (Interval 0, no characteristic, no constant, Precision 0).
// So a budget of `steps` steps is steps + 2 evaluations, as for the others.
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
  // iteration for MLSL); 0 leaves NLopt's default. The others take no notice.
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
  std::vector<double> GetTrialValues() const override;
  std::vector<int> GetTrialOrder() const override;

 protected:
  StopReason RunToRule(double xmin, double xmax, const StopRule& rule) override;

 private:
  struct Evaluation {
    double x;
    double z;
  };
  struct RunState;
  static double Objective(unsigned n, const double* x, double* gradient, void* data);

  TOptFunc func_;
  Algorithm algorithm_;
  unsigned population_ = 0;
  std::uint64_t seed_ = 0;
  int result_ = 0;
  std::vector<Evaluation> evaluations_;  ///< in the order of placing
};

}  // namespace VELMORAALG
