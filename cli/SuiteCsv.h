// A test set's runs read back from the csv that --suite --format csv writes,
// from one file or from several, their rows in any order.
#pragma once

#include <string>
#include <vector>

#include "CommandLine.h"
#include "TestSet.h"

namespace Velmora::Cli {

// The runs in the order of one run's csv, their problems by id (by number
// when the ids are whole numbers); into options the methods, their
// parameters and the seeds. The mean rows are made again from the runs. Throws Lab::FileError naming
// file and line: a column a test set's csv has not, a class csv among them,
// a bad field, or a run seen twice.
std::vector<Lab::TestSetRow> readSuiteCsv(const std::vector<std::string>& files, SuiteOptions& options);

}  // namespace Velmora::Cli
