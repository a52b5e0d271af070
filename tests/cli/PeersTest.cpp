// NLopt's methods and the shipped sets in runs over many problems: the
// output of any number of jobs, seeds in the csv, and the bad inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <regex>
#include <sstream>

#include "CliRun.h"
#include "MethodCatalogue.h"

using namespace Velmora::Cli;
using namespace Velmora::Cli::Testing;

namespace {

// The seconds a run took are the only field that may differ between two runs.
std::string withoutSeconds(const std::string& csv) {
  return std::regex_replace(csv, std::regex(",[0-9]+\\.[0-9]{6}"), ",s");
}

}  // namespace

TEST(Peers, jobsLeaveTheOutputOfTestSetsAndClassesAlone) {
  const std::vector<std::string> suite{"--suite", std::string(VELMORA_DATA_DIR) + "/shekel1000.tsv", "--methods",
                                       "strongin,nlopt-direct,nlopt-isres", "--steps", "60", "--seeds", "2",
                                       "--format", "csv"};
  const Outcome one = run(with(suite, {"--jobs", "1"}));
  const Outcome two = run(with(suite, {"--jobs", "2"}));
  ASSERT_EQ(one.status, ExitOk) << one.err;
  EXPECT_EQ(withoutSeconds(two.out), withoutSeconds(one.out));
  EXPECT_EQ(lines(one.out).size(), 1 + 1000 * 4 + 3u);

  const std::vector<std::string> cls{"--class", "hill1000:40-69", "--methods", "inf-ltma,nlopt-esch,nlopt-crs2",
                                     "--seeds", "3", "--max-trials", "300", "--format", "csv"};
  const Outcome a = run(with(cls, {"--jobs", "1"}));
  const Outcome b = run(with(cls, {"--jobs", "2"}));
  ASSERT_EQ(a.status, ExitOk) << a.err;
  EXPECT_EQ(b.out, a.out);
  EXPECT_EQ(b.err, a.err);
  const std::vector<std::string> rows = lines(a.out);
  EXPECT_EQ(rows.front(), "class,index,method,param,first_hit,stop,seed");
  EXPECT_EQ(rows[1].rfind("hill1000,40,inf-ltma,2,", 0), 0u);
  EXPECT_EQ(rows[1].back(), ',');  // a deterministic method has no seed
  EXPECT_NE(rows[2].find(",nlopt-esch,"), std::string::npos);
  EXPECT_EQ(rows[2].back(), '0');
  EXPECT_EQ(rows[4].rfind("hill1000,40,nlopt-esch,", 0), 0u);
  EXPECT_EQ(rows[4].back(), '2');
}

TEST(Peers, aSeedGivesTheSameTrialsOnEveryRun) {
  const std::vector<std::string> args{"sin(5*x[0])+x[0]", "--interval", "-3", "3", "--method", "nlopt-isres",
                                      "--steps", "40", "--trials", "--format", "csv"};
  const Outcome first = run(with(args, {"--seed", "7"}));
  ASSERT_EQ(first.status, ExitOk) << first.err;
  EXPECT_EQ(withoutSeconds(run(with(args, {"--seed", "7"})).out), withoutSeconds(first.out));
  EXPECT_NE(withoutSeconds(run(with(args, {"--seed", "8"})).out), withoutSeconds(first.out));
  EXPECT_EQ(lines(first.out).size(), 2 + 1 + 1 + 42u);
  EXPECT_EQ(lines(first.out)[4].back(), ',');  // no characteristic
}

TEST(Peers, everyFormatGivesNLoptsResultAndOnlyForNLoptsMethods) {
  const auto resultIn = [](const std::string& method, const std::string& format) {
    const Outcome r = run({"x[0]^2", "--interval", "-1", "2", "--method", method, "--steps", "20", "--format", format});
    EXPECT_EQ(r.status, ExitOk) << r.err;
    std::smatch found;
    if (format == "text" && std::regex_search(r.out, found, std::regex("NLopt result +(-?[0-9]+) (\\S+)\n")))
      return found[1].str() + " " + found[2].str();
    if (format == "json" &&
        std::regex_search(r.out, found, std::regex("\"nlopt_result\": (-?[0-9]+),\n  \"nlopt_result_text\": \"(\\S+)\"")))
      return found[1].str() + " " + found[2].str();
    if (format == "csv") {
      const std::vector<std::string> rows = lines(r.out);
      const std::size_t at = rows[0].find("nlopt_result,nlopt_result_text,");
      if (at == std::string::npos) return std::string("none");
      const auto field = [&](std::size_t column) {
        std::stringstream cells(rows[1]);
        std::string cell;
        for (std::size_t i = 0; i <= column; ++i) std::getline(cells, cell, ',');
        return cell;
      };
      const auto column = static_cast<std::size_t>(std::count(rows[0].begin(), rows[0].begin() + at, ','));
      const std::string both = field(column) + " " + field(column + 1);
      return both == " " ? std::string("none") : both;
    }
    if (format == "json" && r.out.find("\"nlopt_result\": null,\n  \"nlopt_result_text\": null,") != std::string::npos)
      return std::string("none");
    return r.out.find("nlopt_result") == std::string::npos ? std::string("none") : "misplaced in " + format;
  };
  for (const char* method : {"nlopt-direct", "nlopt-isres", "strongin", "inf-gl"}) {
    SCOPED_TRACE(method);
    const std::string text = resultIn(method, "text");
    EXPECT_EQ(text == "none", std::string(method).rfind("nlopt-", 0) != 0) << text;
    for (const char* format : {"csv", "json"}) EXPECT_EQ(resultIn(method, format), text) << format;
  }
}

