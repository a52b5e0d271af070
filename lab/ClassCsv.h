// Class runs as csv, one row per run, and read back from the csv that a
// class run writes, from one file or from the shards of a sweep in any order.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ClassRun.h"
#include "ClassRuns.h"
#include "FunctionSource.h"
#include "RunPlan.h"

namespace Velmora::Lab {

// The rows alone, without the header (csvHeader(ClassCsvKind)), so that the
// rows of consecutive ranges concatenate into those of the whole.
void writeClassCsvRows(std::ostream& out, const ClassRange& range, const std::vector<ClassRunRow>& rows);

// The rows of every file in the order a single run writes them, and into
// plan and range the class, the range, the methods in the order they first
// appear, their parameters and the seeds. Throws FileError naming file and
// line: a column a class csv has not, a test set's csv among them, a bad
// field, a first hit beyond rule's budget, a stop that contradicts the first
// hit, a method with two parameters, a run seen twice, or files of different classes.
std::vector<ClassRunRow> readClassCsv(const std::vector<std::string>& files, const ClassRule& rule, RunPlan& plan,
                                      ClassRange& range);

}  // namespace Velmora::Lab
