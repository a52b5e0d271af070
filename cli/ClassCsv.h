// Class runs read back from the csv that --class --format csv writes, from
// one file or from the shards of a sweep in any order.
#pragma once

#include <string>
#include <vector>

#include "ClassRuns.h"
#include "CommandLine.h"
#include "TestSet.h"

namespace Velmora::Cli {

// The rows of every file in the order a single run writes them, and into
// options the class, the range, the methods in the order they first appear
// and the seeds. Throws Lab::FileError naming file and line: a column a
// class csv has not, a test set's csv among them, a bad field, a run seen
// twice, or files of different classes.
std::vector<Lab::ClassRunRow> readClassCsv(const std::vector<std::string>& files, ClassOptions& options);

}  // namespace Velmora::Cli
