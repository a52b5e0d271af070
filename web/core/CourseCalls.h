// The page's last run, kept in the core: its trials to save, and its course,
// what each step decided from, as the window's course shows it.
#pragma once

#include <string>

#include "FormulaRequest.h"
#include "JsValues.h"
#include "Search.h"

namespace Velmora::Web {

// Keeps the run; one that recorded its steps and ended without a fault is
// also the course that courseStep shows.
void keepRun(FormulaRequest search, const Lab::SearchOutcome& outcome);

// The kept run's trials as csv: order,x,f in the order they were placed, as
// the window saves them; empty with no run.
std::string trialsCsv();

// Step k of the kept run's course, 0 <= k <= its steps: {step, trials: {x, f} (those
// step k chose among, left by step k - 1), characts (their intervals'),
// minorant: {x, f} (the broken line whose vertex is step k's point, or the
// minorant the earlier steps left), best (the lowest value by the end of step
// k), error}.
val courseStep(int k);
// The lowest value by the end of each step, 0 .. steps (null with no course).
val courseBest();
// The table of steps as csv under the header given (the table's column
// titles), every number the shortest text that reads back; empty with no course.
std::string courseStepsCsv(const std::string& header);

}  // namespace Velmora::Web
