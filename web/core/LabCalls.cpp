#include "LabCalls.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "ClassCsv.h"
#include "ClassRuns.h"
#include "CsvSchema.h"
#include "FunctionSource.h"
#include "OperationalCharacteristic.h"
#include "ReadNumber.h"
#include "RequestCheck.h"
#include "RunSummaries.h"
#include "TestSetCsv.h"

namespace Velmora::Web {

namespace {

// The csv read back lives in the module's own memory file system.
constexpr const char* CsvFile = "/tmp/runs.csv";

// The shipped sets handed over, read once: a worker runs many ranges of one.
std::map<std::string, std::vector<Lab::Problem>> handedSets;

const std::vector<Lab::Problem>& handedSet(const std::string& name) {
  const auto found = handedSets.find(name);
  if (found == handedSets.end()) throw Lab::BadValue("the test set " + name + " was not handed over (addTestSet)");
  return found->second;
}

Lab::RunPlan readPlan(const val& request) {
  Lab::RunPlan plan;
  plan.methods.clear();
  for (const std::string& key : textsField(request, "methods")) plan.methods.push_back(Lab::readMethod(key));
  if (plan.methods.empty()) throw Lab::BadValue("methods: choose at least one");
  const val params = request["params"];
  if (!params.isUndefined() && !params.isNull()) {
    for (const Lab::MethodId method : plan.methods) {
      const std::string key(Lab::methodInfo(method).key);
      const std::optional<double> value = numberField(params, key.c_str());
      if (!value) continue;
      if (const auto fault = Lab::checkPlanParam(method, *value)) throw Lab::BadValue(fault->text("param of " + key));
      plan.params[method] = *value;
    }
  }
  if (const auto lacking = plan.methodLackingParam())
    throw Lab::BadValue("the method " + std::string(Lab::methodInfo(*lacking).key) + " needs its parameter");
  if (const auto seed = numberField(request, "seed")) plan.seed = static_cast<std::uint64_t>(*seed);
  if (const auto seeds = numberField(request, "seeds"))
    plan.seeds = Lab::checkCount(static_cast<long long>(*seeds), "seeds", 1, Lab::MaxSeeds);
  return plan;
}

Lab::ClassRule readRule(const val& request) {
  Lab::ClassRule rule;
  if (const auto budget = numberField(request, "budget"))
    rule.maxTrials = Lab::checkCount(static_cast<long long>(*budget), "budget", 2, Lab::MaxSteps + 2);
  if (const auto delta = numberField(request, "delta")) {
    if (!(*delta > 0 && *delta < 1)) throw Lab::BadValue("delta must be greater than 0 and less than 1");
    rule.delta = *delta;
  }
  return rule;
}

Lab::ClassRange readRange(const val& request) {
  const std::string cls = textField(request, "cls").value_or("hill");
  const std::optional<double> first = numberField(request, "first");
  const std::optional<double> last = numberField(request, "last");
  if (!first || !last) throw Lab::BadValue("first and last must both be given");
  std::ostringstream text;
  text << cls << ':' << static_cast<long long>(*first) << '-' << static_cast<long long>(*last);
  return Lab::parseClassRange(text.str(), "range").first;
}

// The csv where the reading of files finds it; gone again once read.
class CsvInFile {
 public:
  explicit CsvInFile(const std::string& csv) { std::ofstream(CsvFile, std::ios::binary) << csv; }
  ~CsvInFile() { std::remove(CsvFile); }
  CsvInFile(const CsvInFile&) = delete;
  CsvInFile& operator=(const CsvInFile&) = delete;
};

val characteristicOf(const std::vector<std::optional<int>>& firstHits, int lastK) {
  val characteristic = val::array();
  for (const Lab::SharePoint& p : Lab::operationalCharacteristic(firstHits, lastK)) {
    val point = val::object();
    point.set("k", p.k);
    point.set("share", p.share);
    characteristic.call<void>("push", point);
  }
  return characteristic;
}

// The parameter a method ran with: the one given, its default for runs over
// many problems, or null for a Lipschitz estimate taken from each problem
// (paramOfProblem says so); null too for a method without one.
void setParam(val& method, const Lab::RunPlan& plan, Lab::MethodId id) {
  const Lab::MethodInfo& info = Lab::methodInfo(id);
  const bool ofProblem = info.batchParamOfProblem && !plan.params.count(id);
  method.set("param", info.param == Lab::ParamMeaning::None || ofProblem ? val::null() : val(plan.paramFor(id, 0)));
  method.set("paramOfProblem", ofProblem);
}

Lab::RunProgress progressOf(const val& request) {
  const val progress = request["progress"];
  if (progress.typeOf().as<std::string>() != "function") return {};
  return [progress](std::size_t done, std::size_t runs) {
    progress(static_cast<double>(done), static_cast<double>(runs));
  };
}

}  // namespace

val addTestSet(const std::string& name, const std::string& text) {
  return answered([&] {
    std::istringstream in(text);
    handedSets[name] = Lab::readProblems(in, name + ".tsv");
    val answer = val::object();
    answer.set("error", val::null());
    return answer;
  });
}

val classRun(const val& request) {
  return answered([&] {
    const Lab::RunPlan plan = readPlan(request);
    const Lab::ClassRule rule = readRule(request);
    const Lab::ClassRange range = readRange(request);
    const Lab::FunctionSource source(range, range.set.empty() ? std::vector<Lab::Problem>() : handedSet(range.set));
    const std::vector<Lab::ClassRunRow> rows = Lab::runClass(plan, rule, source, range, 1, progressOf(request));
    std::ostringstream csv;
    Lab::writeClassCsvRows(csv, range, rows);
    val answer = val::object();
    answer.set("header", Lab::csvHeader(Lab::ClassCsvKind));
    answer.set("csv", csv.str());
    answer.set("runs", static_cast<double>(rows.size()));
    answer.set("error", val::null());
    return answer;
  });
}

val classSummary(const std::string& csv, int budget, double delta) {
  return answered([&] {
    const CsvInFile file(csv);
    Lab::ClassRule rule;
    rule.maxTrials = budget;
    rule.delta = delta;
    Lab::RunPlan plan;
    plan.methods.clear();
    Lab::ClassRange range;
    const std::vector<Lab::ClassRunRow> rows = Lab::readClassCsv({CsvFile}, rule, plan, range);
    val methods = val::array();
    for (const Lab::ClassSummary& summary : Lab::summariseClassRuns(rows, plan)) {
      const Lab::FirstHitSummary& hits = summary.firstHits;
      val method = val::object();
      method.set("id", std::string(Lab::methodInfo(summary.method).key));
      setParam(method, plan, summary.method);
      method.set("runs", static_cast<double>(hits.runs));
      method.set("solved", static_cast<double>(hits.solved));
      method.set("meanFirstHit", optionalNumber(hits.meanFirstHit));
      method.set("medianFirstHit", optionalNumber(hits.medianFirstHit));
      method.set("leftInterval", static_cast<double>(summary.leftInterval));
      method.set("characteristic", characteristicOf(Lab::firstHitsOf(rows, summary.method), budget));
      methods.call<void>("push", method);
    }
    val answer = val::object();
    answer.set("cls", std::string(Lab::classKey(range)));
    answer.set("first", static_cast<double>(range.first));
    answer.set("last", static_cast<double>(range.last));
    answer.set("methods", methods);
    answer.set("error", val::null());
    return answer;
  });
}

val testSetRun(const val& request) {
  return answered([&] {
    const Lab::RunPlan plan = readPlan(request);
    const std::string name = textField(request, "set").value_or("hansen20");
    std::vector<Lab::Problem> problems = handedSet(name);
    const std::optional<double> first = numberField(request, "first");
    const std::optional<double> last = numberField(request, "last");
    if (first || last) {
      if (!first || !last || *first < 0 || *last < *first || *last >= static_cast<double>(problems.size()))
        throw Lab::BadValue("first and last must be rows 0 to " + std::to_string(problems.size() - 1) + " of " + name +
                            ", first no later than last");
      problems = std::vector<Lab::Problem>(problems.begin() + static_cast<long>(*first),
                                           problems.begin() + static_cast<long>(*last) + 1);
    }
    Lab::TestSetProtocol protocol;
    if (const auto epsRel = numberField(request, "epsRel")) {
      if (!(*epsRel > 0 && *epsRel < 1)) throw Lab::BadValue("epsRel must be greater than 0 and less than 1");
      protocol.epsRel = *epsRel;
    }
    if (const auto steps = numberField(request, "steps"))
      protocol.steps = Lab::checkCount(static_cast<long long>(*steps), "steps", 1, Lab::MaxSteps);
    const std::vector<Lab::TestSetRow> rows = Lab::runTestSet(problems, plan, protocol, 1, progressOf(request));
    std::ostringstream csv;
    Lab::writeTestSetCsvRows(csv, rows);
    val answer = val::object();
    answer.set("header", Lab::csvHeader(Lab::TestSetCsvKind));
    answer.set("csv", csv.str());
    answer.set("runs", static_cast<double>(rows.size()));
    answer.set("error", val::null());
    return answer;
  });
}

val testSetSummary(const std::string& csv) {
  return answered([&] {
    const CsvInFile file(csv);
    Lab::RunPlan plan;
    plan.methods.clear();
    const std::vector<Lab::TestSetRow> rows = Lab::readTestSetCsv({CsvFile}, plan);
    int mostTrials = 1;
    for (const Lab::TestSetRow& row : rows) mostTrials = std::max(mostTrials, static_cast<int>(row.trials));
    val methods = val::array();
    for (const Lab::TestSetSummary& summary : Lab::summariseTestSet(rows, plan)) {
      const Lab::TestSetMeans& means = summary.means;
      val method = val::object();
      method.set("id", std::string(Lab::methodInfo(summary.method).key));
      setParam(method, plan, summary.method);
      method.set("runs", static_cast<double>(means.runs));
      method.set("successes", static_cast<double>(means.successes));
      method.set("finished", static_cast<double>(means.finished));
      method.set("trials", means.trials);
      method.set("meanError", means.error);
      method.set("firstHit", optionalNumber(means.firstHit));
      std::vector<std::optional<int>> firstHits;
      for (const Lab::TestSetRow& row : rows)
        if (row.method == summary.method)
          firstHits.push_back(row.firstHit ? std::optional(static_cast<int>(*row.firstHit)) : std::nullopt);
      method.set("characteristic", characteristicOf(firstHits, mostTrials));
      methods.call<void>("push", method);
    }
    val answer = val::object();
    answer.set("problems", static_cast<double>(Lab::problemsOf(rows)));
    answer.set("methods", methods);
    answer.set("error", val::null());
    return answer;
  });
}

}  // namespace Velmora::Web
