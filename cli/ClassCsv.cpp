#include "ClassCsv.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "CsvRows.h"

namespace Velmora::Cli {

namespace {

// The runs of every file as they are read, and what they say of the class,
// the methods and the seeds.
struct CsvRuns {
  std::vector<Lab::ClassRunRow> rows;
  std::optional<std::string> classKey;
  // Where each run was first seen, to name both places of a duplicate.
  std::map<std::tuple<std::uint64_t, MethodId, std::optional<std::uint64_t>>, std::string> seen;
  std::vector<MethodId> methods;  ///< in the order they first appear
  std::set<std::uint64_t> seeds;
  MethodParams params;
  int budget = 0;  ///< the class rule's, which a first hit cannot exceed

  void add(const CsvRow& row);
  // Into options, the class, the range, the methods and their parameters.
  void describe(ClassOptions& options) const;
};

void CsvRuns::add(const CsvRow& csv) {
  if (!classKey) classKey = csv.cell("class");
  if (csv.cell("class") != *classKey) throw csv.fail("runs of class " + csv.cell("class") + " among runs of class " + *classKey);
  Lab::ClassRunRow row;
  row.index = csv.wholeNumber("index");
  const Lab::MethodInfo& method = csv.method();
  row.method = method.id;
  if (!csv.cell("param").empty()) row.param = csv.number("param");
  params.note(csv, method.id, row.param);
  if (const auto hit = csv.firstHit(static_cast<std::uint64_t>(budget), "--max-trials"))
    row.run.firstHit = static_cast<int>(*hit);
  row.run.stop = stopCell(csv, Lab::classRunStopFromKey);
  // A class run stops at its first hit, and spends its budget only without one.
  if (row.run.stop == Lab::StopReason::StopRequested && !row.run.firstHit) throw csv.fail("stop: hit, but no first_hit");
  if (row.run.stop == Lab::StopReason::StepBoundHit && row.run.firstHit) throw csv.fail("stop: budget, but a first_hit");
  if (method.stochastic) {
    row.seed = csv.wholeNumber("seed");
    seeds.insert(*row.seed);
  }
  const auto [where, fresh] = seen.emplace(std::make_tuple(row.index, row.method, row.seed), csv.place());
  if (!fresh) throw csv.fail("this run was seen before, at " + where->second);
  if (std::find(methods.begin(), methods.end(), row.method) == methods.end()) methods.push_back(row.method);
  rows.push_back(row);
}

void CsvRuns::describe(ClassOptions& options) const {
  options.plan.methods = methods;
  std::vector<std::pair<MethodId, double>> params;
  for (const Lab::ClassRunRow& row : rows) params.emplace_back(row.method, row.param);
  options.plan.params = givenParams(params);
  Lab::ClassRange& range = options.range;
  if (const Lab::TestClass* cls = Lab::findTestClass(*classKey))
    range.cls = cls->id;
  else
    range.set = *classKey;
  const auto [low, high] = std::minmax_element(rows.begin(), rows.end(),
                                               [](const Lab::ClassRunRow& a, const Lab::ClassRunRow& b) { return a.index < b.index; });
  range.first = low->index;
  range.last = high->index;
}

}  // namespace

std::vector<Lab::ClassRunRow> readClassCsv(const std::vector<std::string>& files, ClassOptions& options) {
  CsvRuns runs;
  runs.budget = options.rule.maxTrials;
  readCsvRows(files, ClassCsvLayout, [&runs](const CsvRow& row) { runs.add(row); });
  if (runs.rows.empty()) throw Lab::FileError(files.front() + ": the files hold no runs");
  runs.describe(options);
  takeSeeds(runs.seeds, files, options.plan);
  const auto order = [&](const Lab::ClassRunRow& r) {
    return std::make_tuple(r.index, std::find(runs.methods.begin(), runs.methods.end(), r.method) - runs.methods.begin(),
                           r.seed);
  };
  std::vector<Lab::ClassRunRow> rows = std::move(runs.rows);
  std::sort(rows.begin(), rows.end(), [&](const Lab::ClassRunRow& a, const Lab::ClassRunRow& b) { return order(a) < order(b); });
  return rows;
}

}  // namespace Velmora::Cli
