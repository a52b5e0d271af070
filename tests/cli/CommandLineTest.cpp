#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "Cli.h"
#include "CliRun.h"
#include "CommandLine.h"
#include "MethodCatalogue.h"
#include "OptionTable.h"
#include "Usage.h"

using namespace Velmora::Cli;

namespace {

struct BadCase {
  const char* reason;
  std::vector<std::string> args;
  const char* message;  ///< a part of the expected message
};

std::vector<std::string> search(std::vector<std::string> extra) {
  std::vector<std::string> args{"x[0]^2", "--interval", "-1", "1", "--method", "strongin"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

const BadCase badCases[] = {
    {"nothing at all", {}, "no formula given"},
    {"no interval", {"x[0]", "--method", "scan", "--steps", "5"}, "--interval A B is required"},
    {"interval with one end", {"x[0]", "--interval", "1"}, "--interval B needs a value"},
    {"decimal comma", {"x[0]", "--interval", "1,5", "2", "--method", "scan", "--steps", "5"}, "(the decimal point is \".\")"},
    {"letters for a number", {"x[0]", "--interval", "one", "2", "--method", "scan", "--steps", "5"}, "\"one\" is not a number"},
    {"trailing characters", {"x[0]", "--interval", "1x", "2", "--method", "scan", "--steps", "5"}, "\"1x\" is not a number"},
    {"hexadecimal", {"x[0]", "--interval", "0x10", "20", "--method", "scan", "--steps", "5"}, "\"0x10\" is not a number"},
    {"a sign alone", {"x[0]", "--interval", "+", "2", "--method", "scan", "--steps", "5"}, "\"+\" is not a number"},
    {"two signs", {"x[0]", "--interval", "+-1", "2", "--method", "scan", "--steps", "5"}, "\"+-1\" is not a number"},
    {"beyond the double range", {"x[0]", "--interval", "1e999", "2", "--method", "scan", "--steps", "5"}, "out of the range"},
    {"infinity", {"x[0]", "--interval", "-inf", "2", "--method", "scan", "--steps", "5"}, "not a finite number"},
    {"reversed interval", {"x[0]", "--interval", "2", "1", "--method", "scan", "--steps", "5"}, "A must be less than B"},
    {"empty interval", {"x[0]", "--interval", "2", "2", "--method", "scan", "--steps", "5"}, "A must be less than B"},
    {"no method", {"x[0]", "--interval", "0", "1", "--steps", "5"}, "--method is required"},
    {"unknown method", {"x[0]", "--interval", "0", "1", "--method", "newton", "--steps", "5"}, "unknown method \"newton\""},
    {"scanning takes no parameter", {"x[0]", "--interval", "0", "1", "--method", "scan", "--param", "2", "--steps", "5"}, "not used by the scan method"},
    {"multiplier of 1", search({"--param", "1", "--steps", "5"}), "multiplier of strongin must be greater than 1"},
    {"multiplier below 1", search({"--param", "0.5", "--steps", "5"}), "greater than 1"},
    {"no stop rule", search({}), "a stop rule is required"},
    {"two stop rules", search({"--steps", "5", "--eps", "0.1"}), "only one stop rule"},
    {"zero steps", search({"--steps", "0"}), "out of range (expected a whole number from 1 to 100000)"},
    {"steps beyond the window's bound", search({"--steps", "100001"}), "out of range"},
    {"fractional steps", search({"--steps", "1.5"}), "not a whole number"},
    {"steps in exponent form", search({"--steps", "1e3"}), "\"1e3\" is not a whole number"},
    {"steps beyond int", search({"--steps", "99999999999"}), "out of range"},
    {"NaN precision", search({"--eps", "nan"}), "not a finite number"},
    {"infinite interval length", search({"--interval-eps", "inf"}), "not a finite number"},
    {"ten parameters", search({"--steps", "5", "--params", "1,2,3,4,5,6,7,8,9,10"}), "at most 9 values"},
    {"empty parameter", search({"--steps", "5", "--params", "1,,3"}), "--params value 2 (x[2]): \"\" is not a number"},
    {"unknown format", search({"--steps", "5", "--format", "xml"}), "unknown format \"xml\""},
    {"unknown option", search({"--steps", "5", "--frobnicate"}), "unknown option --frobnicate"},
    {"option given twice", search({"--steps", "5", "--steps", "6"}), "--steps is given more than once"},
    {"two formulas", search({"x[0]", "--steps", "5"}), "more than one formula"},
    {"option without its value", search({"--steps"}), "--steps needs a value"},
    {"suite options in a single search", search({"--steps", "5", "--eps-rel", "0.01"}), "--eps-rel cannot be used without --suite"},
    {"single-search options in a suite", {"--suite", "f.tsv", "--interval", "0", "1"}, "--interval cannot be used with --suite"},
    {"a formula with a suite", {"--suite", "f.tsv", "x[0]"}, "--suite takes no formula"},
    {"json for a suite", {"--suite", "f.tsv", "--format", "json"}, "not json"},
    {"multiplier of 1 in a suite", {"--suite", "f.tsv", "--param-strongin", "1"}, "r must be greater than 1"},
    {"no Lipschitz estimate", {"--suite", "f.tsv", "--param-piyavsky", "0"}, "--param-piyavsky must be greater than 0"},
    {"a word for the estimate", {"--suite", "f.tsv", "--param-piyavsky", "file"}, "\"file\" is not a number"},
    {"a method twice", {"--suite", "f.tsv", "--methods", "scan,scan"}, "names scan twice"},
    {"M of f' in a class run", {"--class", "hill:5", "--methods", "d-al"}, "d-al needs --param-d-al M in a run over many problems"},
    {"an empty method list", {"--suite", "f.tsv", "--methods", ""}, "unknown method \"\""},
    {"zero relative eps", {"--suite", "f.tsv", "--eps-rel", "0"}, "--eps-rel must be greater than 0"},
    {"a variant's r of 0", {"x[0]", "--interval", "0", "1", "--method", "inf-gl", "--param", "0", "--steps", "5"},
     "--param: the multiplier of inf-gl must be greater than 0"},
    {"a variant's r in a class", {"--class", "hill:10", "--param-inf-ltma", "-1"}, "--param-inf-ltma: the multiplier r must be greater than 0"},
    {"scanning's parameter", {"--class", "hill:10", "--param-scan", "1"}, "--param-scan: scan takes no parameter"},
    {"a parameter of no method", {"--class", "hill:10", "--param-newton", "1"}, "\"newton\" is no method"},
    {"from-function in one search", search({"--param", "from-function", "--steps", "5"}), "--param from-function is for runs over many problems"},
    {"from-function in a test set", {"--suite", "f.tsv", "--param-piyavsky", "from-function"}, "from-function is for class runs"},
    {"from-file in a class", {"--class", "hill:10", "--param-piyavsky", "from-file"}, "from-file is for test sets"},
    {"unknown class", {"--class", "sphere:10"}, "unknown class \"sphere\" (expected hill, shekel, hansen20, hill1000 or shekel1000)"},
    {"a class without functions", {"--class", "hill"}, "--class hill needs functions: hill:N, hill:FIRST-LAST or --index I"},
    {"no function at all", {"--class", "hill:0"}, "a count of functions is at least 1"},
    {"a negative index", {"--class", "hill", "--index", "-1", "--print-formula"}, "--index: \"-1\" is out of range"},
    {"an index beyond 64 bits", {"--class", "hill", "--index", "18446744073709551616"}, "is out of range (expected a whole number from 0 to 18446744073709551615)"},
    {"a fractional index", {"--class", "hill", "--index", "1.5"}, "\"1.5\" is not a whole number"},
    {"a range that ends before it starts", {"--class", "shekel:20-10"}, "--class shekel:20-10: the range ends before it starts"},
    {"a sweep for shards", {"--class", "hill:5-1000005"}, "at most 1000000 functions in one run"},
    {"index beside a range", {"--class", "hill:10", "--index", "3"}, "--index cannot be used with a count or range"},
    {"zero delta", {"--class", "hill:10", "--delta", "0"}, "--delta must be greater than 0"},
    {"negative budget", {"--class", "hill:10", "--max-trials", "-5"}, "--max-trials: \"-5\" is out of range (expected a whole number from 2 to 100002)"},
    {"zero jobs", {"--class", "hill:10", "--jobs", "0"}, "--jobs: \"0\" is out of range"},
    {"json for a class", {"--class", "hill:10", "--format", "json"}, "--class writes text or csv, not json"},
    {"json for a summary", {"--from-csv", "c.csv", "--format", "json"}, "--from-csv writes text or csv, not json"},
    {"no header in text", {"--class", "hill:10", "--no-header"}, "--no-header is for --format csv"},
    {"a log scale without a picture", {"--class", "hill:10", "--log-k"}, "--log-k needs --operational"},
    {"no picture writer", {"--class", "hill:2", "--operational", "oc.png"}, "--operational is not available in this build"},
    {"a step count in a class", {"--class", "hill:10", "--steps", "50"}, "--steps cannot be used with --class"},
    {"class and suite at once", {"--suite", "f.tsv", "--class", "hill:10"}, "--suite and --class cannot be used together"},
    {"class options in one search", search({"--steps", "5", "--delta", "0.1"}), "--delta cannot be used without --class"},
    {"a method list in one search", search({"--steps", "5", "--methods", "all"}), "--methods cannot be used without --suite or --class"},
    {"a run option with the formulas", {"--class", "hill", "--index", "3", "--print-formula", "--param-strongin", "3"},
     "--param-strongin cannot be used with --print-formula"},
};

}  // namespace

TEST(CommandLine, everyBadArgumentGetsItsMessageAndExitStatus2) {
  for (const BadCase& c : badCases) {
    SCOPED_TRACE(c.reason);
    std::ostringstream out, err;
    EXPECT_EQ(runCli(c.args, out, err, {}), ExitBadInput);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    EXPECT_EQ(err.str().rfind("velmora-run: ", 0), 0u) << err.str();
    EXPECT_TRUE(out.str().empty());
  }
}

TEST(CommandLine, aSearchCommandKeepsEveryOption) {
  const Command command = parseCommandLine({"--method", "piyavsky", "-x[0]^2", "--interval", "-10", "+10", "--param", "-3",
                                            "--interval-eps", "0.01", "--params", "1.5,-2", "--trials", "--format", "json"});
  const auto* search = std::get_if<SearchOptions>(&command);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(search->formula, "-x[0]^2");  // a single dash starts no option
  EXPECT_EQ(search->request.xmin, -10);
  EXPECT_EQ(search->request.xmax, 10);
  EXPECT_EQ(search->request.method, MethodId::Piyavsky);
  EXPECT_EQ(search->request.param, -3);  // the window takes any estimate; the method replaces it by 1
  EXPECT_EQ(search->request.stop, StopKind::IntervalLength);
  EXPECT_EQ(search->request.eps, 0.01);
  EXPECT_EQ(search->params[0], 1.5);
  EXPECT_EQ(search->params[1], -2);
  EXPECT_EQ(search->params[2], 0);
  EXPECT_EQ(std::get<SearchOptions>(parseCommandLine({"x[0]", "--interval", "0", "1", "--method", "scan", "--steps", "+7"})).request.steps, 7);
  EXPECT_TRUE(search->trials);
  EXPECT_EQ(search->format, Format::Json);
}

TEST(CommandLine, doubleDashLetsAFormulaStartWithTwoMinusSigns) {
  const Command command = parseCommandLine({"--interval", "0", "1", "--method", "scan", "--steps", "3", "--", "--x[0]"});
  EXPECT_EQ(std::get<SearchOptions>(command).formula, "--x[0]");
}

TEST(CommandLine, suiteDefaultsAreTheLiteratureProtocol) {
  const SuiteOptions suite = std::get<SuiteOptions>(parseCommandLine({"--suite", "p.tsv"}));
  EXPECT_EQ(suite.plan.methods, (std::vector<MethodId>{MethodId::Scan, MethodId::Piyavsky, MethodId::Strongin}));
  EXPECT_TRUE(suite.plan.params.empty());
  EXPECT_EQ(suite.plan.paramFor(MethodId::Piyavsky, 4.5), 4.5);  // the file's L
  EXPECT_EQ(suite.plan.paramFor(MethodId::Strongin, 4.5), 2);
  EXPECT_EQ(suite.protocol.epsRel, 1e-4);
  EXPECT_FALSE(suite.protocol.steps);
  EXPECT_EQ(suite.format, Format::Text);

  const SuiteOptions custom = std::get<SuiteOptions>(parseCommandLine(
      {"--suite", "p.tsv", "--methods", "strongin,scan", "--param-piyavsky", "from-file", "--param-strongin", "3",
       "--steps", "50", "--format", "csv"}));
  EXPECT_EQ(custom.plan.methods, (std::vector<MethodId>{MethodId::Strongin, MethodId::Scan}));
  EXPECT_FALSE(custom.plan.params.count(MethodId::Piyavsky));
  EXPECT_EQ(custom.plan.paramFor(MethodId::Strongin, 4.5), 3);
  EXPECT_EQ(custom.protocol.steps, 50);
}

TEST(CommandLine, classRunsKeepEveryOptionAndHaveTheRulesDefaults) {
  const ClassOptions plain = std::get<ClassOptions>(parseCommandLine({"--class", "shekel:100"}));
  EXPECT_EQ(plain.range.cls, Velmora::Lab::TestClassId::Shekel);
  EXPECT_EQ(plain.range.first, 0u);
  EXPECT_EQ(plain.range.last, 99u);
  EXPECT_EQ(plain.plan.methods, (std::vector<MethodId>{MethodId::Scan, MethodId::Piyavsky, MethodId::Strongin}));
  EXPECT_EQ(plain.rule.maxTrials, 1000);
  EXPECT_EQ(plain.rule.delta, 1e-3);
  EXPECT_FALSE(plain.jobs);
  EXPECT_TRUE(plain.header);
  EXPECT_EQ(plain.plan.paramFor(MethodId::Piyavsky, 7.5), 7.5);  // the function's constant times 1.1, passed in
  EXPECT_EQ(plain.plan.paramFor(MethodId::InfLta, 7.5), 2);
  EXPECT_EQ(plain.plan.paramFor(MethodId::Scan, 7.5), 0);

  const ClassOptions custom = std::get<ClassOptions>(parseCommandLine(
      {"--class", "hill:1000-1999", "--methods", "all", "--param-piyavsky", "5", "--param-inf-gl", "3", "--max-trials",
       "500", "--delta", "1e-4", "--jobs", "3", "--format", "csv", "--no-header", "--operational", "oc.png", "--log-k"}));
  EXPECT_EQ(custom.range.first, 1000u);
  EXPECT_EQ(custom.range.last, 1999u);
  // all: every method this installation can run without a parameter given for it.
  EXPECT_EQ(custom.plan.methods.size(), std::ranges::count_if(Velmora::Lab::allMethods(), [](const auto& info) {
              return Velmora::Lab::isInstalled(info) && !info.batchNeedsParam;
            }));
  EXPECT_EQ(custom.plan.paramFor(MethodId::Piyavsky, 7.5), 5);
  EXPECT_EQ(custom.plan.paramFor(MethodId::InfGl, 7.5), 3);
  EXPECT_EQ(custom.plan.paramFor(MethodId::Strongin, 7.5), 2);
  EXPECT_EQ(custom.rule.maxTrials, 500);
  EXPECT_EQ(custom.rule.delta, 1e-4);
  EXPECT_EQ(custom.jobs, 3u);
  EXPECT_FALSE(custom.header);
  EXPECT_EQ(custom.operationalFile, "oc.png");
  EXPECT_TRUE(custom.logK);

  const FormulaListing one = std::get<FormulaListing>(parseCommandLine({"--class", "hill", "--index", "17", "--print-formula"}));
  EXPECT_EQ(one.range.first, 17u);
  EXPECT_EQ(one.range.last, 17u);
  EXPECT_EQ(std::get<ClassOptions>(parseCommandLine({"--class", "hill", "--index", "17"})).range.last, 17u);
}

TEST(CommandLine, helpGoesToStdoutAndSucceeds) {
  std::ostringstream out, err;
  EXPECT_EQ(runCli({"x[0]", "--help"}, out, err, {}), ExitOk);
  EXPECT_NE(out.str().find("usage:"), std::string::npos);
  EXPECT_TRUE(err.str().empty());
}

TEST(CommandLine, helpThatCannotBeWrittenFails) {
  std::ostringstream full, err;
  full.setstate(std::ios::badbit);  // as stdout on /dev/full
  EXPECT_EQ(runCli({"--help"}, full, err, {}), ExitFailed);
  EXPECT_NE(err.str().find("the output could not be written"), std::string::npos);
}

TEST(CommandLine, helpNamesEveryOptionOfTheTableWithin80Columns) {
  const std::string help = usageText();
  for (const Option& option : options()) EXPECT_NE(help.find(option.name), std::string::npos) << option.name;
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
}

TEST(CommandLine, anOptionOutsideItsModesIsRefusedByNameInEveryMode) {
  const struct {
    Mode mode;
    std::vector<std::string> args;
  } modes[] = {
      {Mode::Search, {"x[0]", "--interval", "0", "1", "--method", "scan", "--steps", "5"}},
      {Mode::Suite, {"--suite", "f.tsv"}},
      {Mode::Class, {"--class", "hill", "--index", "2"}},
      {Mode::Formulas, {"--class", "hill", "--index", "2", "--print-formula"}},
      {Mode::FromCsv, {"--from-csv", "c.csv"}},
  };
  // A value each option takes in the modes it belongs to.
  const std::map<std::string_view, std::vector<std::string>> values{
      {"--interval", {"0", "1"}}, {"--method", {"scan"}}, {"--param", {"2"}}, {"--methods", {"scan"}},
      {"--param-", {"3"}}, {"--eps-rel", {"0.1"}}, {"--max-trials", {"50"}}, {"--delta", {"0.1"}},
      {"--steps", {"5"}}, {"--eps", {"0.1"}}, {"--interval-eps", {"0.1"}}, {"--params", {"1"}},
      {"--jobs", {"2"}}, {"--format", {"csv"}}, {"--plot", {"p.png"}}, {"--steps-out", {"s.csv"}},
      {"--seed", {"1"}}, {"--seeds", {"2"}}, {"--operational", {"o.png"}}, {"--index", {"1"}}};
  for (const auto& m : modes) {
    for (const Option& option : options()) {
      const std::string name = std::string(option.name) + (option.family ? "strongin" : "");
      if (option.selects || std::find(m.args.begin(), m.args.end(), name) != m.args.end()) continue;
      SCOPED_TRACE(name + " after " + m.args.back());
      std::vector<std::string> args = m.args;
      args.push_back(name);
      if (const auto given = values.find(option.name); given != values.end())
        args.insert(args.end(), given->second.begin(), given->second.end());
      if (option.name == "--log-k" && option.modes.has(m.mode)) args.insert(args.end(), {"--operational", "o.png"});
      std::string message;
      try {
        parseCommandLine(args);
      } catch (const UsageError& error) {
        message = error.what();
      }
      // A search names the modes it lacks; the others the option that chose them.
      const std::string refusal = name + " cannot be used with" + (m.mode == Mode::Search ? "out --" : " --");
      const bool refused = message.rfind(refusal, 0) == 0;
      EXPECT_EQ(refused, !option.modes.has(m.mode)) << message;
    }
  }
}

// An option that changes nothing in its run says so on stderr; the run still goes.
TEST(CommandLine, optionsThatDoNothingGetAWarningLine) {
  const std::vector<std::string> search = {"x[0]^2", "--interval", "0", "1", "--steps", "2"};
  const std::vector<std::string> hill = {"--class", "hill:0-0", "--format", "csv"};
  const struct {
    std::vector<std::string> base;
    std::vector<std::string> extra;
    const char* warning;  ///< empty: none
  } cases[] = {
      {search, {"--method", "strongin", "--seed", "3"}, "--seed does nothing here"},
      {search, {"--method", "nlopt-crs2", "--seed", "3"}, ""},
      {hill, {"--methods", "strongin", "--seeds", "2"}, "--seeds does nothing here"},
      {hill, {"--methods", "strongin,nlopt-crs2", "--seeds", "2"}, ""},
      {hill, {"--methods", "strongin", "--param-piyavsky", "3"}, "--param-piyavsky does nothing here"},
      {hill, {"--methods", "piyavsky", "--param-piyavsky", "3"}, ""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.base;
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    SCOPED_TRACE(c.extra[1]);
    // A build without NLopt has no method that draws random numbers.
    if (c.extra[1].find("nlopt-crs2") != std::string::npos && !Velmora::Lab::findMethod("nlopt-crs2")) continue;
    const auto r = Testing::run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    const bool warned = r.err.find("warning: ") != std::string::npos;
    EXPECT_EQ(warned, *c.warning != '\0') << r.err;
    if (*c.warning) {
      EXPECT_NE(r.err.find(c.warning), std::string::npos) << r.err;
    }
  }
}
