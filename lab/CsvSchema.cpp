#include "CsvSchema.h"

#include <algorithm>
#include <cmath>

#include "JoinedText.h"
#include "NumberText.h"
#include "ReadNumber.h"

namespace Velmora::Lab {

namespace {

constexpr CsvColumn ClassColumns[] = {{"class", true},      {"index", true}, {"method", true}, {"param", false},
                                      {"first_hit", true},  {"stop", true},  {"seed", false}};
constexpr CsvColumn TestSetColumns[] = {{"id", true},      {"method", true}, {"param", true},   {"trials", true},
                                        {"success", true}, {"first_hit", true}, {"error", true}, {"seconds", true},
                                        {"stop", false},   {"seed", false}};
constexpr CsvColumn SearchColumns[] = {{"best_x", true},       {"f_best", true},         {"precision", true},
                                       {"step_count", true},   {"trial_count", true},    {"trials_outside", true},
                                       {"first_step_outside", true}, {"evaluations", true}, {"slope_evaluations", true}, {"bound_hit", true},
                                       {"stop", true},         {"nlopt_result", true},   {"nlopt_result_text", true},
                                       {"first_non_finite_trial", true}, {"first_non_finite_x", true},
                                       {"first_non_finite_f", true}, {"fault", true},  {"fault_source", true},
                                       {"reports", true},      {"seconds", true}};

using Columns = std::map<std::string, std::size_t>;

// The fields of a csv line; a field in double quotes may hold commas and doubled quotes.
std::vector<std::string> csvCells(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      cells.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

// Of the kinds that are read back.
const CsvKind* kindOfHeader(const std::vector<std::string>& cells) {
  for (const CsvKind* kind : {&ClassCsvKind, &TestSetCsvKind})
    if (cells.front() == kind->columns.front().name) return kind;
  return nullptr;
}

// The cells of each line of a file that is not empty, with its number, for as long as take returns true.
void eachLine(const std::string& file, const std::function<bool(const std::vector<std::string>&, int)>& take) {
  std::ifstream in = openDataFile(file);
  eachTextLine(in, file, [&](const std::string& line, int number) { return line.empty() || take(csvCells(line), number); });
}

struct Header {
  std::vector<std::string> cells;
  std::string place;
};

// The first line of the first file that begins with a header.
Header firstHeader(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    std::optional<Header> header;
    eachLine(file, [&](const std::vector<std::string>& cells, int number) {
      if (kindOfHeader(cells)) header = Header{cells, file + ":" + std::to_string(number)};
      return false;
    });
    if (header) return *header;
  }
  throw FileError(files.front() + ":1: no file begins with the header of a class csv or of a test set's csv");
}

Columns headerColumns(const std::vector<std::string>& cells, const CsvKind& kind, const CsvRow& at) {
  const CsvKind* own = kindOfHeader(cells);
  if (own != &kind) throw at.fail("the header of " + std::string(own->name) + " among files of " + std::string(kind.name));
  std::vector<std::string> known;
  for (const CsvColumn& column : kind.columns) known.emplace_back(column.name);
  Columns column;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (std::find(known.begin(), known.end(), cells[i]) == known.end())
        throw at.fail("unknown column \"" + cells[i] + "\" (" + std::string(kind.name) + " has " + joined(known, ", ") + ")");
    column[cells[i]] = i;
  }
  for (const CsvColumn& needed : kind.columns)
    if (needed.needed && !column.count(std::string(needed.name)))
      throw at.fail("the header has no column \"" + std::string(needed.name) + "\"");
  return column;
}

}  // namespace

const CsvKind ClassCsvKind{"a class csv", ClassColumns};
const CsvKind TestSetCsvKind{"a test set's csv", TestSetColumns};
const CsvKind SearchCsvKind{"a search's csv", SearchColumns};

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string csvHeader(const CsvKind& kind) {
  std::vector<std::string> names;
  for (const CsvColumn& column : kind.columns) names.emplace_back(column.name);
  return joined(names, ",");
}

std::string CsvRow::cell(std::string_view column) const {
  const auto at = columns_.find(std::string(column));
  return at == columns_.end() ? std::string() : cells_[at->second];
}

