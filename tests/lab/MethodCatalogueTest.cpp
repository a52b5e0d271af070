// The catalogue's parameter rules, held against what the method objects it
// makes actually keep.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AdaptiveLipschitzSearch.h"
#include "SmoothMinorantSearch.h"
#include "MethodCatalogue.h"
#include "NumberText.h"
#include "Piyavsky_opt.h"
#include "Strongin_opt.h"

using namespace Velmora::Lab;

namespace {

// What a method made by its entry holds after the entered value was handed over.
double heldParam(const MethodInfo& info, double entered) {
  const auto method = info.makeWithSlope ? info.makeWithSlope([](double x) { return VELMORAALG::TValueSlope{x, 1}; })
                                         : info.make([](double x) { return x; });
  method->SetParameter(info.effectiveParam(entered));
  if (const auto* p = dynamic_cast<const VELMORAALG::TPiyavskyOpt*>(method.get())) return p->GetLipschitz();
  if (const auto* s = dynamic_cast<const VELMORAALG::TStronginOpt*>(method.get())) return s->GetMultiplier();
  if (const auto* a = dynamic_cast<const VELMORAALG::AdaptiveLipschitzSearch*>(method.get())) return a->GetReliability();
  if (const auto* d = dynamic_cast<const VELMORAALG::SmoothMinorantSearch*>(method.get())) return d->GetReliability();
  return 0;
}

TEST(MethodCatalogue, parameterRulesAreWhatTheMethodsKeep) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* key;
    double entered;
    bool accepted;
    double used;
    const char* why;
  } cases[] = {
      {"scan", 7, true, 0, "scanning takes no parameter"},
      {"piyavsky", 2.5, true, 2.5, "an estimate is kept"},
      {"piyavsky", 0, true, 1, "an estimate that is not positive is 1"},
      {"piyavsky", -3, true, 1, "the window takes it without a word"},
      {"piyavsky", nan, true, 1, "NaN is not positive either"},
      {"strongin", 2, true, 2, "a multiplier above 1 is kept"},
      {"strongin", 1, false, 1.5, "exactly 1 is refused, and would be 1.5"},
      {"strongin", 0.5, false, 1.5, "below 1 likewise"},
      {"strongin", 1.0000001, true, 1.0000001, "just above 1"},
      {"inf-gl", 2, true, 2, "r is kept"},
      {"geom-lta", 0.5, true, 0.5, "a variant's r may be below 1"},
      {"inf-ltma", 1e-300, true, 1e-300, "any r above 0"},
      {"geom-ltm", 0, false, 2, "0 is refused, and would be the default 2"},
      {"inf-lta", -1, false, 2, "a negative r likewise"},
      {"geom-gl", INFINITY, false, 2, "an infinite r would tie every choice"},
      {"inf-ltm", nan, false, 2, "NaN is no number"},
      {"d-lt-li", 1.75, true, 1.75, "an f' method's r is kept"},
      {"d-gl", 1, false, 2, "it must exceed 1, or the auxiliary functions may not exist"},
      {"d-lt", INFINITY, false, 2, "and be finite"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + ": " + c.why);
    const MethodInfo* info = findMethod(c.key);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->acceptsParam(c.entered), c.accepted);
    EXPECT_EQ(info->effectiveParam(c.entered), c.used);
    EXPECT_EQ(heldParam(*info, c.entered), c.used);
  }
}

}  // namespace

// The words that messages give are what the check takes: "greater than B"
// refuses B and takes the next double above it; no words, every number.
TEST(MethodCatalogue, eachParameterRuleSaysWhatItsCheckTakes) {
  for (const MethodInfo& info : allMethods()) {
    SCOPED_TRACE(info.key);
    if (info.param == ParamMeaning::Population) {
      for (double value : {0.0, 1.0, 40.0}) EXPECT_TRUE(info.acceptsParam(value));
      for (double value : {-1.0, 2.5, 1e300}) EXPECT_FALSE(info.acceptsParam(value));
      continue;
    }
    if (info.paramRule.empty()) {
      for (double value : {-1e300, -1.0, 0.0, 1.0, 1e300}) EXPECT_TRUE(info.acceptsParam(value));
      continue;
    }
    const std::string_view prefix = "greater than ";
    ASSERT_EQ(info.paramRule.substr(0, prefix.size()), prefix);
    const double bound = std::stod(std::string(info.paramRule.substr(prefix.size())));
    EXPECT_FALSE(info.acceptsParam(bound));
    EXPECT_FALSE(info.acceptsParam(-1e300));
    EXPECT_TRUE(info.acceptsParam(std::nextafter(bound, 1e300)));
    EXPECT_TRUE(info.acceptsParam(1e300));
  }
}

