// The functions a class run walks: those a generated class draws, or the
// rows of a shipped test set by their position in the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "TestClass.h"
#include "TestSuite.h"

namespace Velmora::Cli {

class FunctionSource {
 public:
  // Reads a test set's file from dataFolder; throws SuiteFileError when it
  // cannot be used, and UsageError when the range goes past its last row.
  FunctionSource(const ClassRange& range, const std::string& dataFolder);

  // Function `index` of the class or row `index` of the set, with the row's
  // first minimiser as x*. Safe on several threads at once.
  Lab::TestFunction make(std::uint64_t index) const;

 private:
  ClassRange range_;
  std::vector<Problem> rows_;
};

}  // namespace Velmora::Cli
