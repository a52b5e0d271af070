#include "TestSetCsv.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <ostream>
#include <set>
#include <tuple>

#include "CsvSchema.h"
#include "NumberText.h"

namespace Velmora::Lab {

void writeTestSetCsvRows(std::ostream& out, const std::vector<TestSetRow>& rows) {
  char seconds[32];
  for (const TestSetRow& row : rows) {
    const MethodInfo& method = methodInfo(row.method);
    std::snprintf(seconds, sizeof seconds, "%.6f", row.seconds);
    out << csvField(row.id) << ',' << method.key << ',' << (method.param == ParamMeaning::None ? "" : shortest(row.param))
        << ',' << row.trials << ',' << (row.fault ? "fault" : row.success ? "yes" : "no") << ','
        << (row.firstHit ? std::to_string(*row.firstHit) : "") << ',' << (row.fault ? "" : shortest(row.error)) << ','
        << seconds << ',' << (row.stop ? stopReasonKey(*row.stop) : "") << ','
        << (row.seed ? std::to_string(*row.seed) : "") << '\n';
  }
}

namespace {

bool isWhole(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// How problems are ordered: by number when their ids are whole numbers, as
// the shipped sets are numbered, after them by text.
std::tuple<bool, std::size_t, std::string> idOrder(const std::string& id) {
  const bool whole = isWhole(id);
  return {!whole, whole ? id.size() : 0, id};
}

// The runs of every file as they are read, and what they say of the methods,
// their parameters and the seeds.
struct TestSetRuns {
  std::vector<TestSetRow> rows;
  std::vector<std::string> places;  ///< of each row, for messages
  // Where each run was first seen, to name both places of a duplicate.
  std::map<std::tuple<std::string, MethodId, std::optional<std::uint64_t>>, std::string> seen;
  std::vector<MethodId> methods;  ///< in the order they first appear
  std::set<std::uint64_t> seeds;
  RecordedParams params;

  void add(const CsvRow& csv);
  // Every method and seed has run on the same problems, as in one run of a test set.
  void checkComplete() const;
};

void TestSetRuns::add(const CsvRow& csv) {
  // The mean rows are made again from the runs.
  if (csv.cell("id") == "mean" && isWhole(csv.cell("success"))) return;
  const MethodId method = csv.method().id;
  if (std::find(methods.begin(), methods.end(), method) == methods.end()) methods.push_back(method);
  TestSetRow row;
  row.id = csv.cell("id");
  row.method = method;
  if (!csv.cell("param").empty()) row.param = csv.number("param");
  params.add(csv, method, row.param);
  row.trials = csv.wholeNumber("trials");
  const std::string success = csv.cell("success");
  if (success != "yes" && success != "no" && success != "fault")
    throw csv.fail("success: \"" + success + "\" is none of yes, no, fault");
  row.success = success == "yes";
  if (success == "fault") row.fault = "its text is not in the csv";
  row.firstHit = csv.firstHit(row.trials, "the run's trials");
  if (!row.fault) row.error = csv.nonNegative("error");
  row.seconds = csv.nonNegative("seconds");
  // Rows written before the stop column, or with it empty, do not say why their runs stopped.
  if (!csv.cell("stop").empty()) row.stop = stopCell(csv, stopReasonFromKey);
  if (methodInfo(method).stochastic) {
    row.seed = csv.wholeNumber("seed");
    seeds.insert(*row.seed);
  }
  const auto [where, fresh] = seen.emplace(std::make_tuple(row.id, row.method, row.seed), csv.place());
  if (!fresh) throw csv.fail("this run was seen before, at " + where->second);
  rows.push_back(std::move(row));
  places.push_back(csv.place());
}

void TestSetRuns::checkComplete() const {
  std::set<std::string> every;
  std::map<std::pair<MethodId, std::optional<std::uint64_t>>, std::set<std::string>> problems;
  for (const TestSetRow& row : rows) {
    every.insert(row.id);
    problems[{row.method, row.seed}].insert(row.id);
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::set<std::string>& own = problems.at({rows[i].method, rows[i].seed});
    if (own.size() == every.size()) continue;
    const auto missing = std::find_if(every.begin(), every.end(), [&](const std::string& id) { return !own.count(id); });
    throw FileError(places[i] + ": the runs of " + std::string(methodInfo(rows[i].method).key) +
                         (rows[i].seed ? " with seed " + std::to_string(*rows[i].seed) : "") + " lack problem " +
                         *missing + ": the files lack runs or hold two test sets");
  }
}

}  // namespace

std::vector<TestSetRow> readTestSetCsv(const std::vector<std::string>& files, RunPlan& plan) {
  TestSetRuns runs;
  readCsvRows(files, TestSetCsvKind, [&runs](const CsvRow& row) { runs.add(row); });
  if (runs.rows.empty()) throw FileError(files.front() + ": the files hold no runs");
  runs.checkComplete();
  plan.methods = runs.methods;
  plan.params = runs.params.given();
  takeSeeds(runs.seeds, files, plan);
  const auto order = [&](const TestSetRow& r) {
    return std::make_tuple(idOrder(r.id), std::find(runs.methods.begin(), runs.methods.end(), r.method), r.seed);
  };
  std::vector<TestSetRow> rows = std::move(runs.rows);
  std::sort(rows.begin(), rows.end(), [&](const TestSetRow& a, const TestSetRow& b) { return order(a) < order(b); });
  return rows;
}

}  // namespace Velmora::Lab
