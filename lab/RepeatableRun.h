// A run of the window's method object made without its step records, which
// only the search's course needs: kept so that the same run can be made
// again with them when the course is shown.
#pragma once

#include "Search.h"

namespace Velmora::Lab {

struct RepeatableRun {
  SearchRequest request;  ///< as the object ran it, without step records
  double carried = 0;     ///< the object's carried constant before the run
  SearchOutcome outcome;
};

// Runs the request on the caller's object without recording its steps.
RepeatableRun runRepeatably(VELMORAALG::SearchEngine& method, SearchRequest request);

// The same run again with a record of every step, on a fresh object of the
// request's method that starts from the carried constant and takes F from
// the outcome's trials: the run that was made, bit for bit, whatever has
// happened to the caller's object or objective since. For a run that ended
// without a fault.
SearchOutcome runAgainRecorded(const RepeatableRun& run);

}  // namespace Velmora::Lab
