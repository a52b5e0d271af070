// One search as a request and its outcome: what the window's Search and
// velmora-run both hand to the core, and everything a run leaves behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MethodCatalogue.h"
#include "SearchEngine.h"
#include "StopReason.h"

namespace Velmora::Lab {

using VELMORAALG::StopReason;
using VELMORAALG::stopReasonFromKey;
using VELMORAALG::stopReasonKey;
using VELMORAALG::stopReasonText;

struct SearchRequest {
  VELMORAALG::TOptFunc objective;  ///< unused when the caller brings its own method object
  // F with its slope, for a method that uses f' (MethodInfo::makeWithSlope);
  // empty where the objective has none.
  VELMORAALG::TSlopeFunc slopeObjective;
  double xmin = 0;
  double xmax = 0;
  // The catalogue's method; none for a method of the caller's own, whose
  // engine the caller brings and whose rules hold their constant.
  std::optional<MethodId> method = MethodId::Scan;
  // As entered; the catalogue's rule gives the value used. None: the method's default.
  std::optional<double> param;
  StopKind stop = StopKind::Steps;  ///< the kind of the rule, whose numbers follow
  int steps = 0;
  double eps = 0;
  int maxSteps = MaxSteps;
  bool recordSteps = false;
  bool keepIntervalConstants = false;  ///< for a picture of the run's minorant
  std::uint64_t seed = 0;  ///< of a stochastic method's random numbers
  // Asked after each step; true ends the run there (a class run stops at its
  // first trial near the known minimiser).
  std::function<bool(const VELMORAALG::TStepRecord&)> stopAfter;
};

// One trial in list order, as the engine hands it back.
using Trial = VELMORAALG::TSearchInfo;

// The first trial, in the order of placing, at a point or with a value that is
// not a finite number: a run that met one says so outside the window.
struct NonFiniteTrial {
  int placed = 0;  ///< the ends 1 and 2, step k's point k + 2
  double x = 0;
  double f = 0;
};

struct SearchOutcome {
  double paramUsed = 0;  ///< L or r as the method holds it; 0 for scanning
  // The point of the lowest value found (the last completed update after a
  // fault; NaN for a variant that faulted before both ends had values).
  double bestX = 0;
  double fBest = 0;
  double precision = 0;  ///< the last step's; 0 before an object's first step
  int stepCount = 0;
  StopReason stop = StopReason::StepsDone;
  std::optional<std::string> fault;  ///< the user's text of the fault that ended the run
  // The fault arose in the method's own arithmetic and not in F (known only
  // when the core made the method from the request's objective).
  bool faultInMethod = false;
  std::optional<NonFiniteTrial> firstNonFinite;
  std::vector<std::string> reports;  ///< each distinct library report once, in order of first appearance
  // Distinct points at which F was evaluated; counted only when the core made
  // the method from the request's objective.
  std::optional<std::size_t> evaluations;
  double seconds = 0;
  std::vector<Trial> trials;
  std::vector<double> slopes;  ///< f' at each trial in list order, for a method that used it; empty otherwise
  // Each interval's minorant constant in list order, when the request asked
  // and the method has one (SearchEngine::GetIntervalConstants).
  std::vector<double> intervalConstants;
  // Trials outside [xmin, xmax]: Piyavsky's point is not confined to the
  // interval, and an L below the slope sends it out.
  std::size_t trialsOutside = 0;
  int firstStepOutside = 0;  ///< the first step that placed one; 0 when none did
  std::vector<VELMORAALG::TStepRecord> stepRecords;  ///< one per step, when the request asked
  // A peer's own word on how its run ended: NLopt's result code and its name.
  std::optional<int> engineResult;
  std::string engineResultText;
};

// Makes request.method, which must be set, from the catalogue and the
// request's objective, and runs it; any method of the catalogue. A method
// that uses f' needs request.slopeObjective (std::invalid_argument with
// slopeMissing's text otherwise; checkRequest says so before). A variant's interval must be finite with
// xmin < xmax: another ends as a fault with the reason as its text.
SearchOutcome runSearch(const SearchRequest& request);

// Runs a method object the caller holds, after handing it the request's
// parameter (the window keeps one between its presses, and whatever the
// object carries over from run to run carries over). The object must be the
// catalogue's make of request.method, or the caller's own engine where the
// request names no method: that engine is handed no parameter.
SearchOutcome runSearch(VELMORAALG::SearchEngine& method, const SearchRequest& request);

// "the method d-lt uses the derivative f', and this objective has none".
std::string slopeMissing(const MethodInfo& method);

// Whether a run that stopped so did what was asked: its rule was met, or
// whoever watched it asked for the stop. A step bound met before eps, a
// fault or a method that could not go on is no success.
bool succeeded(StopReason stop);
// And outside the window a run that met a point or a value that is not a
// finite number is no success either, nor one that faulted.
bool succeeded(const SearchOutcome& outcome);

// "F = -inf at x = 0, the trial placed 1st" or "the trial placed 3rd is at
// x = nan": the first such trial in words.
std::string nonFiniteText(const NonFiniteTrial& trial);

// How the run ended, in words: the fault's text (and that it arose in the
// method's own arithmetic where it did) or the stop's, then the first trial
// that was no finite number where the run met one.
std::string outcomeMessage(const SearchOutcome& outcome);

// The trials' points in the order they were placed.
std::vector<double> placementOrder(const std::vector<Trial>& trials);

}  // namespace Velmora::Lab
