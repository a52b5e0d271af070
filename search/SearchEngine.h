// What every engine answers, whichever scheme it follows: a run on an
// interval to a stop rule, each completed step reported as a record, a stop
// on request, and the trials and results the run leaves behind. The core
// holds engines through this interface only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "StopReason.h"

namespace VELMORAALG {

// F must return the same value for the same point every time.
using TOptFunc = std::function<double(double)>;

// One trial: the point and the characteristic of the interval that begins there.
struct TSearchInfo {
  double X;
  double Charact;
};
static_assert(sizeof(TSearchInfo) == 16);

// What one completed step did, for whoever watches a run: the interval split
// (numbered from 1 in list order, its ends and its characteristic when it was
// chosen), the method's constant in that step (L, Strongin's m after its
// refresh, a variant's l_t, 0 for scanning), the new point, F there and the
// step's Precision.
struct TStepRecord {
  int Step;
  int Interval;
  double Left, Right, Charact, Constant, X, Z, Precision;
};

using TStepObserver = std::function<void(const TStepRecord&)>;

// When a run stops.
struct StopRule {
  enum class Kind {
    Steps,           ///< after exactly `steps` steps
    Precision,       ///< after the first step whose precision is <= eps, or after maxSteps steps
    IntervalLength,  ///< before a step whose interval is no longer than eps, or after maxSteps steps
  };
  // A precision or interval-length run stops here even when eps is not reached.
  static constexpr int DefaultMaxSteps = 100000;

  Kind kind = Kind::Steps;
  int steps = 0;
  double eps = 0;
  int maxSteps = DefaultMaxSteps;

  static constexpr StopRule Steps(int steps) { return {Kind::Steps, steps, 0, DefaultMaxSteps}; }
  static constexpr StopRule Precision(double eps, int maxSteps = DefaultMaxSteps) {
    return {Kind::Precision, 0, eps, maxSteps};
  }
  static constexpr StopRule IntervalLength(double eps, int maxSteps = DefaultMaxSteps) {
    return {Kind::IntervalLength, 0, eps, maxSteps};
  }
};

class SearchEngine {
 public:
  static constexpr int MaxPrecisionSteps = StopRule::DefaultMaxSteps;

  virtual ~SearchEngine() = default;
  SearchEngine(const SearchEngine&) = delete;
  SearchEngine& operator=(const SearchEngine&) = delete;

  // The method's one parameter (L, r, ...) as the catalogue's rule made it
  // from the entered value; it holds for every later run. An engine without
  // a parameter takes no notice.
  virtual void SetParameter(double value) = 0;

  // What a run leaves in the object for the next run to start from
  // (Strongin's working constant m); 0 for an engine whose runs all start
  // alike. Handed to a fresh object of the same make and parameter, it makes
  // that object's next run the same as this one's, bit for bit.
  virtual double CarriedConstant() const { return 0.0; }
  virtual void SetCarriedConstant(double) {}

  // Why this engine cannot run to a rule of this kind, in the user's words;
  // empty when it can. Run refuses such a rule as a fault with this text.
  virtual std::string RuleRefusal(StopRule::Kind kind) const;

  // The seed of a stochastic engine's random numbers for every later run;
  // a deterministic engine takes no notice.
  virtual void SetSeed(std::uint64_t) {}

  // A peer library's own result code of the last run with its text; none for
  // Velmora's engines, whose stop reason says it all.
  struct EngineResult {
    int code;
    std::string text;
  };
  virtual std::optional<EngineResult> GetEngineResult() const { return std::nullopt; }

  // A run from a fresh start on [xmin, xmax] until the rule says stop; the
  // reason is also kept for GetStopReason. A fault (of F, of the arithmetic,
  // of the arguments, a refused rule) passes on as an exception whose what()
  // is the user's text; the reason is then Fault and the results hold what
  // the run had reached.
  StopReason Run(double xmin, double xmax, const StopRule& rule);
  // Run to each kind of rule; each returns GetBestX().
  double SearchBySteps(double xmin, double xmax, int steps);
  double SearchByPrecision(double xmin, double xmax, double eps, int maxSteps = MaxPrecisionSteps);
  double SearchByIntervalLength(double xmin, double xmax, double eps, int maxSteps = MaxPrecisionSteps);

  // Called once after each completed step of every later run; an empty
  // observer costs nothing. A step that faults is not reported.
  void SetStepObserver(TStepObserver observer);
  // Ends the running run after the step in progress, with StopRequested; an
  // observer calls it to stop at a condition of its own.
  void RequestStop();

  StopReason GetStopReason() const;  ///< of the last run
  double GetBestX() const;           ///< the point of the lowest value found, also after a fault
  double GetBestValue() const;       ///< F at GetBestX()
  // The right end of the last split interval minus its new point; 0 before
  // an object's first step.
  double GetPrecision() const;
  int GetStepCount() const;  ///< completed steps of the last run
  // Steps of the last run whose method constants changed, so that every
  // characteristic was computed anew; 0 for a method without such constants.
  virtual int GetRefreshCount() const = 0;
  // The trials of the last run in list order (increasing x while every new
  // point lands inside its interval), each with the characteristic of the
  // interval that begins there; 0 for the last.
  virtual std::vector<TSearchInfo> GetTrials() const = 0;
  // F at each trial in list order; NaN for a trial whose value a failed run never reached.
  virtual std::vector<double> GetTrialValues() const = 0;
  // Each trial's number in the order of placing, in list order: the two ends
  // are 1 and 2, the point of step k is k + 2.
  virtual std::vector<int> GetTrialOrder() const = 0;

 protected:
  SearchEngine() = default;

  // The run itself, from a fresh start. It returns the reason its rule gives
  // (Run itself tells StopRequested and Fault), ends after any step once
  // StopWasRequested(), reports each completed step through ReportStep and
  // keeps the results below up to date.
  virtual StopReason RunToRule(double xmin, double xmax, const StopRule& rule) = 0;

  bool StopWasRequested() const { return stopRequested_; }
  bool Observed() const { return static_cast<bool>(observer_); }
  void ReportStep(const TStepRecord& record) const {
    if (observer_) observer_(record);
  }

  double bestX_ = 0;
  double bestZ_ = 0;
  double precision_ = 0;
  int stepCount_ = 0;

 private:
  TStepObserver observer_;
  bool stopRequested_ = false;
  StopReason stopReason_ = StopReason::StepsDone;
};

}  // namespace VELMORAALG
