#include "OutsideWarning.h"

#include "NumberText.h"

namespace Velmora::Lab {

std::optional<std::string> outsideWarning(const SearchOutcome& outcome, std::optional<MethodId> method, double xmin,
                                          double xmax) {
  if (outcome.trialsOutside == 0) return std::nullopt;
  const bool fixedL = method && methodInfo(*method).param == ParamMeaning::LipschitzEstimate;
  std::string text = std::to_string(outcome.trialsOutside) + " of " + std::to_string(outcome.trials.size()) +
                     " trials lie outside [" + shortest(xmin) + ", " + shortest(xmax) + "], the first at step " +
                     std::to_string(outcome.firstStepOutside);
  text += fixedL ? "; L = " + shortest(outcome.paramUsed) + " is below the function's slope there." : ".";
  if (!outcome.fault && (outcome.bestX < xmin || outcome.bestX > xmax))
    text += " The best point found, " + shortest(outcome.bestX) + ", lies outside the interval.";
  if (fixedL) text += " A larger L avoids this.";
  return text;
}

}  // namespace Velmora::Lab
