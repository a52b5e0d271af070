// What every engine answers, whichever scheme it follows: a run on an
// interval to a stop rule, each completed step reported as a record, a stop
// on request, and the trials and results the run leaves behind. The core
// holds engines through this interface only.
//
// The run's loop and its rule are written here once; an engine supplies the
// parts of a step: its start, the choice of an interval and the placing of a
// point in it. A library that drives itself (NLopt) runs the same step, with
// the rule's checks around it, from its own callback.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Extended.h"
#include "StopReason.h"

namespace VELMORAALG {

// F must return the same value for the same point every time.
using TOptFunc = std::function<double(double)>;

// F and its derivative at one point, for the methods that use f'.
struct TValueSlope {
  double Value;
  double Slope;
};
using TSlopeFunc = std::function<TValueSlope(double)>;

// One trial, as every engine hands it back in list order.
struct TSearchInfo {
  double x;
  double f;        ///< F at x; NaN also for a trial whose value a failed run never reached
  double charact;  ///< of the interval that begins here; 0 for the last trial; NaN for a peer's, which has none
  int placed;      ///< its number in the order of placing: the ends 1 and 2, step k's point k + 2
};

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
  // of the arguments, a refused rule or interval) passes on as an exception
  // whose what() is the user's text; the reason is then Fault and the
  // results hold what the run had reached.
  //
  // The rule is looked at before each step (the step count; the chosen
  // interval's length and the step bound for the interval rule) and after it
  // (a requested stop, then the precision and the step bound for the
  // precision rule). A step is counted and reported once its point has a
  // value and the engine has taken it in.
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
  // point lands inside its interval).
  virtual std::vector<TSearchInfo> GetTrials() const = 0;
  // f' at each trial in list order, for an engine that uses it; empty otherwise.
  virtual std::vector<double> GetSlopes() const { return {}; }
  // The constant of each interval's minorant in list order, one fewer than
  // the trials: the slope of its broken line (L, Strongin's m, a variant's
  // l_i), or the m_i of its smooth auxiliary function, as the last run left
  // them; empty for a method that draws none.
  virtual std::vector<double> GetIntervalConstants() const { return {}; }

  // What Run refuses when an engine does not take any interval.
  static constexpr const char* IntervalRefusal = "the interval must be finite with its left end below its right end";

 protected:
  SearchEngine() = default;

  // Whether a run takes any interval: the window's methods work on reversed
  // and empty ones as their rules do; the others need a finite xmin < xmax.
  virtual bool TakesAnyInterval() const { return false; }

  // The parts of a step. Start begins a fresh run: it places the two ends
  // (a library that drives itself only makes ready) and sets the best point.
  virtual void Start(double xmin, double xmax) = 0;
  // Chooses the interval the next step splits; false when none can be
  // compared, so that nothing can be chosen.
  virtual bool Choose() = 0;
  // The chosen interval's length, measured exactly: the interval rule only looks.
  virtual Velmora::Extended ChosenLength() = 0;
  // Places the new point in the chosen interval and takes in F's value there,
  // keeping the best point and the precision; fills the record but its Step.
  // When nothing can be placed, the reason the run ends there.
  virtual std::optional<StopReason> Place(TStepRecord& record) = 0;

  // The loop: Step until the rule ends the run. A library that drives itself
  // overrides it and calls Step from its callback.
  virtual StopReason Drive(const StopRule& rule);
  // One step with the rule's checks around it; the reason when the run ends
  // here, before or after the step.
  std::optional<StopReason> Step(const StopRule& rule);

  bool StopWasRequested() const { return stopRequested_; }
  bool Observed() const { return static_cast<bool>(observer_); }

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
