#include "LabCalls.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ClassCsv.h"
#include "ClassRuns.h"
#include "CsvSchema.h"
#include "FunctionSource.h"
#include "OperationalCharacteristic.h"
#include "ReadNumber.h"
#include "RequestCheck.h"
#include "RunSummaries.h"

namespace Velmora::Web {

namespace {

// The shipped sets' files and the csv read back live in the module's own
// memory file system.
constexpr const char* DataFolder = "/data";
constexpr const char* CsvFile = "/tmp/class-runs.csv";

template <class Call>
val answered(Call&& call) {
  try {
    return call();
  } catch (const std::exception& e) {
    val answer = val::object();
    answer.set("error", std::string(e.what()));
    return answer;
  }
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

}  // namespace

val addTestSet(const std::string& name, const std::string& text) {
  return answered([&] {
    std::filesystem::create_directories(DataFolder);
    std::ofstream(std::string(DataFolder) + "/" + name + ".tsv", std::ios::binary) << text;
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
    const Lab::FunctionSource source(range, DataFolder);
    const val progress = request["progress"];
    Lab::RunProgress report;
    if (progress.typeOf().as<std::string>() == "function")
      report = [&progress](std::size_t done, std::size_t runs) {
        progress(static_cast<double>(done), static_cast<double>(runs));
      };
    const std::vector<Lab::ClassRunRow> rows = Lab::runClass(plan, rule, source, range, 1, report);
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
    {
      std::ofstream file(CsvFile, std::ios::binary);
      file << csv;
    }
    Lab::ClassRule rule;
    rule.maxTrials = budget;
    rule.delta = delta;
    Lab::RunPlan plan;
    plan.methods.clear();
    Lab::ClassRange range;
    const std::vector<Lab::ClassRunRow> rows = Lab::readClassCsv({CsvFile}, rule, plan, range);
    std::remove(CsvFile);
    val methods = val::array();
    for (const Lab::ClassSummary& summary : Lab::summariseClassRuns(rows, plan)) {
      const Lab::FirstHitSummary& hits = summary.firstHits;
      val method = val::object();
      method.set("id", std::string(Lab::methodInfo(summary.method).key));
      const auto given = plan.params.find(summary.method);
      method.set("param", given == plan.params.end() ? val::null() : val(given->second));
      method.set("runs", static_cast<double>(hits.runs));
      method.set("solved", static_cast<double>(hits.solved));
      method.set("meanFirstHit", optionalNumber(hits.meanFirstHit));
      method.set("medianFirstHit", optionalNumber(hits.medianFirstHit));
      method.set("leftInterval", static_cast<double>(summary.leftInterval));
      val characteristic = val::array();
      const std::vector<std::optional<int>> firstHits = Lab::firstHitsOf(rows, summary.method);
      for (const Lab::SharePoint& p : Lab::operationalCharacteristic(firstHits, budget)) {
        val point = val::object();
        point.set("k", p.k);
        point.set("share", p.share);
        characteristic.call<void>("push", point);
      }
      method.set("characteristic", characteristic);
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

}  // namespace Velmora::Web
