// One search as a request and its outcome: what the window's Search and
// velmora-run both hand to the core, and everything a run leaves behind.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Charact_opt.h"
#include "MethodCatalogue.h"

namespace Velmora::Lab {

enum class StopRule {
  Steps,           ///< exactly `steps` steps
  Precision,       ///< until a step's precision is at most eps, at most maxSteps steps
  IntervalLength,  ///< until the interval to split is no longer than eps, at most maxSteps steps
};

enum class StopReason {
  StepsDone,         ///< the step count was reached
  PrecisionReached,  ///< a step's precision came within eps
  IntervalRuleMet,   ///< the interval to split was no longer than eps
  StepBoundHit,      ///< a precision or interval rule met the step bound first
  Fault,             ///< a fault of F or of the arithmetic ended the run
};

struct SearchRequest {
  VELMORAALG::TOptFunc objective;  ///< unused when the caller brings its own method object
  double xmin = 0;
  double xmax = 0;
  MethodId method = MethodId::Scan;
  double param = DefaultMethodParam;  ///< as entered; the catalogue's rule gives the value used
  StopRule stop = StopRule::Steps;
  int steps = 0;
  double eps = 0;
  int maxSteps = MaxSteps;
  bool recordSteps = false;
};

// One trial in list order.
struct Trial {
  double x;
  double f;        ///< NaN also for a trial whose value a failed run never reached
  double charact;  ///< of the interval that begins here; 0 for the last trial
  int placed;      ///< its number in the order of placing: the ends 1 and 2, step k's point k + 2
};

struct SearchOutcome {
  double paramUsed = 0;  ///< L or r as the method holds it; 0 for scanning
  double bestX = 0;      ///< the point of the lowest value found (the last completed update after a fault)
  double fBest = 0;
  double precision = 0;  ///< the last step's; 0 before an object's first step
  int stepCount = 0;
  StopReason stop = StopReason::StepsDone;
  std::optional<std::string> fault;  ///< the user's text of the fault that ended the run
  std::vector<std::string> reports;  ///< each distinct library report once, in order of first appearance
  // Distinct points at which F was evaluated; counted only when the core made
  // the method from the request's objective.
  std::optional<std::size_t> evaluations;
  double seconds = 0;
  std::vector<Trial> trials;
  std::vector<VELMORAALG::TStepRecord> stepRecords;  ///< one per step, when the request asked
};

// Makes the method from the catalogue and the request's objective, and runs it.
SearchOutcome runSearch(const SearchRequest& request);

// Runs a method object the caller holds (the window keeps one between its
// presses, and whatever the object carries over from run to run carries
// over). The object must be the catalogue's make of request.method.
SearchOutcome runSearch(VELMORAALG::TCharactOpt& method, const SearchRequest& request);

// The trials' points in the order they were placed.
std::vector<double> placementOrder(const std::vector<Trial>& trials);

}  // namespace Velmora::Lab
