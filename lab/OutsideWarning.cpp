#include "OutsideWarning.h"

#include <cmath>

#include "NumberText.h"

namespace Velmora::Lab {

namespace {

// Trials at x = NaN count as outside, but no L puts them there: a value of F
// that is not a number made the method's point NaN.
struct NaNPoints {
  std::size_t count = 0;
  int firstStep = 0;
};

NaNPoints nanPoints(const SearchOutcome& outcome) {
  NaNPoints points;
  for (const Trial& trial : outcome.trials) {
    if (!std::isnan(trial.x)) continue;
    ++points.count;
    const int step = trial.placed - 2;
    if (points.firstStep == 0 || step < points.firstStep) points.firstStep = step;
  }
  return points;
}

}  // namespace

std::optional<std::string> outsideWarning(const SearchOutcome& outcome, std::optional<MethodId> method, double xmin,
                                          double xmax) {
  if (outcome.trialsOutside == 0) return std::nullopt;
  const NaNPoints nan = nanPoints(outcome);
  const std::size_t beyond = outcome.trialsOutside - nan.count;
  const bool blameL = beyond > 0 && method && methodInfo(*method).param == ParamMeaning::LipschitzEstimate;
  const std::string of = " of " + std::to_string(outcome.trials.size()) + " trials ";
  std::string text;
  if (beyond > 0) {
    text = std::to_string(beyond) + of + "lie outside [" + shortest(xmin) + ", " + shortest(xmax) + "]";
    if (nan.count == 0) text += ", the first at step " + std::to_string(outcome.firstStepOutside);
    text += blameL ? "; L = " + shortest(outcome.paramUsed) + " is below the function's slope there." : ".";
  }
  if (nan.count > 0) {
    if (!text.empty()) text += " ";
    text += std::to_string(nan.count) + of + "are at x = nan, the first at step " + std::to_string(nan.firstStep) +
            ": F was not a number at a trial the method computed them from.";
  }
  if (!outcome.fault && (outcome.bestX < xmin || outcome.bestX > xmax))
    text += " The best point found, " + shortest(outcome.bestX) + ", lies outside the interval.";
  if (blameL) text += " A larger L avoids this.";
  return text;
}

}  // namespace Velmora::Lab
