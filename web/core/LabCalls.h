// The page's calls for runs over many problems: a range of a class or of a
// shipped test set, run here on one thread (the page spreads ranges over its
// workers), and the summary of their rows read back from the csv.
#pragma once

#include <string>

#include "JsValues.h"

namespace Velmora::Web {

// A shipped test set's file as the page fetched it, read once for the class
// runs and test-set runs on its rows (NAME is "hansen20", "hill1000" or
// "shekel1000").
val addTestSet(const std::string& name, const std::string& text);
// {cls, first, last, methods: [ids], params: {id: value}, budget, delta,
// seed, seeds, progress(done, runs)} → {header, csv (the rows alone), runs, error}.
val classRun(const val& request);
// The class csv's rows (with or without the header) read back as velmora-run
// --from-csv reads them: {cls, first, last, methods: [{id, param, runs,
// solved, meanFirstHit, medianFirstHit, characteristic: [{k, share}]}], error}.
val classSummary(const std::string& csv, int budget, double delta);

// {set, first, last (rows by position, from 0), methods, params, epsRel |
// steps, seed, seeds, progress} → {header, csv, runs, error}: the
// literature's protocol on a shipped test set handed over by addTestSet.
val testSetRun(const val& request);
// A test set's csv read back: {methods: [{id, param, runs, successes,
// finished, trials, error, firstHit, characteristic}], error}.
val testSetSummary(const std::string& csv);

}  // namespace Velmora::Web