// Messages name a parameter from its entry: every method that takes one has
// its noun, only a Lipschitz estimate comes from the problem, and a method
// without one has no words that a message could use.
TEST(MethodCatalogue, eachParameterHasItsOwnWords) {
  for (const MethodInfo& info : allMethods()) {
    SCOPED_TRACE(info.key);
    const bool takes = info.param != ParamMeaning::None;
    EXPECT_EQ(!info.paramNoun.empty(), takes);
    EXPECT_EQ(!paramMeaningKey(info.param).empty(), takes);
    EXPECT_EQ(info.batchParamOfProblem, info.param == ParamMeaning::LipschitzEstimate);
    if (!takes) EXPECT_TRUE(info.paramSymbol.empty() && info.paramZeroWords.empty() && info.batchDefault == 0);
    if (info.param != ParamMeaning::Multiplier) EXPECT_EQ(paramName(info).find("multiplier"), std::string::npos);
  }
}

namespace {

std::vector<std::string> cellsOf(const std::string& row) {
  std::vector<std::string> cells;
  std::istringstream in(row.substr(1));
  for (std::string cell; std::getline(in, cell, '|');) {
    const std::size_t first = cell.find_first_not_of(' ');
    cells.push_back(first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') - first + 1));
  }
  return cells;
}

// Each row of a docs page's tables whose first column is "id", by the ids
// in backquotes in its first cell (a row may name several), with the row's
// cells under their column names.
std::map<std::string, std::map<std::string, std::string>> idRows(const std::string& page) {
  std::ifstream in(std::string(VELMORA_DATA_DIR) + "/../docs/" + page);
  EXPECT_TRUE(in) << page;
  std::map<std::string, std::map<std::string, std::string>> rows;
  std::vector<std::string> header;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind('|', 0) != 0) {
      header.clear();
      continue;
    }
    const std::vector<std::string> cells = cellsOf(line);
    if (header.empty()) {
      header = cells;
      continue;
    }
    if (header.front() != "id" || line.rfind("|---", 0) == 0) continue;
    for (std::size_t open = cells[0].find('`'); open != std::string::npos; open = cells[0].find('`', open + 1)) {
      const std::size_t close = cells[0].find('`', open + 1);
      std::map<std::string, std::string>& row = rows[cells[0].substr(open + 1, close - open - 1)];
      for (std::size_t c = 1; c < cells.size() && c < header.size(); ++c) row.emplace(header[c], cells[c]);
      open = close;
    }
  }
  return rows;
}

}  // namespace

// The docs name methods in tables only, and those tables are the catalogue's:
// every id there is a method, every method is there, and a default, a seed
// or a parameter the tables give is the entry's.
TEST(MethodCatalogue, theDocsTablesListEveryMethodAsTheCatalogueHasIt) {
  std::map<std::string, std::map<std::string, std::string>> documented = idRows("methods.md");
  documented.merge(idRows("peers.md"));
  std::set<std::string> listed;
  for (const auto& [id, row] : documented) listed.insert(id);
  std::set<std::string> catalogued;
  for (const MethodInfo& info : allMethods()) {
    catalogued.emplace(info.key);
    SCOPED_TRACE(info.key);
    ASSERT_TRUE(documented.count(std::string(info.key)));
    const std::map<std::string, std::string>& row = documented.at(std::string(info.key));
    const bool takes = info.param != ParamMeaning::None;
    if (row.count("default")) EXPECT_EQ(row.at("default"), takes ? shortest(info.defaultParam) : "—");
    if (row.count("seed")) EXPECT_EQ(row.at("seed"), info.stochastic ? "yes" : "–");
    if (row.count("`--param-ID`")) EXPECT_EQ(row.at("`--param-ID`") != "–", takes);
  }
#if VELMORA_PEERS
  EXPECT_EQ(listed, catalogued);
#else
  for (const std::string& id : listed) EXPECT_TRUE(catalogued.count(id) || id.rfind("nlopt-", 0) == 0) << id;
#endif
}