std::uint64_t CsvRow::wholeNumber(std::string_view column) const {
  const std::string text = cell(column);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 19)
    throw fail(std::string(column) + ": \"" + text + "\" is not a whole number");
  return std::stoull(text);
}

double CsvRow::number(std::string_view column) const {
  try {
    return readNumber(cell(column), column);
  } catch (const BadValue& error) {
    throw fail(error.what());
  }
}

double CsvRow::nonNegative(std::string_view column) const {
  const double value = number(column);
  if (value < 0)
    throw fail(std::string(column) + ": \"" + cell(column) + "\" is not a number from 0 up");
  return value;
}

std::optional<std::size_t> CsvRow::firstHit(std::size_t budget, std::string_view budgetWords) const {
  if (cell("first_hit").empty()) return std::nullopt;
  const std::uint64_t hit = wholeNumber("first_hit");
  if (hit < 1 || hit > budget)
    throw fail("first_hit: " + std::to_string(hit) + " is not from 1 to " + std::string(budgetWords) + " (" +
               std::to_string(budget) + ")");
  return hit;
}

const MethodInfo& CsvRow::method() const {
  const MethodInfo* method = findMethod(cell("method"));
  if (!method) throw fail("unknown method \"" + cell("method") + "\"");
  return *method;
}

const CsvKind& kindOfFiles(const std::vector<std::string>& files) {
  return *kindOfHeader(firstHeader(files).cells);
}

void readCsvRows(const std::vector<std::string>& files, const CsvKind& kind, const std::function<void(const CsvRow&)>& take) {
  const Columns none;
  // Shards written without a header take the columns of the first file that has one.
  const Header first = firstHeader(files);
  const Columns firstColumns = headerColumns(first.cells, kind, CsvRow(first.cells, none, first.place));
  for (const std::string& file : files) {
    std::optional<Columns> columns;
    eachLine(file, [&](const std::vector<std::string>& cells, int number) {
      const std::string place = file + ":" + std::to_string(number);
      if (kindOfHeader(cells)) {
        columns = headerColumns(cells, kind, CsvRow(cells, none, place));
        return true;
      }
      if (!columns) columns = firstColumns;
      if (cells.size() != columns->size())
        throw FileError(place + ": the row has " + std::to_string(cells.size()) + " fields, the header " +
                             std::to_string(columns->size()));
      take(CsvRow(cells, *columns, place));
      return true;
    });
  }
}

void RecordedParams::add(const CsvRow& row, MethodId method, double param) {
  values_[method].insert(param);
  ++runs_[method];
  const auto [first, fresh] = first_.emplace(method, std::make_pair(param, row.place()));
  if (!fresh && first->second.first != param && !methodInfo(method).batchParamOfProblem)
    throw row.fail("param: " + std::string(methodInfo(method).key) + " ran with " + row.cell("param") + " here and with " +
                   shortest(first->second.first) + " at " + first->second.second + ": one summary holds one value");
}

std::map<MethodId, double> RecordedParams::given() const {
  std::map<MethodId, double> given;
  for (const auto& [method, distinct] : values_) {
    if (distinct.size() != 1) continue;
    const double value = *distinct.begin();
    const bool estimate = methodInfo(method).batchParamOfProblem;
    if (estimate ? runs_.at(method) > 1 : value != batchParam(method, 0)) given[method] = value;
  }
  return given;
}

void takeSeeds(const std::set<std::uint64_t>& seeds, const std::vector<std::string>& files, RunPlan& plan) {
  if (seeds.size() == 1) plan.seed = *seeds.begin();
  if (seeds.size() <= 1) return;
  if (*seeds.rbegin() != seeds.size() - 1) {
    std::vector<std::string> numbers;
    for (std::uint64_t seed : seeds) numbers.push_back(std::to_string(seed));
    throw FileError(joined(files, ", ") + ": the runs have seeds " + joined(numbers, ", ") +
                         ", not 0 to N - 1 as the runs of --seeds N have them");
  }
  plan.seeds = static_cast<int>(seeds.size());
}

StopReason stopCell(const CsvRow& row, std::optional<StopReason> (*fromKey)(std::string_view)) {
  const std::string key = row.cell("stop");
  if (const std::optional<StopReason> stop = fromKey(key)) return *stop;
  throw row.fail("stop: \"" + key + "\" is no reason a run stops");
}

}  // namespace Velmora::Lab
