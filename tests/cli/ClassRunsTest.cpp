#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "CliRun.h"
#include "ClassRun.h"
#include "Spelling.h"

using namespace Velmora::Cli;
using namespace Velmora::Cli::Testing;
using namespace Velmora::Lab;

namespace {


const std::vector<std::string> classRun{"--methods", "scan,piyavsky,inf-ltma,geom-lta", "--max-trials", "150",
                                        "--delta", "2e-3"};

}  // namespace

TEST(ClassRuns, outputIsTheSameForAnyNumberOfJobsAndShardsConcatenateIntoTheWhole) {
  for (const char* format : {"csv", "text"}) {
    SCOPED_TRACE(format);
    const Outcome one = run(with(classRun, {"--class", "hill:0-29", "--format", format, "--jobs", "1"}));
    ASSERT_EQ(one.status, ExitOk) << one.err;
    for (const char* jobs : {"2", "3", "7"}) {
      const Outcome many = run(with(classRun, {"--class", "hill:0-29", "--format", format, "--jobs", jobs}));
      EXPECT_EQ(many.out, one.out) << jobs << " jobs";
      EXPECT_EQ(many.err, one.err) << jobs << " jobs";
    }
  }
  const Outcome whole = run(with(classRun, {"--class", "shekel:5-24", "--format", "csv"}));
  const Outcome first = run(with(classRun, {"--class", "shekel:5-11", "--format", "csv", "--jobs", "2"}));
  const Outcome second = run(with(classRun, {"--class", "shekel:12-24", "--format", "csv", "--no-header"}));
  EXPECT_EQ(first.out + second.out, whole.out);
}

TEST(ClassRuns, eachCsvRowIsTheCoresRunOfThatFunction) {
  const Outcome r = run({"--class", "shekel:3-4", "--methods", "piyavsky,strongin,inf-lta", "--param-inf-lta", "1.5",
                         "--max-trials", "40", "--delta", "1e-3", "--format", "csv"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  std::istringstream in(r.out);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "class,index,method,param,first_hit,stop,seed");
  std::set<std::string> stops;
  for (std::uint64_t index : {3u, 4u}) {
    const TestFunction f = makeTestFunction(TestClassId::Shekel, index);
    for (auto [method, param] : {std::pair{MethodId::Piyavsky, lipschitzFromFunction(f)}, std::pair{MethodId::Strongin, 2.0},
                                 std::pair{MethodId::InfLta, 1.5}}) {
      const ClassRun expected = runOnTestFunction(f, method, param, {40, 1e-3});
      stops.insert(std::string(classRunStopKey(expected.stop)));
      ASSERT_TRUE(std::getline(in, line));
      EXPECT_EQ(line, "shekel," + std::to_string(index) + "," + std::string(methodInfo(method).key) + "," +
                          Velmora::Lab::shortest(param) + "," + (expected.firstHit ? std::to_string(*expected.firstHit) : "") + "," +
                          std::string(classRunStopKey(expected.stop)) + ",");
    }
  }
  EXPECT_FALSE(std::getline(in, line));
  EXPECT_EQ(stops, (std::set<std::string>{"hit", "budget", "left-interval"}));  // every kind of row was compared
  // The summary goes beside the csv.
  EXPECT_NE(r.err.find("| strongin | 2 | "), std::string::npos) << r.err;
}

TEST(ClassRuns, printFormulaWritesTheFormulaOfEachFunction) {
  const Outcome one = run({"--class", "hill", "--index", "17", "--print-formula"});
  ASSERT_EQ(one.status, ExitOk) << one.err;
  EXPECT_EQ(one.out, makeTestFunction(TestClassId::Hill, 17).formula + "\n");
  const Outcome two = run({"--class", "shekel:4-5", "--print-formula"});
  EXPECT_EQ(two.out, makeTestFunction(TestClassId::Shekel, 4).formula + "\n" +
                         makeTestFunction(TestClassId::Shekel, 5).formula + "\n");
}

TEST(ClassRuns, progressOnlyOnATerminal) {
  const std::vector<std::string> args{"--class", "hill:4", "--methods", "strongin,scan", "--max-trials", "50"};
  EXPECT_TRUE(run(args).err.empty());
  Environment terminal;
  terminal.progressToTerminal = true;
  const Outcome shown = run(args, terminal);
  ASSERT_EQ(shown.status, ExitOk);
  EXPECT_NE(shown.err.find("\r[8/8 runs] "), std::string::npos) << shown.err;
  EXPECT_EQ(shown.err.back(), '\r');  // wiped before the table
  EXPECT_EQ(shown.out, run(args).out);
}

TEST(ClassRuns, operationalPictureHasACurvePerMethodEndingAtItsShareSolved) {
  OperationalRequest seen;
  Environment env;
  env.operational = [&seen](const OperationalRequest& request) -> std::optional<std::string> {
    seen = request;
    return std::nullopt;
  };
  const Outcome r = run({"--class", "hill:0-39", "--methods", "scan,piyavsky,inf-ltma", "--max-trials", "120",
                         "--operational", "oc.png", "--log-k"},
                        env);
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(seen.file, "oc.png");
  EXPECT_TRUE(seen.logK);
  EXPECT_EQ(seen.lastK, 120);
  ASSERT_EQ(seen.curves.size(), 3u);
  EXPECT_EQ(seen.curves[0].name, "scan");
  EXPECT_EQ(seen.curves[1].name, "piyavsky, 1.1·L of the function");
  EXPECT_EQ(seen.curves[2].name, "inf-ltma, r = 2");
  const std::string summary = r.out.substr(r.out.find("Solved within"));
  for (const OperationalCurve& curve : seen.curves) {
    SCOPED_TRACE(curve.name);
    ASSERT_FALSE(curve.k.empty());
    EXPECT_EQ(curve.k.back(), 120);
    // The curve ends at the summary's share of solved runs.
    const std::string key = curve.name.substr(0, curve.name.find(','));
    const std::size_t row = summary.find("\n| " + key + " | ");
    ASSERT_NE(row, std::string::npos);
    const std::string solved = std::to_string(static_cast<int>(curve.share.back() * 40 + 0.5)) + "/40 | ";
    EXPECT_EQ(summary.substr(row, summary.find('\n', row + 1) - row).find(" | " + solved) == std::string::npos, false)
        << summary;
  }

  env.operational = [](const OperationalRequest&) -> std::optional<std::string> { return std::string("cannot write oc.png"); };
  const Outcome failed = run({"--class", "hill:2", "--operational", "oc.png"}, env);
  EXPECT_EQ(failed.status, ExitFailed);
  EXPECT_NE(failed.err.find("velmora-run: operational: cannot write oc.png"), std::string::npos);
}
