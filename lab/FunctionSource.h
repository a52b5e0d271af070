// The functions a class run walks: those a generated class draws, or the
// rows of a shipped test set by their position in the file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TestClass.h"
#include "TestSet.h"

namespace Velmora::Lab {

// The test sets that come with Velmora, as data/NAME.tsv; a class run takes
// their rows by position, from 0.
inline constexpr std::array<std::string_view, 3> ShippedTestSets{"hansen20", "hill1000", "shekel1000"};

// One run keeps every row until it hands them back in order; a larger sweep
// is split into shards of ranges.
inline constexpr std::uint64_t MaxClassFunctions = 1'000'000;

// Functions first..last of a class or of a shipped test set, both included.
struct ClassRange {
  TestClassId cls = TestClassId::Hill;
  std::string set;  ///< a shipped test set's name; empty for a generated class
  std::uint64_t first = 0;
  std::uint64_t last = 0;
};

// "hill", "shekel1000".
std::string_view classKey(const ClassRange& range);
// Every class and shipped set: "hill, shekel, hansen20, hill1000 or shekel1000".
std::string classKeys();

// CLASS, CLASS:N (functions 0..N-1) or CLASS:FIRST-LAST; true when a count
// or range was given (CLASS alone leaves first and last unset). what names
// the text in messages. Throws BadValue.
std::pair<ClassRange, bool> parseClassRange(std::string_view text, std::string_view what);

class FunctionSource {
 public:
  // Reads a test set's file from dataFolder; throws FileError when it
  // cannot be used, and BadValue when the range goes past its last row.
  FunctionSource(const ClassRange& range, const std::string& dataFolder);
  // A test set's rows already read, for a caller that runs several ranges
  // of it; BadValue when the range goes past its last row. For a generated
  // class rows are not read and should be empty.
  FunctionSource(const ClassRange& range, std::vector<Problem> rows);

  // Function `index` of the class or row `index` of the set, with every one
  // of the row's global minimisers. Safe on several threads at once.
  TestFunction make(std::uint64_t index) const;
  const ClassRange& range() const { return range_; }

 private:
  ClassRange range_;
  std::vector<Problem> rows_;
};

}  // namespace Velmora::Lab
