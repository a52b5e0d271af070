// Why a run stopped: one value for every engine, with the key that csv and
// json write and the text a person reads.
#pragma once

#include <optional>
#include <string_view>

namespace VELMORAALG {

enum class StopReason {
  StepsDone,         ///< the step count was reached
  PrecisionReached,  ///< a step's precision came within eps
  IntervalRuleMet,   ///< the interval to split was no longer than eps
  StepBoundHit,      ///< a precision or interval rule met the step bound first
  Fault,             ///< a fault of F, of the arithmetic or of the arguments ended the run
  StopRequested,     ///< the step observer asked for the stop after a step, whatever else that step met
  // The new point fell beyond its interval: an estimate below the interval's
  // own slope.
  PointLeftInterval,
  // Every interval has an end where F is NaN, so no characteristic could be
  // compared and nothing could be chosen.
  NoComparableInterval,
  // The new point fell on an end of the chosen interval: no double lies
  // between the ends, and the run has gone as far as doubles go there.
  IntervalUnsplittable,
};

// steps, precision, interval, bound, fault, requested, left-interval, no-interval, unsplittable.
constexpr std::string_view stopReasonKey(StopReason reason) {
  switch (reason) {
    case StopReason::StepsDone: return "steps";
    case StopReason::PrecisionReached: return "precision";
    case StopReason::IntervalRuleMet: return "interval";
    case StopReason::StepBoundHit: return "bound";
    case StopReason::Fault: return "fault";
    case StopReason::StopRequested: return "requested";
    case StopReason::PointLeftInterval: return "left-interval";
    case StopReason::NoComparableInterval: return "no-interval";
    case StopReason::IntervalUnsplittable: return "unsplittable";
  }
  return "";
}

// The reason whose key this is; none for a key no reason has.
constexpr std::optional<StopReason> stopReasonFromKey(std::string_view key) {
  // stopReasonKey names every reason and nothing past the last, so counting up meets them all.
  for (int i = 0; !stopReasonKey(static_cast<StopReason>(i)).empty(); ++i)
    if (stopReasonKey(static_cast<StopReason>(i)) == key) return static_cast<StopReason>(i);
  return std::nullopt;
}

constexpr std::string_view stopReasonText(StopReason reason) {
  switch (reason) {
    case StopReason::StepsDone: return "the steps were made";
    case StopReason::PrecisionReached: return "the precision was reached";
    case StopReason::IntervalRuleMet: return "the chosen interval was short enough";
    case StopReason::StepBoundHit: return "the step bound was hit";
    case StopReason::Fault: return "a fault";
    case StopReason::StopRequested: return "a stop was asked for";
    case StopReason::PointLeftInterval: return "the new point left its interval";
    case StopReason::NoComparableInterval: return "no interval could be chosen";
    case StopReason::IntervalUnsplittable: return "the chosen interval cannot be split further";
  }
  return "";
}

}  // namespace VELMORAALG
