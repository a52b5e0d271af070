// Global search with Lipschitz estimates that follow the trials, in the rhythm
// of the univariate literature: after every trial each interval's estimate
// l_i and characteristic R_i are computed anew from all trials, and only then
// is the next interval chosen. (The window's Strongin refreshes its constant
// one step later, which is why it is a scheme of its own.)
//
// Trials a = x_0 < ... < x_k = b with values z_i; for interval i,
// D_i = x_i - x_(i-1), H_i = |z_i - z_(i-1)| / D_i, H = max H_i, X = max D_i,
// lambda_i = max(H_(i-1), H_i, H_(i+1)) over the neighbours that exist and
// gamma_i = H * D_i / X. The estimate l_i is a given L (APriori), or r * max(., Xi) of H (Global), of
// lambda_i and gamma_i (LocalMax), of (lambda_i + gamma_i)/2 (LocalAdditive)
// or of H_i and (lambda_i + gamma_i)/2 (LocalMaxAdditive). The characteristic
// is Rules.h's geometric or information one with l_i as the constant. The
// largest wins, the leftmost on ties, and its interval t gets the meeting
// point of the lines of slopes -+l_t through its ends.
//
// Arithmetic is 80-bit with checked faults; H_i, l_i, R_i, the new point and
// the precision are rounded to doubles where they are stored; lengths stay at
// 80 bits. A NaN value of F makes the slopes and characteristics next to it
// NaN: a NaN enters no maximum and never wins.
//
// Each step costs O(sqrt n): the trials live in a list of blocks, each knowing
// its largest slope, its longest interval and its best characteristic, and
// the blocks are walked for H and X only when the split interval held one of
// them. Every estimate is recomputed only when H changes, or X for the
// estimates that read it; otherwise only the four intervals whose lambda or D
// the new trial changed. A characteristic is recomputed only where its
// interval or its estimate changed.
#pragma once

#include <array>
#include <limits>
#include <string_view>
#include <vector>

#include "Extended.h"
#include "LocalImprovement.h"
#include "SearchEngine.h"

namespace VELMORAALG {

// Each run needs a finite interval with xmin < xmax. Faults of F and of the arithmetic end the run and pass on; a
// new trial whose value F gave stays in the list when the arithmetic after it
// faults, though its step is not counted. The step records carry the l_t used
// for the new point as the constant. Besides its rule, a run ends with
// PointLeftInterval (an estimate below the interval's own slope, LocalAdditive
// with a small r, or an interval so short that no double lies inside it) or
// NoComparableInterval. The precision is 0 until a run's first step.
class AdaptiveLipschitzSearch : public SearchEngine {
 public:
  enum class Characteristic { Geometric, Information };
  // APriori: every l_i is the given constant L itself, which the parameter holds in place of r.
  enum class Estimate { APriori, Global, LocalMax, LocalAdditive, LocalMaxAdditive };

  // The floor of every estimate before the reliability multiplies it, so that
  // a constant F still gets a positive one.
  static constexpr double Xi = 1e-8;
  static constexpr double DefaultReliability = 2.0;

  AdaptiveLipschitzSearch(TOptFunc func, Characteristic characteristic, Estimate estimate,
                          LocalImprovement::Mode localImprovement = LocalImprovement::Mode::Off);

  // r, or L for the a-priori estimate: finite and greater than 0 (std::invalid_argument otherwise).
  void SetReliability(double r);
  double GetReliability() const;
  // r, or L.
  void SetParameter(double value) override { SetReliability(value); }

  // Steps of the last run that recomputed every estimate (H or X changed).
  int GetRefreshCount() const override;
  std::vector<TSearchInfo> GetTrials() const override;
  // Each interval's estimate l_i.
  std::vector<double> GetIntervalConstants() const override;

 protected:
  void Start(double xmin, double xmax) override;
  bool Choose() override;
  Velmora::Extended ChosenLength() override;
  std::optional<StopReason> Place(TStepRecord& record) override;

 private:
  // A trial and the interval that begins at it (nothing for the last trial).
  struct Trial {
    double x = 0, z = 0;
    int placed = 0;
    Velmora::Extended length = 0;
    double slope = 0;
    double estimate = std::numeric_limits<double>::quiet_NaN();  ///< NaN until the interval is rated
    double charact = 0;
  };
  struct Block {
    std::vector<Trial> trials;
    int best = -1;  ///< the block's interval of largest characteristic; -1 when none is a number
    double bestCharact = 0;
    double maxSlope = 0;
    Velmora::Extended maxLength = 0;
  };
  struct Position {
    int block = 0, index = 0;
  };

  Position Insert(Position after, const Trial& trial);

  Trial& At(Position p);
  const Trial& At(Position p) const;
  bool IsLast(Position p) const;
  Position Next(Position p) const;
  Position Previous(Position p) const;
  int IntervalNumber(Position p) const;

