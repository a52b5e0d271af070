#include "FunctionSource.h"

#include <algorithm>
#include <filesystem>

#include "Fields.h"
#include "FormulaFunction.h"
#include "ReadNumber.h"

namespace Velmora::Lab {

std::string_view classKey(const ClassRange& range) {
  return range.set.empty() ? testClass(range.cls).key : std::string_view(range.set);
}

std::string classKeys() {
  std::vector<std::string_view> keys;
  for (const TestClass& c : testClasses()) keys.push_back(c.key);
  keys.insert(keys.end(), ShippedTestSets.begin(), ShippedTestSets.end());
  return listed(keys);
}

std::pair<ClassRange, bool> parseClassRange(std::string_view text, std::string_view what) {
  const std::size_t colon = text.find(':');
  const std::string_view key = text.substr(0, colon);
  ClassRange range;
  if (const TestClass* cls = findTestClass(key))
    range.cls = cls->id;
  else if (std::find(ShippedTestSets.begin(), ShippedTestSets.end(), key) != ShippedTestSets.end())
    range.set = key;
  else
    throw BadValue("unknown class \"" + std::string(key) + "\" (expected " + classKeys() + ")");
  if (colon == std::string_view::npos) return {range, false};
  const std::string named(what);
  const std::string_view rest = text.substr(colon + 1);
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || dash == 0) {
    const std::uint64_t count = readIndex(rest, named);
    if (count == 0) throw BadValue(named + ": a count of functions is at least 1");
    range.last = count - 1;
  } else {
    range.first = readIndex(rest.substr(0, dash), named);
    range.last = readIndex(rest.substr(dash + 1), named);
    if (range.last < range.first) throw BadValue(named + ": the range ends before it starts");
  }
  if (range.last - range.first >= MaxClassFunctions)
    throw BadValue(named + ": at most " + std::to_string(MaxClassFunctions) +
                   " functions in one run (split the range into shards)");
  return {range, true};
}

FunctionSource::FunctionSource(const ClassRange& range, const std::string& dataFolder)
    : FunctionSource(range, range.set.empty() ? std::vector<Problem>()
                                              : readProblemsFile((std::filesystem::path(dataFolder) /
                                                                  (range.set + ".tsv")).string())) {}

FunctionSource::FunctionSource(const ClassRange& range, std::vector<Problem> rows)
    : range_(range), rows_(std::move(rows)) {
  if (range.set.empty()) return;
  if (range.last >= rows_.size())
    throw BadValue(range.set + " has rows 0 to " + std::to_string(rows_.size() - 1) + " (asked for " +
                   std::to_string(range.first) + " to " + std::to_string(range.last) + ")");
}

TestFunction FunctionSource::make(std::uint64_t index) const {
  if (range_.set.empty()) return makeTestFunction(range_.cls, index);
  const Problem& row = rows_[index];
  TestFunction f{range_.cls, index, row.a, row.b, row.formula, row.minimisers.front(), 0, row.lipschitz};
  f.otherMinimisers.assign(row.minimisers.begin() + 1, row.minimisers.end());
  // As for a class: the value a run evaluating the formula there sees.
  f.fstar = FormulaFunction(row.formula)(f.xstar);
  return f;
}

}  // namespace Velmora::Lab
