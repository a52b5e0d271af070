// Global search for an f whose derivative is Lipschitz: each interval gets
// the smooth auxiliary function built from the values and slopes at its ends
// (Rules.h, SmoothMinorant), with an estimate m_i of the Lipschitz constant
// of f'. The interval whose auxiliary function reaches lowest is split where
// it does. A trial is one evaluation of the pair (f, f').
//
// Trials a = x_0 < ... < x_k = b; for interval i, D_i its length, v_i the
// curvature estimate (Rules.h), V = max v_i, X = max D_i,
// lambda_i = max(v_(i-1), v_i, v_(i+1)) over the neighbours that exist and
// gamma_i = V * D_i / X. The estimate m_i is a given M (APriori), r * max(V,
// Xi) (Global) or r * max(lambda_i, gamma_i, Xi) (LocalTuning). Where M is
// below an interval's curvature estimate, its auxiliary function does not
// exist, and the interval is never chosen.
//
// With local improvement (LocalImprovement.h, pessimistic) every other step
// splits an interval beside the best trial.
//
// Arithmetic is in doubles. An interval with a value or a slope at an end
// that is not a finite number, or whose auxiliary function is not finite,
// has no characteristic and is never chosen. Each step costs O(n): the
// estimates are recomputed only when V or X changed, the choice walks every
// interval.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "LocalImprovement.h"
#include "SearchEngine.h"

namespace VELMORAALG {

// Each run needs a finite interval with xmin < xmax. Faults of F pass on.
// Besides its rule, a run ends with IntervalUnsplittable or
// NoComparableInterval; the step records carry the m_t of the split interval
// as the constant.
class SmoothMinorantSearch : public SearchEngine {
 public:
  enum class Estimate { APriori, Global, LocalTuning };

  static constexpr double Xi = 1e-8;
  static constexpr double DefaultReliability = 2.0;

  SmoothMinorantSearch(TSlopeFunc func, Estimate estimate, LocalImprovement::Mode localImprovement);

  // r must be finite and greater than 1 (std::invalid_argument otherwise):
  // then m_i exceeds v_i, and every auxiliary function exists. For the
  // a-priori estimate the parameter is M itself, finite and greater than 0.
  void SetParameter(double value) override;
  double GetReliability() const { return reliability_; }

  int GetRefreshCount() const override;
  std::vector<TSearchInfo> GetTrials() const override;
  std::vector<double> GetSlopes() const override;
  // Each interval's m_i.
  std::vector<double> GetIntervalConstants() const override;

 protected:
  void Start(double xmin, double xmax) override;
  bool Choose() override;
  Velmora::Extended ChosenLength() override;
  std::optional<StopReason> Place(TStepRecord& record) override;

 private:
  // A trial and the interval that begins at it (nothing for the last trial).
  struct Trial {
    double x = 0, z = 0, dz = 0;
    int placed = 0;
    double curvature = 0;  ///< v_i; NaN where an end's value or slope is not finite
    double estimate = 0;   ///< m_i
    double charact = 0;
    double point = 0;
  };

  void Measure(std::size_t i);
  void Rate(std::size_t i);
  void RateAll();
  // The maxima V and X; true when either changed.
  bool UpdateMaxima();
  int GlobalChoice() const;
  // The interval beside the best trial that a local step splits; -1 for the global choice.
  int LocalChoice();

  TSlopeFunc func_;
  Estimate estimate_;
  LocalImprovement localImprovement_;
  double reliability_ = DefaultReliability;

  std::vector<Trial> trials_;
  double maxCurvature_ = 0;  ///< V
  double maxLength_ = 0;     ///< X
  int refreshCount_ = 0;
  int chosen_ = -1;
};

// The catalogue's methods of this engine, each with its key.
struct SmoothVariant {
  std::string_view key;
  SmoothMinorantSearch::Estimate estimate;
  LocalImprovement::Mode localImprovement;
};

inline constexpr std::array<SmoothVariant, 6> SmoothVariants{{
    {"d-gl", SmoothMinorantSearch::Estimate::Global, LocalImprovement::Mode::Off},
    {"d-lt", SmoothMinorantSearch::Estimate::LocalTuning, LocalImprovement::Mode::Off},
    {"d-gl-li", SmoothMinorantSearch::Estimate::Global, LocalImprovement::Mode::Pessimistic},
    {"d-lt-li", SmoothMinorantSearch::Estimate::LocalTuning, LocalImprovement::Mode::Pessimistic},
    {"d-al", SmoothMinorantSearch::Estimate::APriori, LocalImprovement::Mode::Off},
    {"d-al-li", SmoothMinorantSearch::Estimate::APriori, LocalImprovement::Mode::Pessimistic},
}};

}  // namespace VELMORAALG