  // Sets the length and the slope of the interval at p.
  void Measure(Position p);
  // Sets l and R of the interval from left to right, between intervals of the given slopes.
  void Rate(Trial& left, const Trial& right, double leftSlope, double rightSlope);
  void RateAt(Position p);
  void RateAll();
  int IntervalsIn(int block) const;
  // A block's largest slope and longest interval.
  void SummariseMeasures(int block);
  // A block's best characteristic.
  void ChooseInBlock(int block);
  // Blocks whose trials changed in this step; both kinds of summary catch up with them.
  void Mark(int block);
  void MeasureMarked();
  void ChooseInMarked();
  // The trial at x, which must be one.
  Position PositionOf(double x) const;
  // The interval beside the best trial that a local step splits; false for the global choice.
  bool LocalChoice(Position& chosen);
  // H and X from the blocks.
  void ScanMaxima(double& slope, Velmora::Extended& length) const;
  // Keeps H and X; true when either changed in a way the estimates see.
  bool SetMaxima(double slope, Velmora::Extended length);

  TOptFunc func_;
  Characteristic characteristic_;
  Estimate estimate_;
  LocalImprovement localImprovement_;
  double reliability_ = DefaultReliability;

  std::vector<Block> blocks_;
  std::vector<int> marked_;
  int trialCount_ = 0;
  double maxSlope_ = 0;               ///< H
  Velmora::Extended maxLength_ = 0;   ///< X
  int refreshCount_ = 0;
  Position chosen_;  ///< the interval Choose chose
};

// The literature's variants: a geometric or an information characteristic
// with a global or a local-tuning (maximum, additive, maximum-additive)
// estimate, and the local tunings with pessimistic or optimistic local
// improvement, each with its key on the command line.
struct AdaptiveVariant {
  std::string_view key;
  AdaptiveLipschitzSearch::Characteristic characteristic;
  AdaptiveLipschitzSearch::Estimate estimate;
  LocalImprovement::Mode localImprovement = LocalImprovement::Mode::Off;
  // r when none is given; with local improvement the sweep on the Hill and
  // Shekel classes chose a larger one.
  double defaultReliability = AdaptiveLipschitzSearch::DefaultReliability;
};

namespace detail {
using C = AdaptiveLipschitzSearch::Characteristic;
using E = AdaptiveLipschitzSearch::Estimate;
using L = LocalImprovement::Mode;
}  // namespace detail

inline constexpr std::array<AdaptiveVariant, 21> AdaptiveVariants{{
    {"geom-gl", detail::C::Geometric, detail::E::Global},
    {"geom-ltm", detail::C::Geometric, detail::E::LocalMax},
    {"geom-lta", detail::C::Geometric, detail::E::LocalAdditive},
    {"geom-ltma", detail::C::Geometric, detail::E::LocalMaxAdditive},
    {"inf-gl", detail::C::Information, detail::E::Global},
    {"inf-ltm", detail::C::Information, detail::E::LocalMax},
    {"inf-lta", detail::C::Information, detail::E::LocalAdditive},
    {"inf-ltma", detail::C::Information, detail::E::LocalMaxAdditive},
    {"geom-ltimp", detail::C::Geometric, detail::E::LocalMax, detail::L::Pessimistic, 2.5},
    {"geom-ltiap", detail::C::Geometric, detail::E::LocalAdditive, detail::L::Pessimistic, 2.5},
    {"geom-ltimap", detail::C::Geometric, detail::E::LocalMaxAdditive, detail::L::Pessimistic, 2.5},
    {"geom-ltimo", detail::C::Geometric, detail::E::LocalMax, detail::L::Optimistic, 2.5},
    {"geom-ltiao", detail::C::Geometric, detail::E::LocalAdditive, detail::L::Optimistic, 2.5},
    {"geom-ltimao", detail::C::Geometric, detail::E::LocalMaxAdditive, detail::L::Optimistic, 2.5},
    {"inf-ltimp", detail::C::Information, detail::E::LocalMax, detail::L::Pessimistic, 4},
    {"inf-ltiap", detail::C::Information, detail::E::LocalAdditive, detail::L::Pessimistic, 4},
    {"inf-ltimap", detail::C::Information, detail::E::LocalMaxAdditive, detail::L::Pessimistic, 4},
    {"inf-ltimo", detail::C::Information, detail::E::LocalMax, detail::L::Optimistic, 4},
    {"inf-ltiao", detail::C::Information, detail::E::LocalAdditive, detail::L::Optimistic, 4},
    {"inf-ltimao", detail::C::Information, detail::E::LocalMaxAdditive, detail::L::Optimistic, 4},
    // Its parameter is L itself; Piyavsky's method is the geometric one.
    {"inf-al", detail::C::Information, detail::E::APriori},
}};

}  // namespace VELMORAALG
