#include "FunctionSource.h"

#include <filesystem>

#include "FormulaFunction.h"

namespace Velmora::Cli {

FunctionSource::FunctionSource(const ClassRange& range, const std::string& dataFolder) : range_(range) {
  if (range.set.empty()) return;
  rows_ = readProblemsFile((std::filesystem::path(dataFolder) / (range.set + ".tsv")).string());
  if (range.last >= rows_.size())
    throw UsageError("--class " + range.set + " has rows 0 to " + std::to_string(rows_.size() - 1) + " (asked for " +
                     std::to_string(range.first) + " to " + std::to_string(range.last) + ")");
}

Lab::TestFunction FunctionSource::make(std::uint64_t index) const {
  if (range_.set.empty()) return Lab::makeTestFunction(range_.cls, index);
  const Problem& row = rows_[index];
  Lab::TestFunction f{range_.cls, index, row.a, row.b, row.formula, row.minimisers.front(), 0, row.lipschitz};
  // As for a class: the value a run evaluating the formula there sees.
  f.fstar = Lab::FormulaFunction(row.formula)(f.xstar);
  return f;
}

}  // namespace Velmora::Cli
