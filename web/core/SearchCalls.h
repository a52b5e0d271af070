// The page's calls for one search: the run, the curve and the formula's check.
#pragma once

#include "JsValues.h"

namespace Velmora::Web {

// {x, fun, nit, nfev, stop, stopText, success, message, precision, param,
// trials: {x, f}, order, fault, faultInMethod, reports, trialsOutside,
// firstStepOutside, steps (when recordSteps), error}: in error, error alone.
// With keepRun the core keeps the run for saving its trials and, when it
// recorded its steps, for its course (CourseCalls.h); the page's own Search
// asks for it.
val search(const val& request);
// The window's curve: {x, f, faults, firstFault}, f NaN where F faulted.
val samples(const val& request);
// {ok: true}, or {ok: false, message, position} with the window's error line.
val checkFormula(const std::string& formula);
}  // namespace Velmora::Web
