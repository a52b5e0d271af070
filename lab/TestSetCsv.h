// A test set's runs as csv, one row per run, and read back from the csv that
// a test-set run writes, from one file or from several, their rows in any order.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "RunPlan.h"
#include "TestSet.h"

namespace Velmora::Lab {

// The runs' rows alone, without the header (csvHeader(TestSetCsvKind)) and
// the mean rows that a whole run's file ends with.
void writeTestSetCsvRows(std::ostream& out, const std::vector<TestSetRow>& rows);

// The runs in the order of one run's csv, their problems by id (by number
// when the ids are whole numbers); into plan the methods, their parameters
// and the seeds. The mean rows are made again from the runs. Throws FileError
// naming file and line: a column a test set's csv has not, a class csv among
// them, a bad field, a first hit beyond the run's trials, a negative error or
// time, a method with two parameters, or a run seen twice.
std::vector<TestSetRow> readTestSetCsv(const std::vector<std::string>& files, RunPlan& plan);

}  // namespace Velmora::Lab
