#include "ClassCsv.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <tuple>

#include "CsvSchema.h"
#include "NumberText.h"

namespace Velmora::Lab {

void writeClassCsvRows(std::ostream& out, const ClassRange& range, const std::vector<ClassRunRow>& rows) {
  for (const ClassRunRow& row : rows) {
    const MethodInfo& method = methodInfo(row.method);
    out << classKey(range) << ',' << row.index << ',' << method.key << ','
        << (method.param == ParamMeaning::None ? "" : shortest(row.param)) << ','
        << (row.run.firstHit ? std::to_string(*row.run.firstHit) : "") << ',' << classRunStopKey(row.run.stop) << ','
        << (row.seed ? std::to_string(*row.seed) : "") << '\n';
  }
}

namespace {

// The runs of every file as they are read, and what they say of the class,
// the methods and the seeds.
struct CsvRuns {
  const ClassRule& rule;
  std::vector<ClassRunRow> rows;
  std::optional<std::string> classKey;
  // Where each run was first seen, to name both places of a duplicate.
  std::map<std::tuple<std::uint64_t, MethodId, std::optional<std::uint64_t>>, std::string> seen;
  std::vector<MethodId> methods;  ///< in the order they first appear
  std::set<std::uint64_t> seeds;
  RecordedParams params;

  void add(const CsvRow& row);
  // Into plan and range, the class, the range, the methods and their parameters.
  void describe(RunPlan& plan, ClassRange& range) const;
};

void CsvRuns::add(const CsvRow& csv) {
  if (!classKey) classKey = csv.cell("class");
  if (csv.cell("class") != *classKey) throw csv.fail("runs of class " + csv.cell("class") + " among runs of class " + *classKey);
  ClassRunRow row;
  row.index = csv.wholeNumber("index");
  const MethodInfo& method = csv.method();
  row.method = method.id;
  if (!csv.cell("param").empty()) row.param = csv.number("param");
  params.add(csv, row.method, row.param);
  const std::optional<std::size_t> hit = csv.firstHit(static_cast<std::size_t>(rule.maxTrials), "the budget");
  if (hit) row.run.firstHit = static_cast<int>(*hit);
  row.run.stop = stopCell(csv, classRunStopFromKey);
  if (const std::optional<std::string> contradiction = classRunContradiction(row.run.stop, hit.has_value()))
    throw csv.fail(*contradiction);
  if (method.stochastic) {
    row.seed = csv.wholeNumber("seed");
    seeds.insert(*row.seed);
  }
  const auto [where, fresh] = seen.emplace(std::make_tuple(row.index, row.method, row.seed), csv.place());
  if (!fresh) throw csv.fail("this run was seen before, at " + where->second);
  if (std::find(methods.begin(), methods.end(), row.method) == methods.end()) methods.push_back(row.method);
  rows.push_back(row);
}

void CsvRuns::describe(RunPlan& plan, ClassRange& range) const {
  plan.methods = methods;
  plan.params = params.given();
  if (const TestClass* cls = findTestClass(*classKey))
    range.cls = cls->id;
  else
    range.set = *classKey;
  const auto [low, high] = std::minmax_element(rows.begin(), rows.end(),
                                               [](const ClassRunRow& a, const ClassRunRow& b) { return a.index < b.index; });
  range.first = low->index;
  range.last = high->index;
}

}  // namespace

std::vector<ClassRunRow> readClassCsv(const std::vector<std::string>& files, const ClassRule& rule, RunPlan& plan,
                                      ClassRange& range) {
  CsvRuns runs{rule};
  readCsvRows(files, ClassCsvKind, [&runs](const CsvRow& row) { runs.add(row); });
  if (runs.rows.empty()) throw FileError(files.front() + ": the files hold no runs");
  runs.describe(plan, range);
  takeSeeds(runs.seeds, files, plan);
  const auto order = [&](const ClassRunRow& r) {
    return std::make_tuple(r.index, std::find(runs.methods.begin(), runs.methods.end(), r.method) - runs.methods.begin(),
                           r.seed);
  };
  std::vector<ClassRunRow> rows = std::move(runs.rows);
  std::sort(rows.begin(), rows.end(), [&](const ClassRunRow& a, const ClassRunRow& b) { return order(a) < order(b); });
  return rows;
}

}  // namespace Velmora::Lab
