// The page's calls for one search: the run, the curve, the formula's check
// and the state after any step of a run, for the course.
#pragma once

#include "JsValues.h"

namespace Velmora::Web {

// {x, fun, nit, nfev, stop, stopText, success, message, precision, param,
// trials: {x, f}, order, fault, faultInMethod, reports, trialsOutside,
// firstStepOutside, steps (when recordSteps), error}: in error, error alone.
val search(const val& request);
// The window's curve: {x, f, faults, firstFault}, f NaN where F faulted.
val samples(const val& request);
// {ok: true}, or {ok: false, message, position} with the window's error line.
val checkFormula(const std::string& formula);
// The state after step k of the run the request asks for: {step, trials: {x,
// f}, characts (each interval's, in x order), minorant: {x, f}, best, error}.
val courseState(const val& request, int k);

}  // namespace Velmora::Web
