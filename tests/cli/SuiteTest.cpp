#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "CliRun.h"

using namespace Velmora::Cli;
using namespace Velmora::Cli::Testing;

namespace {

const std::string hansen = std::string(VELMORA_DATA_DIR) + "/hansen20.tsv";

// A file with the header and the chosen problems of the literature's set.
class ProblemFile {
 public:
  // Named after the test too: ctest runs each test in its own process, side by side.
  explicit ProblemFile(const std::string& contents)
      : path_(::testing::TempDir() + "velmora_suite_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
              "_" + std::to_string(next_++) + ".tsv") {
    std::ofstream(path_) << contents;
  }
  ~ProblemFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  static inline int next_ = 0;
  std::string path_;
};

std::string hansenRows(std::initializer_list<const char*> ids) {
  std::ifstream in(hansen);
  std::string line, result;
  std::getline(in, line);
  result = line + "\n";
  while (std::getline(in, line))
    for (const char* id : ids)
      if (line.rfind(std::string(id) + "\t", 0) == 0) result += line + "\n";
  return result;
}

}  // namespace

// Scanning places 0, 1, then halves level by level: 0.5, 0.25, 0.75, 0.125, ...
TEST(Suite, firstHitCountsTrialsInTheOrderTheyWerePlaced) {
  const ProblemFile file(
      "id\tformula\ta\tb\tL\txstar\tfstar\n"
      "mid\t(x[0]-0.5)^2\t0\t1\t2\t0.5\t0\n"
      "quarter\t(x[0]-0.25)^2\t0\t1\t2\t0.25\t0\n"
      "left\t(x[0]-0.125)^2\t0\t1\t2\t0.125\t0\n"
      "end\tx[0]\t0\t1\t1\t0\t0\n"
      "two\t(x[0]-0.75)^2*(x[0]-0.5)^2\t0\t1\t9\t0.5;0.75\t0\n");
  const Outcome r = run({"--suite", file.path(), "--methods", "scan", "--eps-rel", "0.01", "--format", "csv"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  std::istringstream in(r.out);
  std::string header, line;
  std::getline(in, header);
  EXPECT_EQ(header, "id,method,param,trials,success,first_hit,error,seconds,stop,seed");
  const struct {
    const char* start;
    const char* reason;
  } expected[] = {
      {"mid,scan,,129,yes,3,0,", "the third trial is the midpoint"},
      {"quarter,scan,,129,yes,4,0,", "the fourth trial is the left quarter"},
      {"left,scan,,129,yes,6,0,", "the left eighth comes after 0.5, 0.25, 0.75"},
      {"end,scan,,129,yes,1,0,", "the left end is the first trial"},
      {"two,scan,,129,yes,3,0,", "the nearer of two minimisers counts"},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(e.reason);
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line.rfind(e.start, 0), 0u) << line;
  }
  ASSERT_TRUE(std::getline(in, line));
  EXPECT_EQ(line.rfind("mean,scan,,129.0,5,3.4,0,", 0), 0u) << line;
  EXPECT_FALSE(std::getline(in, line));
}

TEST(Suite, aStepBudgetReplacesTheIntervalRule) {
  const ProblemFile file(hansenRows({"4", "5"}));
  const Outcome r = run({"--suite", file.path(), "--steps", "40", "--format", "csv"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  std::istringstream in(r.out);
  std::string line;
  std::getline(in, line);
  int rows = 0;
  while (std::getline(in, line) && line.rfind("mean,", 0) != 0) {
    ++rows;
    EXPECT_NE(line.find(",42,"), std::string::npos) << line;  // 40 steps after the two ends
  }
  EXPECT_EQ(rows, 6);
}

TEST(Suite, markdownTableWithMeansAndTheParameterOfEachMethod) {
  const ProblemFile file(hansenRows({"2", "9"}));
  const Outcome r = run({"--suite", file.path(), "--methods", "strongin,piyavsky", "--param-strongin", "2.5"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_TRUE(r.err.empty());  // no terminal, no progress line
  EXPECT_NE(r.out.find("| id | method | param | trials | success | first_hit | error | seconds | stop |\n|---:|"), std::string::npos);
  EXPECT_NE(r.out.find("| 2 | strongin | 2.5 | "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("| 9 | piyavsky | 1.7 | "), std::string::npos);
  EXPECT_NE(r.out.find("| strongin | 2.5 | "), std::string::npos);
  EXPECT_NE(r.out.find("| piyavsky | L of the file | "), std::string::npos);
  EXPECT_NE(r.out.find(" | 2/2 | "), std::string::npos);
  EXPECT_EQ(r.out.find("left the interval"), std::string::npos) << "the file's L keeps every trial inside";

  const Outcome low = run({"--suite", file.path(), "--methods", "strongin,piyavsky", "--param-piyavsky", "0.05"});
  ASSERT_EQ(low.status, ExitOk) << low.err;
  EXPECT_NE(low.out.find(" |\n\npiyavsky: left the interval: 2 runs\n"), std::string::npos) << low.out;
}

TEST(Suite, progressLineOnlyOnATerminal) {
  const ProblemFile file(hansenRows({"2"}));
  Environment terminal;
  terminal.progressToTerminal = true;
  const Outcome r = run({"--suite", file.path(), "--methods", "strongin,piyavsky"}, terminal);
  ASSERT_EQ(r.status, ExitOk);
  EXPECT_NE(r.err.find("\r[2/2 runs] "), std::string::npos);
  EXPECT_EQ(r.err.back(), '\r');  // the line is wiped before the table
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST(Suite, faultsAndReportsAreNotedAndTheStatusSaysSo) {
  const ProblemFile file(
      "id\tformula\ta\tb\tL\txstar\n"
      "div\t1/(x[0]-0.5)\t0\t1\t1\t0\n"
      "root\tsqrt(x[0])\t-1\t1\t1\t0\n");
  const Outcome r = run({"--suite", file.path(), "--methods", "scan", "--eps-rel", "0.1"});
  EXPECT_EQ(r.status, ExitFault);
  EXPECT_NE(r.out.find("| div | scan | - | 3 | fault | 1 | - |"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("- problem div, scan: fault \"Floating point division by zero\" ended the run"), std::string::npos);
  EXPECT_NE(r.out.find("- problem root, scan: sqrt: DOMAIN error\n"), std::string::npos);
  EXPECT_NE(r.err.find("problem div, scan: the run ended with the fault"), std::string::npos);
}

// The reader's every refusal is tested with the reader (tests/lab).
TEST(Suite, aBadFileIsABadInputNamingFileAndLine) {
  const ProblemFile file("id\tformula\ta\tb\tL\txstar\n1\tx[0]\t1\t0\t1\t0\n");
  const Outcome r = run({"--suite", file.path()});
  EXPECT_EQ(r.status, ExitBadInput);
  EXPECT_EQ(r.err, "velmora-run: " + file.path() + ":2: a must be less than b\n");
  EXPECT_TRUE(r.out.empty());
  const Outcome missing = run({"--suite", "/nonexistent/problems.tsv"});
  EXPECT_EQ(missing.status, ExitBadInput);
  EXPECT_NE(missing.err.find("/nonexistent/problems.tsv: cannot open the file"), std::string::npos);
}

TEST(Suite, everyMethodOfTheCatalogueRunsAndSaysWhyItStopped) {
  const ProblemFile file(hansenRows({"2", "9"}));
  OperationalRequest seen;
  Environment env;
  env.operational = [&seen](const OperationalRequest& request) -> std::optional<std::string> {
    seen = request;
    return std::nullopt;
  };
  std::ostringstream out, err;
  // NLopt's methods take no interval rule.
  const std::string ours = "scan,piyavsky,strongin,geom-gl,geom-ltm,geom-lta,geom-ltma,inf-gl,inf-ltm,inf-lta,inf-ltma";
  ASSERT_EQ(runCli({"--suite", file.path(), "--methods", ours, "--format", "csv", "--operational", "oc.png"}, out, err, env),
            ExitOk)
      << err.str();
  std::istringstream in(out.str());
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "id,method,param,trials,success,first_hit,error,seconds,stop,seed");
  int rows = 0;
  while (std::getline(in, line) && line.rfind("mean,", 0) != 0) {
    ++rows;
    EXPECT_EQ(line.substr(line.rfind(',', line.size() - 2)), ",interval,") << line;
  }
  EXPECT_EQ(rows, 22);
  ASSERT_EQ(seen.curves.size(), 11u);
  EXPECT_EQ(seen.curves[1].name, "piyavsky, L of the file");
  EXPECT_EQ(seen.lastK, 16385);  // the longest run, scanning's
  EXPECT_EQ(seen.curves[0].share.back(), 1);
}

// Files written before every run had its stop lack the column; they are read
// as before, and their runs' stop is left empty, not made up.
TEST(Suite, aCsvWithoutTheStopColumnIsReadBackWithTheStopUnknown) {
  const ProblemFile problems(hansenRows({"2", "9"}));
  const Outcome direct = run({"--suite", problems.path(), "--methods", "scan,strongin", "--format", "csv"});
  ASSERT_EQ(direct.status, ExitOk) << direct.err;
  // The columns are id,...,seconds,stop,seed; such files end at seconds. The
  // means' seconds come from the rows' rounded seconds when read back: the
  // one column that may move in its last digit, so it is left out.
  const auto cut = [](const std::string& line, bool keepSeconds) {
    const std::size_t seed = line.rfind(',');
    const std::size_t stop = line.rfind(',', seed - 1);
    const std::size_t seconds = line.rfind(',', stop - 1);
    return line.substr(0, keepSeconds ? stop : seconds);
  };
  const auto withoutSeconds = [&cut](const std::string& line) {
    return cut(line, false) + (line.rfind("id,", 0) == 0 ? ",stop,seed" : ",,");
  };
  std::string older, expected;
  for (const std::string& line : lines(direct.out)) {
    older += cut(line, true) + "\n";
    expected += withoutSeconds(line) + "\n";
  }
  const ProblemFile csv(older);
  const Outcome back = run({"--from-csv", csv.path(), "--format", "csv"});
  ASSERT_EQ(back.status, ExitOk) << back.err;
  std::string backWithoutSeconds;
  for (const std::string& line : lines(back.out)) backWithoutSeconds += withoutSeconds(line) + "\n";
  EXPECT_EQ(backWithoutSeconds, expected);
  const Outcome text = run({"--from-csv", csv.path()});
  ASSERT_EQ(text.status, ExitOk) << text.err;
  EXPECT_NE(text.out.find("| 2 | scan | - | 16385 | yes | 3495 | 3.22e-05 | "), std::string::npos) << text.out;
  EXPECT_NE(text.out.find(" | - |\n| 2 | strongin |"), std::string::npos) << text.out;
}
