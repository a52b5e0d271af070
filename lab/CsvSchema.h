// The csv files Velmora writes, one table of columns per kind, and the
// reading of them back: one run's file or the shards of a sweep, each with or
// without its header, in any order. Every kind has its columns whatever the
// methods; a file written before a column existed lacks it, and still reads.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "MethodCatalogue.h"
#include "RunPlan.h"
#include "Search.h"
#include "TextLines.h"

namespace Velmora::Lab {

struct CsvColumn {
  std::string_view name;
  bool needed;  ///< false for a column that older files lack
};

// The columns of one kind of csv, in the order they are written; a header is known by its first column.
struct CsvKind {
  std::string_view name;  ///< as messages name the kind: "a class csv"
  std::span<const CsvColumn> columns;
};

extern const CsvKind ClassCsvKind;
extern const CsvKind TestSetCsvKind;
extern const CsvKind SearchCsvKind;

// The kind's header line, without its line break.
std::string csvHeader(const CsvKind& kind);
// Quoted, with doubled quotes, only where a comma, quote or line break needs it.
std::string csvField(const std::string& text);

// The kind of the first header among the files, class runs' or a test set's.
// Throws FileError when no file begins with one.
const CsvKind& kindOfFiles(const std::vector<std::string>& files);

// One row of a file, its cells by column name.
class CsvRow {
 public:
  CsvRow(const std::vector<std::string>& cells, const std::map<std::string, std::size_t>& columns, std::string place)
      : cells_(cells), columns_(columns), place_(std::move(place)) {}
  bool has(std::string_view column) const { return columns_.count(std::string(column)) > 0; }
  // Empty when the header has no such column.
  std::string cell(std::string_view column) const;
  std::uint64_t wholeNumber(std::string_view column) const;
  double number(std::string_view column) const;
  // A number that cannot be below 0, such as an error or a time.
  double nonNegative(std::string_view column) const;
  // The first_hit cell: empty for none, else a trial from 1 to budget.
  std::optional<std::size_t> firstHit(std::size_t budget, std::string_view budgetWords) const;
  const MethodInfo& method() const;  ///< of the column "method", which every kind read back has
  const std::string& place() const { return place_; }  ///< "file:line"
  FileError fail(const std::string& message) const { return FileError(place_ + ": " + message); }

 private:
  const std::vector<std::string>& cells_;
  const std::map<std::string, std::size_t>& columns_;
  std::string place_;
};

// Every row of every file in turn, in the order of their lines, to take.
// Throws FileError naming file and line: a header of another kind, an
// unknown column, a needed one missing, or a row of the wrong width.
void readCsvRows(const std::vector<std::string>& files, const CsvKind& kind, const std::function<void(const CsvRow&)>& take);

// The parameters the rows show, as the runs were given them (--param-METHOD):
// a method's one value where it is not that of runs over many problems, a
// Lipschitz estimate where every run of more than one had the same.
class RecordedParams {
 public:
  // Throws FileError for a method whose parameter does not come from the
  // problem and that ran with two: one summary cannot hold both.
  void add(const CsvRow& row, MethodId method, double param);
  std::map<MethodId, double> given() const;

 private:
  std::map<MethodId, std::set<double>> values_;
  std::map<MethodId, std::size_t> runs_;
  std::map<MethodId, std::pair<double, std::string>> first_;  ///< a method's first value and where it was
};

// Into plan the seeds of the runs, as the run gave them: --seed S for
// one, --seeds N for 0 to N - 1. Throws FileError, naming the files,
// when several seeds are not 0 to N - 1: no one run made them, and the
// missing seeds would count as runs that solved nothing.
void takeSeeds(const std::set<std::uint64_t>& seeds, const std::vector<std::string>& files, RunPlan& plan);

// The row's stop cell as a reason, fromKey reading the keys the csv's kind writes.
StopReason stopCell(const CsvRow& row, std::optional<StopReason> (*fromKey)(std::string_view));

}  // namespace Velmora::Lab
