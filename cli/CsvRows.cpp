#include "CsvRows.h"

#include <algorithm>
#include <optional>
#include <set>

#include "NumberText.h"
#include "Spelling.h"

namespace Velmora::Cli {

namespace {

constexpr std::string_view ClassColumns[] = {"class", "index", "method", "param", "first_hit", "stop", "seed"};
constexpr std::string_view ClassNeeded[] = {"class", "index", "method", "first_hit", "stop"};
constexpr std::string_view SuiteColumns[] = {"id", "method", "param", "trials", "success", "first_hit", "error",
                                             "seconds", "stop", "seed"};
constexpr std::string_view SuiteNeeded[] = {"id", "method", "param", "trials", "success", "first_hit", "error",
                                            "seconds"};

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

const CsvLayout* layoutOfHeader(const std::vector<std::string>& cells) {
  for (const CsvLayout* layout : {&ClassCsvLayout, &SuiteCsvLayout})
    if (cells.front() == layout->columns.front()) return layout;
  return nullptr;
}

// The cells of each line of a file that is not empty, with its number, for as long as take returns true.
void eachLine(const std::string& file, const std::function<bool(const std::vector<std::string>&, int)>& take) {
  std::ifstream in = Lab::openDataFile(file);
  Lab::eachTextLine(in, file, [&take](const std::string& line, int number) {
    return line.empty() || take(csvCells(line), number);
  });
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
      if (layoutOfHeader(cells)) header = Header{cells, file + ":" + std::to_string(number)};
      return false;
    });
    if (header) return *header;
  }
  throw Lab::FileError(files.front() + ":1: no file begins with the header of a class csv or of a test set's csv");
}

Columns headerColumns(const std::vector<std::string>& cells, const CsvLayout& layout, const CsvRow& at) {
  const CsvLayout* own = layoutOfHeader(cells);
  if (own != &layout) throw at.fail("the header of " + std::string(own->name) + " among files of " + std::string(layout.name));
  std::vector<std::string> known(layout.columns.begin(), layout.columns.end());
  Columns column;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (std::find(known.begin(), known.end(), cells[i]) == known.end())
      throw at.fail("unknown column \"" + cells[i] + "\" (" + std::string(layout.name) + " has " + joined(known, ", ") + ")");
    column[cells[i]] = i;
  }
  for (std::string_view needed : layout.needed)
    if (!column.count(std::string(needed))) throw at.fail("the header has no column \"" + std::string(needed) + "\"");
  return column;
}

}  // namespace

const CsvLayout ClassCsvLayout{"a class csv", ClassColumns, ClassNeeded};
const CsvLayout SuiteCsvLayout{"a test set's csv", SuiteColumns, SuiteNeeded};

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
  } catch (const Lab::BadValue& error) {
    throw fail(error.what());
  }
}

const Lab::MethodInfo& CsvRow::method() const {
  const Lab::MethodInfo* method = Lab::findMethod(cell("method"));
  if (!method) throw fail("unknown method \"" + cell("method") + "\"");
  return *method;
}

std::optional<std::uint64_t> CsvRow::firstHit(std::uint64_t budget, std::string_view budgetName) const {
  if (cell("first_hit").empty()) return std::nullopt;
  const std::uint64_t hit = wholeNumber("first_hit");
  if (hit < 1 || hit > budget)
    throw fail("first_hit: " + std::to_string(hit) + " is not from 1 to " + std::string(budgetName) + " " +
               std::to_string(budget));
  return hit;
}

double CsvRow::nonNegative(std::string_view column) const {
  const double value = number(column);
  if (value < 0) throw fail(std::string(column) + ": \"" + cell(column) + "\" is below 0");
  return value;
}

void MethodParams::note(const CsvRow& row, MethodId method, double param) {
  if (Lab::methodInfo(method).batchParamOfProblem) return;
  const auto [seen, fresh] = first_.emplace(method, std::make_pair(param, row.place()));
  if (!fresh && seen->second.first != param)
    throw row.fail(std::string(methodName(method)) + " ran with " + shortest(param) + " here and with " +
                   shortest(seen->second.first) + " at " + seen->second.second + ": one summary holds one value");
}

const CsvLayout& layoutOfFiles(const std::vector<std::string>& files) {
  return *layoutOfHeader(firstHeader(files).cells);
}

void readCsvRows(const std::vector<std::string>& files, const CsvLayout& layout,
                 const std::function<void(const CsvRow&)>& take) {
  const Columns none;
  // Shards written without a header take the columns of the first file that has one.
  const Header first = firstHeader(files);
  const Columns firstColumns = headerColumns(first.cells, layout, CsvRow(first.cells, none, first.place));
  for (const std::string& file : files) {
    std::optional<Columns> columns;
    eachLine(file, [&](const std::vector<std::string>& cells, int number) {
      const std::string place = file + ":" + std::to_string(number);
      if (layoutOfHeader(cells)) {
        columns = headerColumns(cells, layout, CsvRow(cells, none, place));
        return true;
      }
      if (!columns) columns = firstColumns;
      if (cells.size() != columns->size())
        throw Lab::FileError(place + ": the row has " + std::to_string(cells.size()) + " fields, the header " +
                             std::to_string(columns->size()));
      take(CsvRow(cells, *columns, place));
      return true;
    });
  }
}

std::map<MethodId, double> givenParams(const std::vector<std::pair<MethodId, double>>& runParams) {
  std::map<MethodId, std::set<double>> values;
  std::map<MethodId, std::size_t> runs;
  for (const auto& [method, param] : runParams) {
    values[method].insert(param);
    ++runs[method];
  }
  std::map<MethodId, double> given;
  for (const auto& [method, distinct] : values) {
    if (distinct.size() != 1) continue;
    const double value = *distinct.begin();
    const bool estimate = Lab::methodInfo(method).batchParamOfProblem;
    if (estimate ? runs[method] > 1 : value != Lab::batchParam(method, 0)) given[method] = value;
  }
  return given;
}

void takeSeeds(const std::set<std::uint64_t>& seeds, const std::vector<std::string>& files, Lab::RunPlan& plan) {
  if (seeds.size() == 1) plan.seed = *seeds.begin();
  if (seeds.size() <= 1) return;
  if (*seeds.rbegin() != seeds.size() - 1) {
    std::vector<std::string> numbers;
    for (std::uint64_t seed : seeds) numbers.push_back(std::to_string(seed));
    throw Lab::FileError(joined(files, ", ") + ": the runs have seeds " + joined(numbers, ", ") +
                         ", not 0 to N - 1 as the runs of --seeds N have them");
  }
  plan.seeds = static_cast<int>(seeds.size());
}

Lab::StopReason stopCell(const CsvRow& row, std::optional<Lab::StopReason> (*fromKey)(std::string_view)) {
  const std::string key = row.cell("stop");
  if (const std::optional<Lab::StopReason> stop = fromKey(key)) return *stop;
  throw row.fail("stop: \"" + key + "\" is no reason a run stops");
}

}  // namespace Velmora::Cli