TEST(Peers, badInputIsRefusedWithItsReason) {
  const std::string set = std::string(VELMORA_DATA_DIR) + "/hill1000.tsv";
  const struct {
    const char* name;
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {"a precision rule", {"x[0]", "--interval", "0", "1", "--method", "nlopt-direct", "--eps", "0.1"},
       "nlopt-direct stops at a budget of evaluations: give --steps N, not --eps"},
      {"the interval rule of a test set", {"--suite", set, "--methods", "strongin,nlopt-esch"},
       "nlopt-esch stops at a budget of evaluations: give --steps N, not the interval rule of --eps-rel"},
      {"no seeds", {"--class", "hill:3", "--seeds", "0"}, "--seeds: \"0\" is out of range"},
      {"a fraction of seeds", {"--class", "hill:3", "--seeds", "2.5"}, "--seeds: \"2.5\" is not a whole number"},
      {"both seed options", {"--class", "hill:3", "--seed", "1", "--seeds", "2"},
       "--seed and --seeds cannot be used together"},
      {"a population that is no whole number", {"--class", "hill:3", "--param-nlopt-crs2", "7.5"},
       "--param-nlopt-crs2: the population must be a whole number"},
      {"a population that is no whole number in one search",
       {"x[0]", "--interval", "0", "1", "--method", "nlopt-isres", "--param", "-3", "--steps", "5"},
       "--param: the population of nlopt-isres must be a whole number from 0 (NLopt's default) to 1000000"},
      {"seeds for one search", {"x[0]", "--interval", "0", "1", "--method", "nlopt-esch", "--steps", "5", "--seeds", "2"},
       "--seeds cannot be used without --suite or --class"},
      {"rows past the set's end", {"--class", "shekel1000:990-1005"}, "--class shekel1000 has rows 0 to 999"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome r = run(c.args);
    EXPECT_EQ(r.status, ExitBadInput);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

TEST(Peers, aMethodTheInstalledNloptLacksIsRefusedAndAllLeavesItOut) {
  for (const Velmora::Lab::MethodInfo& info : Velmora::Lab::allMethods()) {
    if (Velmora::Lab::isInstalled(info)) continue;
    SCOPED_TRACE(info.key);
    const Outcome r = run({"x[0]", "--interval", "0", "1", "--method", std::string(info.key), "--steps", "5"});
    EXPECT_EQ(r.status, ExitBadInput);
    EXPECT_NE(r.err.find("cannot run here: the installed NLopt was built without it"), std::string::npos) << r.err;
  }
  // Not a fault on every function for a method that cannot run.
  const Outcome every = run({"--class", "hill:2", "--methods", "all", "--max-trials", "50"});
  EXPECT_EQ(every.status, ExitOk) << every.err;
}

namespace {

std::string written(const std::string& name, const std::string& contents) {
  const std::string path = ::testing::TempDir() + "velmora_from_csv_" + name;
  std::ofstream(path) << contents;
  return path;
}

}  // namespace

TEST(FromCsv, shardsInAnyOrderGiveTheWholeRunsSummaryAndPicture) {
  OperationalRequest whole, rebuilt;
  Environment env;
  env.operational = [&](const OperationalRequest& r) -> std::optional<std::string> {
    (whole.curves.empty() ? whole : rebuilt) = r;
    return std::nullopt;
  };
  // The parameters given are read back from the rows.
  const std::vector<std::string> args{"--methods", "piyavsky,nlopt-direct,nlopt-esch", "--param-piyavsky", "40",
                                      "--seeds", "2", "--max-trials", "150", "--format", "csv",
                                      "--operational", "oc.png"};
  const Outcome all = run(with({"--class", "shekel1000:0-19"}, args), env);
  ASSERT_EQ(all.status, ExitOk) << all.err;
  Environment quiet;
  quiet.operational = [](const OperationalRequest&) -> std::optional<std::string> { return std::nullopt; };
  const std::string first = written("first.csv", run(with({"--class", "shekel1000:0-6"}, args), quiet).out);
  const std::string rest = written("rest.csv", run(with({"--class", "shekel1000:7-19", "--no-header"}, args), quiet).out);
  const Outcome back = run({"--from-csv", rest, first, "--max-trials", "150", "--operational", "oc.png"}, env);
  ASSERT_EQ(back.status, ExitOk) << back.err;
  EXPECT_EQ(back.out, all.err);  // the csv run's summary went to stderr
  ASSERT_EQ(rebuilt.curves.size(), whole.curves.size());
  for (std::size_t i = 0; i < whole.curves.size(); ++i) {
    EXPECT_EQ(rebuilt.curves[i].name, whole.curves[i].name);
    EXPECT_EQ(rebuilt.curves[i].share, whole.curves[i].share);
    EXPECT_EQ(rebuilt.curves[i].low, whole.curves[i].low);
  }
}

TEST(FromCsv, badFilesAreRefusedWithFileAndLine) {
  const std::string header = "class,index,method,param,first_hit,stop\n";
  const std::string suite = "id,method,param,trials,success,first_hit,error,seconds\n";
  const struct {
    std::string contents;
    const char* message;
  } cases[] = {
      {header + "hill,3,scan,,7,hit\nhill,3,scan,,7,hit\n", ":3: this run was seen before, at "},
      {"class,index,method,colour\n", ":1: unknown column \"colour\""},
      {header + "hill,3,scan,,7,hit\nid,method,param,trials,success,first_hit,error,seconds\n",
       ":3: the header of a test set's csv among files of a class csv"},
      {header + "hill,3,scan,,7,done\n", ":2: stop: \"done\" is no reason a run stops"},
      {header + "hill,3,simplex,,7,hit\n", ":2: unknown method \"simplex\""},
      {header + "hill,3,scan,,7,hit\nshekel,3,scan,,7,hit\n", ":3: runs of class shekel among runs of class hill"},
      {"hill,3,scan,,7,hit\n", ":1: no file begins with the header of a class csv"},
      {suite + "1,scan,,9,yes,4,0,0.1\n2,scan,,9,maybe,4,0,0.1\n", ":3: success: \"maybe\" is none of yes, no, fault"},
      {suite + "1,scan,,9,yes,4,0,0.1\n1,strongin,2,9,no,,0.5,0.1\n2,strongin,2,9,no,,0.5,0.1\n",
       ":2: the runs of scan lack problem 2: the files lack runs or hold two test sets"},
      {"class,index,method,param,first_hit,stop,seed\nhill,3,nlopt-crs2,0,7,hit,0\nhill,3,nlopt-crs2,0,9,hit,2\n",
       ": the runs have seeds 0, 2, not 0 to N - 1 as the runs of --seeds N have them"},
      // Rows that no run can have written.
      {header + "hill,3,scan,,0,hit\n", ":2: first_hit: 0 is not from 1 to the budget (1000)"},
      {header + "hill,3,scan,,1001,hit\n", ":2: first_hit: 1001 is not from 1 to the budget (1000)"},
      {header + "hill,3,scan,,1e300,hit\n", ":2: first_hit: \"1e300\" is not a whole number"},
      {header + "hill,3,scan,,nan,hit\n", ":2: first_hit: \"nan\" is not a whole number"},
      {header + "hill,3,scan,,,hit\n", ":2: stop: a run that stopped at a hit has a first_hit"},
      {header + "hill,3,scan,,7,budget\n", ":2: stop: a run that spent its budget has no first_hit"},
      {header + "hill,3,strongin,2,7,hit\nhill,4,strongin,3,7,hit\n",
       ":3: param: strongin ran with 3 here and with 2 at "},
      {suite + "1,scan,,9,yes,10,0,0.1\n", ":2: first_hit: 10 is not from 1 to the run's trials (9)"},
      {suite + "1,scan,,9,yes,4,-0.5,0.1\n", ":2: error: \"-0.5\" is not a number from 0 up"},
      {suite + "1,scan,,9,yes,4,0,-1\n", ":2: seconds: \"-1\" is not a number from 0 up"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const std::string path = written("bad.csv", c.contents);
    const Outcome r = run({"--from-csv", path});
    EXPECT_EQ(r.status, ExitBadInput);
    EXPECT_NE(r.err.find(path + c.message), std::string::npos) << r.err;
  }
  const std::string below = written("below.csv", header + "hill,3,scan,,70,hit\n");
  const Outcome r = run({"--from-csv", below, "--max-trials", "50"});
  EXPECT_EQ(r.status, ExitBadInput);
  EXPECT_NE(r.err.find(":2: first_hit: 70 is not from 1 to the budget (50)"), std::string::npos) << r.err;
}

TEST(FromCsv, aTestSetsRowsInAnyOrderGiveItsOutputAndItsZones) {
  std::vector<OperationalRequest> pictures;
  Environment env;
  env.operational = [&](const OperationalRequest& r) -> std::optional<std::string> {
    pictures.push_back(r);
    return std::nullopt;
  };
  const Outcome direct = run({"--suite", std::string(VELMORA_DATA_DIR) + "/hansen20.tsv", "--methods",
                              "piyavsky,nlopt-direct,nlopt-crs2", "--param-nlopt-crs2", "12", "--steps", "80",
                              "--seeds", "3", "--jobs", "2",
                              "--format", "csv", "--operational", "oc.png"},
                             env);
  ASSERT_EQ(direct.status, ExitOk) << direct.err;
  // The problems dealt to two files back to front, the header in the second
  // only, the mean rows at the end of the first.
  const std::vector<std::string> rows = lines(direct.out);
  const std::size_t perProblem = 1 + 1 + 3, problems = 20;
  std::string odd, even = rows[0] + "\n";
  for (std::size_t p = problems; p-- > 0;)
    for (std::size_t i = 0; i < perProblem; ++i) (p % 2 ? odd : even) += rows[1 + p * perProblem + i] + "\n";
  for (std::size_t i = 1 + problems * perProblem; i < rows.size(); ++i) odd += rows[i] + "\n";
  const Outcome back =
      run({"--from-csv", written("odd.csv", odd), written("even.csv", even), "--steps", "80", "--format", "csv",
           "--operational", "oc.png"},
          env);
  ASSERT_EQ(back.status, ExitOk) << back.err;
  EXPECT_EQ(withoutSeconds(back.out), withoutSeconds(direct.out));
  ASSERT_EQ(pictures.size(), 2u);
  ASSERT_EQ(pictures[1].curves.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(pictures[1].curves[i].name, pictures[0].curves[i].name);
    EXPECT_EQ(pictures[1].curves[i].share, pictures[0].curves[i].share);
    EXPECT_EQ(pictures[1].curves[i].low, pictures[0].curves[i].low);
  }
  // The stochastic method is drawn as its zone over the seeds, the deterministic ones as curves.
  const OperationalCurve& zone = pictures[0].curves[2];
  EXPECT_TRUE(pictures[0].curves[1].low.empty());
  ASSERT_EQ(zone.low.size(), zone.share.size());
  EXPECT_NE(zone.low, zone.high);

  // The text summary of the same rows: the stochastic method's successes and mean first hit are the mean,
  // lowest and highest of each seed's, made here from that seed's csv rows.
  std::vector<double> successes(3);
  std::vector<std::vector<double>> hitsOfSeed(3);
  const std::regex crs2Row("[^,]*,nlopt-crs2,[^,]*,[^,]*,(yes|no|fault),([0-9]*),.*,([0-9])");
  for (const std::string& row : rows)
    if (std::smatch f; std::regex_match(row, f, crs2Row)) {
      successes[std::stoul(f[3])] += f[1] == "yes";
      if (f[2].length()) hitsOfSeed[std::stoul(f[3])].push_back(std::stod(f[2]));
    }
  std::vector<double> firstHits;
  for (const std::vector<double>& hits : hitsOfSeed)
    if (!hits.empty()) firstHits.push_back(std::accumulate(hits.begin(), hits.end(), 0.0) / hits.size());
  const Outcome text = run({"--from-csv", written("odd.csv", odd), written("even.csv", even), "--steps", "80"});
  ASSERT_EQ(text.status, ExitOk) << text.err;
  std::smatch m;
  const std::string spread = "([0-9.]+) \\(([0-9.]+)–([0-9.]+)\\)";
  const std::regex crs2("\\| nlopt-crs2 \\| 12 \\| [0-9.]+ \\| " + spread + "/20 \\| " + spread);
  ASSERT_TRUE(std::regex_search(text.out, m, crs2)) << text.out;
  for (const auto& [at, seeds] : {std::pair{1, successes}, std::pair{4, firstHits}}) {
    const auto [lo, hi] = std::minmax_element(seeds.begin(), seeds.end());
    EXPECT_NEAR(std::stod(m[at]), std::accumulate(seeds.begin(), seeds.end(), 0.0) / seeds.size(), 0.05);
    EXPECT_NEAR(std::stod(m[at + 1]), *lo, 0.05);
    EXPECT_NEAR(std::stod(m[at + 2]), *hi, 0.05);
  }
  // A deterministic method keeps its plain count and mean.
  const std::regex plain("\\| nlopt-direct \\| - \\| [0-9.]+ \\| [0-9]+/20 \\| [0-9.]+ \\|");
  EXPECT_TRUE(std::regex_search(text.out, plain)) << text.out;
}
