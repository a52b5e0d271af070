#include "ClassCsv.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "Fields.h"

namespace Velmora::Cli {

namespace {

constexpr const char* ClassColumns[] = {"class", "index", "method", "param", "first_hit", "stop", "seed"};

std::vector<std::string> owned(const std::vector<std::string_view>& fields) {
  return {fields.begin(), fields.end()};
}

Lab::StopReason parseStop(const std::string& key, const std::function<SuiteFileError(const std::string&)>& fail) {
  using Lab::StopReason;
  for (StopReason stop : {StopReason::StopRequested, StopReason::StepBoundHit, StopReason::IntervalRuleMet,
                          StopReason::PointLeftInterval, StopReason::NoComparableInterval, StopReason::Fault})
    if (Lab::classRunStopKey(stop) == key) return stop;
  throw fail("stop: \"" + key + "\" is no reason a class run stops");
}

std::uint64_t wholeNumber(const std::string& text, const std::string& what,
                          const std::function<SuiteFileError(const std::string&)>& fail) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 19)
    throw fail(what + ": \"" + text + "\" is not a whole number");
  return std::stoull(text);
}

using Columns = std::map<std::string, std::size_t>;
using Failure = std::function<SuiteFileError(const std::string&)>;

// The columns of the first file that begins with a header: shards written
// with --no-header may come before the one with the header, and take its columns.
Columns firstHeader(const std::vector<std::string>& files) {
  Columns columns;
  for (const std::string& file : files) {
    std::ifstream in(file);
    std::string first;
    while (std::getline(in, first) && first.empty()) {}
    if (!first.empty() && first.back() == '\r') first.pop_back();
    if (first.rfind("class,", 0) != 0) continue;
    const std::vector<std::string> names = owned(splitFields(first, ','));
    for (std::size_t i = 0; i < names.size(); ++i) columns[names[i]] = i;
    break;
  }
  return columns;
}

Columns headerColumns(const std::vector<std::string>& cells, const Failure& fail) {
  if (cells.front() == "id")
    throw fail("this is a test set's csv (--suite); --from-csv reads the csv of class runs (--class)");
  Columns column;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (std::find(std::begin(ClassColumns), std::end(ClassColumns), cells[i]) == std::end(ClassColumns))
      throw fail("unknown column \"" + cells[i] + "\" (a class csv has class, index, method, param, first_hit, stop, seed)");
    column[cells[i]] = i;
  }
  for (const char* needed : {"class", "index", "method", "first_hit", "stop"})
    if (!column.count(needed)) throw fail(std::string("the header has no column \"") + needed + "\"");
  return column;
}

// The runs of every file as they are read, and what they say of the class,
// the methods and the seeds.
struct CsvRuns {
  std::vector<ClassRunRow> rows;
  std::optional<std::string> classKey;
  // Where each run was first seen, to name both places of a duplicate.
  std::map<std::tuple<std::uint64_t, MethodId, std::optional<std::uint64_t>>, std::string> seen;
  std::vector<MethodId> methods;  ///< in the order they first appear
  std::set<std::uint64_t> seeds;

  void add(const std::vector<std::string>& cells, const Columns& column, const std::string& place, const Failure& fail);
  // Into options, the class, the range, the methods and the seeds of the runs.
  void describe(ClassOptions& options) const;
};

void CsvRuns::add(const std::vector<std::string>& cells, const Columns& column, const std::string& place,
                  const Failure& fail) {
  const auto cell = [&](const char* name) -> std::string {
    const auto at = column.find(name);
    if (at == column.end()) return {};
    if (at->second >= cells.size()) throw fail(std::string("the row has no value in column \"") + name + "\"");
    return cells[at->second];
  };
  if (cells.size() != column.size())
    throw fail("the row has " + std::to_string(cells.size()) + " fields, the header " + std::to_string(column.size()));
  if (!classKey) classKey = cell("class");
  if (cell("class") != *classKey) throw fail("runs of class " + cell("class") + " among runs of class " + *classKey);
  ClassRunRow row;
  row.index = wholeNumber(cell("index"), "index", fail);
  const Lab::MethodInfo* method = Lab::findMethod(cell("method"));
  if (!method) throw fail("unknown method \"" + cell("method") + "\"");
  row.method = method->id;
  if (!cell("param").empty()) row.param = parseNumber(cell("param"), "param");
  if (!cell("first_hit").empty()) row.run.firstHit = static_cast<int>(wholeNumber(cell("first_hit"), "first_hit", fail));
  row.run.stop = parseStop(cell("stop"), fail);
  if (method->stochastic) {
    row.seed = wholeNumber(cell("seed"), "seed", fail);
    seeds.insert(*row.seed);
  }
  const auto [where, fresh] = seen.emplace(std::make_tuple(row.index, row.method, row.seed), place);
  if (!fresh) throw fail("this run was seen before, at " + where->second);
  if (std::find(methods.begin(), methods.end(), row.method) == methods.end()) methods.push_back(row.method);
  rows.push_back(row);
}

void CsvRuns::describe(ClassOptions& options) const {
  options.methods = methods;
  ClassRange& range = options.range;
  if (const Lab::TestClass* cls = Lab::findTestClass(*classKey))
    range.cls = cls->id;
  else
    range.set = *classKey;
  const auto [low, high] = std::minmax_element(rows.begin(), rows.end(),
                                               [](const ClassRunRow& a, const ClassRunRow& b) { return a.index < b.index; });
  range.first = low->index;
  range.last = high->index;
  if (seeds.size() > 1) options.seeds = static_cast<int>(*seeds.rbegin() + 1);
  else if (!seeds.empty()) options.seed = *seeds.begin();
}

void readFile(const std::string& file, const Columns& firstColumns, CsvRuns& runs) {
  std::ifstream in(file);
  if (!in) throw SuiteFileError(file + ": cannot open the file");
  Columns column;
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::string place = file + ":" + std::to_string(lineNumber);
    const auto fail = [&](const std::string& message) { return SuiteFileError(place + ": " + message); };
    const std::vector<std::string> cells = owned(splitFields(line, ','));
    if (cells.front() == "class" || cells.front() == "id") {
      column = headerColumns(cells, fail);
      continue;
    }
    // A shard after the first has no header: its rows take the first file's columns.
    if (column.empty()) {
      if (firstColumns.empty()) throw fail("no file begins with the header of a class csv");
      column = firstColumns;
    }
    runs.add(cells, column, place, fail);
  }
}

}  // namespace

std::vector<ClassRunRow> readClassCsv(const std::vector<std::string>& files, ClassOptions& options) {
  const Columns firstColumns = firstHeader(files);
  CsvRuns runs;
  for (const std::string& file : files) readFile(file, firstColumns, runs);
  if (runs.rows.empty()) throw SuiteFileError(files.front() + ": the files hold no runs");
  runs.describe(options);
  const auto order = [&](const ClassRunRow& r) {
    return std::make_tuple(r.index, std::find(runs.methods.begin(), runs.methods.end(), r.method) - runs.methods.begin(),
                           r.seed);
  };
  std::vector<ClassRunRow> rows = std::move(runs.rows);
  std::sort(rows.begin(), rows.end(), [&](const ClassRunRow& a, const ClassRunRow& b) { return order(a) < order(b); });
  return rows;
}

}  // namespace Velmora::Cli
