// The csv files that --from-csv reads back: one run's file or the shards of
// a sweep, each with or without its header, in any order.
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

#include "CommandLine.h"
#include "TestSet.h"

namespace Velmora::Cli {

// The columns of one kind of csv; a header is known by its first column.
struct CsvLayout {
  std::string_view name;  ///< as messages name the kind: "a class csv"
  std::span<const std::string_view> columns;
  std::span<const std::string_view> needed;
};

extern const CsvLayout ClassCsvLayout;
extern const CsvLayout SuiteCsvLayout;

// The layout of the first header among the files. Throws Lab::FileError when no file begins with one.
const CsvLayout& layoutOfFiles(const std::vector<std::string>& files);

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
  const Lab::MethodInfo& method() const;  ///< of the column "method", which both layouts have
  // The column "first_hit": none when empty, else a whole number from 1 to budget.
  std::optional<std::uint64_t> firstHit(std::uint64_t budget, std::string_view budgetName) const;
  // A number of the column that is 0 or more: an error, the seconds.
  double nonNegative(std::string_view column) const;
  const std::string& place() const { return place_; }  ///< "file:line"
  Lab::FileError fail(const std::string& message) const { return Lab::FileError(place_ + ": " + message); }

 private:
  const std::vector<std::string>& cells_;
  const std::map<std::string, std::size_t>& columns_;
  std::string place_;
};

// Every row of every file in turn, in the order of their lines, to take.
// Throws Lab::FileError naming file and line: a header of another layout,
// an unknown column, a needed one missing, or a row of the wrong width.
void readCsvRows(const std::vector<std::string>& files, const CsvLayout& layout,
                 const std::function<void(const CsvRow&)>& take);

// Each method's parameter as its rows give it: one summary holds one value
// per method, except for a Lipschitz estimate that is each problem's own.
class MethodParams {
 public:
  // Throws Lab::FileError at row when the method had another value before.
  void note(const CsvRow& row, MethodId method, double param);

 private:
  std::map<MethodId, std::pair<double, std::string>> first_;  ///< the value and where it was first seen
};

// The parameters the runs were given (--param-METHOD), as their rows show
// them: a method's one value where it is not that of runs over many
// problems, a Lipschitz estimate where every run of more than one had the same.
std::map<MethodId, double> givenParams(const std::vector<std::pair<MethodId, double>>& runParams);

// Into plan the seeds of the runs, as the run gave them: --seed S for
// one, --seeds N for 0 to N - 1. Throws Lab::FileError, naming the files,
// when several seeds are not 0 to N - 1: no one run made them, and the
// missing seeds would count as runs that solved nothing.
void takeSeeds(const std::set<std::uint64_t>& seeds, const std::vector<std::string>& files, Lab::RunPlan& plan);

// The row's stop cell as a reason, fromKey reading the keys the csv's kind writes.
Lab::StopReason stopCell(const CsvRow& row, std::optional<Lab::StopReason> (*fromKey)(std::string_view));

}  // namespace Velmora::Cli
