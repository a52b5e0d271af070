// The page's calls on the catalogue and on the window's number rules.
#pragma once

#include <string>

#include "JsValues.h"

namespace Velmora::Web {

// One object per method this build can run, in the catalogue's order, with
// the Python module's fields (id, name, param, param_rule, default,
// installed) and the window's face of it (windowName, paramLabel,
// paramNoun, paramSymbol, stepConstantLabel, stops, usesSlope, stochastic,
// brokenLine, batchNeedsParam).
val methods();
// The window's reading of a number, "," or "." as the decimal separator;
// null when it does not read.
val readNumber(const std::string& text);
std::string formatFixed(double value, int precision, int decimals, const std::string& separator);
std::string shortest(double value);
// The most steps a run makes, and the window's step count takes.
int maxSteps();
// The window's six sample formulas, in its order.
val sampleFormulas();

}  // namespace Velmora::Web
