#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "CliRun.h"
#include "FormulaFunction.h"
#include "NumberText.h"
#include "Output.h"
#include "Strongin_opt.h"

using namespace Velmora::Cli;
using namespace Velmora::Cli::Testing;
using Velmora::Lab::FormulaFunction;

namespace {


// The raw value text of every occurrence of "key": in a json text, in order.
std::vector<std::string> jsonValues(const std::string& json, const std::string& key) {
  std::vector<std::string> values;
  const std::regex pattern("\"" + key + "\": (\"[^\"]*\"|[^,\\n\\]}]+)");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), pattern); it != std::sregex_iterator(); ++it)
    values.push_back((*it)[1]);
  return values;
}

double hexValue(const std::string& quoted) {
  const std::string text = quoted.substr(1, quoted.size() - 2);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  EXPECT_EQ(*end, '\0') << text;
  return value;
}

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

const std::vector<std::string> strongin30{"sin(x[0])+sin(10*x[0]/3)", "--interval", "2.7", "7.5", "--method",
                                          "strongin", "--param", "2", "--steps", "30"};


}  // namespace

TEST(SearchOutput, jsonHoldsExactlyTheDocumentedKeysInOrder) {
  const Outcome r = run(with(strongin30, {"--format", "json", "--trials"}));
  ASSERT_EQ(r.status, ExitOk) << r.err;
  std::vector<std::string> keys;
  const std::regex topKey("^  \"(\\w+)\":");
  for (const std::string& line : lines(r.out)) {
    std::smatch m;
    if (std::regex_search(line, m, topKey)) keys.push_back(m[1]);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"best_x", "best_x_hex", "f_best", "f_best_hex", "precision", "precision_hex",
                                            "step_count", "trial_count", "trials_outside",
                                            "first_step_outside", "evaluations", "slope_evaluations", "bound_hit", "stop", "nlopt_result",
                                            "nlopt_result_text", "first_non_finite",
                                            "fault", "fault_source", "reports", "trials"}));
  EXPECT_EQ(jsonValues(r.out, "x_hex").size(), 32u);
  EXPECT_EQ(jsonValues(r.out, "step_count"), std::vector<std::string>{"30"});
  EXPECT_EQ(jsonValues(r.out, "trial_count"), std::vector<std::string>{"32"});
  EXPECT_EQ(jsonValues(r.out, "fault"), std::vector<std::string>{"null"});
  EXPECT_EQ(jsonValues(r.out, "first_step_outside"), std::vector<std::string>{"null"});
  EXPECT_EQ(r.err, "");

  const Outcome without = run(with(strongin30, {"--format", "json"}));
  EXPECT_EQ(without.out.find("\"trials\""), std::string::npos);
}

// The json must give the library's own doubles bit for bit, in both spellings.
TEST(SearchOutput, jsonRoundTripsEveryTrialOfADirectRunBitForBit) {
  const Outcome r = run(with(strongin30, {"--format", "json", "--trials"}));
  ASSERT_EQ(r.status, ExitOk) << r.err;

  FormulaFunction func("sin(x[0])+sin(10*x[0]/3)");
  VELMORAALG::TStronginOpt method([&func](double x) { return func(x); });
  method.SetMultiplier(2);
  const double bestX = method.SearchBySteps(2.7, 7.5, 30);
  const std::vector<VELMORAALG::TSearchInfo> trials = method.GetTrials();

  std::vector<double> xs, characts, fs;
  for (const auto& t : trials) {
    xs.push_back(t.x);
    characts.push_back(t.charact);
    fs.push_back(func(t.x));
  }
  const auto check = [&](const std::string& key, const std::vector<double>& want) {
    const std::vector<std::string> hex = jsonValues(r.out, key + "_hex");
    const std::vector<std::string> decimal = jsonValues(r.out, key);
    ASSERT_EQ(hex.size(), want.size()) << key;
    ASSERT_EQ(decimal.size(), want.size()) << key;
    for (std::size_t i = 0; i < want.size(); ++i) {
      EXPECT_EQ(bits(hexValue(hex[i])), bits(want[i])) << key << " " << i;
      EXPECT_EQ(bits(std::strtod(decimal[i].c_str(), nullptr)), bits(want[i])) << key << " " << i;
    }
  };
  check("x", xs);
  check("charact", characts);
  check("f", fs);
  check("best_x", {bestX});
  check("f_best", {func(bestX)});
  check("precision", {method.GetPrecision()});
}

TEST(SearchOutput, hexAndShortestSpellings) {
  const struct {
    double value;
    const char* hex;
    const char* shortestText;
  } cases[] = {
      {0.1, "0x1.999999999999ap-4", "0.1"},
      {-5, "-0x1.4p+2", "-5"},
      {0, "0x0p+0", "0"},
      {INFINITY, "inf", "inf"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hexFloat(c.value), c.hex);
    EXPECT_EQ(Velmora::Lab::shortest(c.value), c.shortestText);
  }
  EXPECT_EQ(jsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
}

TEST(SearchOutput, windowExampleInTextAndCsv) {
  // The window's default search: scanning, 100 steps on [-10, 10].
  const std::vector<std::string> args{"x[0]^2 - 5", "--interval", "-10", "+10", "--method", "scan", "--steps", "100"};
  const Outcome text = run(args);
  ASSERT_EQ(text.status, ExitOk) << text.err;
  for (const char* line : {"best x        0\n", "f(best x)     -5\n", "precision     0.15625\n", "steps made    100\n",
                           "trials        102\n", "evaluations   102\n", "stop          the steps were made\n"})
    EXPECT_NE(text.out.find(line), std::string::npos) << line << text.out;
  EXPECT_EQ(text.out.find("bound hit"), std::string::npos);  // a step run has no bound to hit

  const Outcome csv = run(with(args, {"--format", "csv", "--trials"}));
  ASSERT_EQ(csv.status, ExitOk);
  const std::vector<std::string> rows = lines(csv.out);
  ASSERT_EQ(rows.size(), 2u + 1u + 1u + 102u);
  EXPECT_EQ(rows[0],
            "best_x,f_best,precision,step_count,trial_count,trials_outside,first_step_outside,evaluations,slope_evaluations,"
            "bound_hit,stop,"
            "nlopt_result,nlopt_result_text,first_non_finite_trial,first_non_finite_x,first_non_finite_f,fault,fault_source,reports,seconds");
  EXPECT_EQ(rows[1].rfind("0,-5,0.15625,100,102,0,,102,0,false,steps,,,,,,,,,", 0), 0u) << rows[1];
  EXPECT_EQ(rows[2], "");
  EXPECT_EQ(rows[3], "x,f,charact,df");
  EXPECT_EQ(rows[4].rfind("-10,95,", 0), 0u);
  EXPECT_EQ(rows.back(), "10,95,0,");
}

TEST(SearchOutput, precisionRunReportsStepsAndNoBoundHit) {
  const Outcome r = run({"x[0]^2 - 5", "--interval", "-10", "10", "--method", "scan", "--eps", "0.1", "--format", "json"});
  ASSERT_EQ(r.status, ExitOk);
  EXPECT_EQ(jsonValues(r.out, "step_count"), std::vector<std::string>{"128"});
  EXPECT_EQ(jsonValues(r.out, "precision"), std::vector<std::string>{"0.078125"});
  EXPECT_EQ(jsonValues(r.out, "bound_hit"), std::vector<std::string>{"false"});
}

// The window takes such a precision too; the step bound keeps the run finite.
TEST(SearchOutput, anUnreachablePrecisionStopsAtTheStepBoundAndSaysSo) {
  const Outcome r = run({"x[0]^2", "--interval", "-1", "1", "--method", "piyavsky", "--param", "3", "--eps", "0", "--format", "json"});
  EXPECT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(jsonValues(r.out, "step_count"), std::vector<std::string>{"100000"});
  EXPECT_EQ(jsonValues(r.out, "bound_hit"), std::vector<std::string>{"true"});
  const Outcome text = run({"x[0]^2", "--interval", "-1", "1", "--method", "scan", "--interval-eps", "0"});
  EXPECT_NE(text.out.find("bound hit     yes: stopped at the bound of 100000 steps\n"), std::string::npos) << text.out;
}

TEST(SearchOutput, intervalRuleStopsOnceTheChosenIntervalIsShortEnough) {
  // Scanning halves [0, 1] level by level: the chosen interval is 1/64 long after 63 steps.
  const Outcome r = run({"x[0]", "--interval", "0", "1", "--method", "scan", "--interval-eps", "0.015625", "--format", "json"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(jsonValues(r.out, "step_count"), std::vector<std::string>{"63"});
  EXPECT_EQ(jsonValues(r.out, "trial_count"), std::vector<std::string>{"65"});
}

TEST(SearchOutput, parametersReachTheFormula) {
  const Outcome r = run({"(x[0]-x[2])^2+x[1]", "--interval", "-10", "10", "--method", "scan", "--steps", "100", "--params",
                     "7,5", "--format", "json"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(jsonValues(r.out, "best_x"), std::vector<std::string>{"5"});
  EXPECT_EQ(jsonValues(r.out, "f_best"), std::vector<std::string>{"7"});
}

TEST(SearchOutput, evaluationsCountDistinctPointsNotCalls) {
  // Strongin's method evaluates F about 4n times a step, all at trial points.
  const Outcome r = run(with(strongin30, {"--format", "json"}));
  EXPECT_EQ(jsonValues(r.out, "evaluations"), std::vector<std::string>{"32"});
}

TEST(SearchOutput, syntaxErrorShowsTheFormulaWithACaretAndTheMessage) {
  for (const char* formula : {"sin(x[0]", "1+*2", "x[0]+@"}) {
    SCOPED_TRACE(formula);
    Math_Parser::TError error{};
    try {
      FormulaFunction f(formula);
      FAIL() << "parsed";
    } catch (const Math_Parser::TError& e) {
      error = e;
    }
    const Outcome r = run({formula, "--interval", "0", "1", "--method", "scan", "--steps", "3"});
    EXPECT_EQ(r.status, ExitBadInput);
    EXPECT_TRUE(r.out.empty());
    const std::vector<std::string> errLines = lines(r.err);
    ASSERT_EQ(errLines.size(), 4u) << r.err;
    EXPECT_EQ(errLines[0], "velmora-run: syntax error in the formula:");
    EXPECT_EQ(errLines[1], std::string("  ") + formula);
    EXPECT_EQ(errLines[2], std::string(2 + error.Position, ' ') + "^");
    EXPECT_EQ(errLines[3], error.Message);
  }
}

TEST(SearchOutput, faultEndsTheRunWithItsTextAndStatus3) {
  // Scanning's first new point on [-10, 12] is 1, where the formula divides by zero.
  const std::vector<std::string> args{"1/(x[0]-1)", "--interval", "-10", "12", "--method", "scan", "--steps", "5"};
  const Outcome json = run(with(args, {"--format", "json"}));
  EXPECT_EQ(json.status, ExitFault);
  EXPECT_EQ(jsonValues(json.out, "fault"), std::vector<std::string>{"\"Floating point division by zero\""});
  EXPECT_EQ(jsonValues(json.out, "best_x"), std::vector<std::string>{"null"});
  EXPECT_EQ(jsonValues(json.out, "best_x_hex"), std::vector<std::string>{"null"});
  EXPECT_EQ(jsonValues(json.out, "step_count"), std::vector<std::string>{"0"});
  EXPECT_EQ(jsonValues(json.out, "evaluations"), std::vector<std::string>{"3"});
  EXPECT_NE(json.err.find("Floating point division by zero"), std::string::npos);

  const Outcome text = run(args);
  EXPECT_EQ(text.status, ExitFault);
  EXPECT_NE(text.out.find("fault         Floating point division by zero"), std::string::npos) << text.out;
}

TEST(SearchOutput, eachDistinctMathReportIsPrintedOnce) {
  // sqrt of the negative trials reports at every one of them.
  const Outcome r = run({"sqrt(x[0])", "--interval", "-10", "10", "--method", "scan", "--steps", "20", "--format", "json"});
  EXPECT_EQ(r.status, ExitOk);
  EXPECT_NE(r.out.find("\"reports\": [\"sqrt: DOMAIN error\"]"), std::string::npos) << r.out;

  const Outcome text = run({"sqrt(x[0])", "--interval", "-10", "10", "--method", "scan", "--steps", "20"});
  const std::string line = "report        sqrt: DOMAIN error\n";
  const std::size_t first = text.out.find(line);
  EXPECT_NE(first, std::string::npos) << text.out;
  EXPECT_EQ(text.out.find(line, first + 1), std::string::npos);
}

TEST(SearchOutput, piyavskyTakesAnEstimateThatIsNotPositiveAsOne) {
  const std::vector<std::string> base{"x[0]^2-5", "--interval", "-10", "10", "--method", "piyavsky", "--steps", "10",
                                      "--format", "json", "--trials"};
  const Outcome minus = run(with(base, {"--param", "-3"}));
  const Outcome one = run(with(base, {"--param", "1"}));
  ASSERT_EQ(minus.status, ExitOk);
  EXPECT_EQ(jsonValues(minus.out, "x_hex"), jsonValues(one.out, "x_hex"));
  EXPECT_NE(run(with(base, {"--param", "1.5"})).out, one.out);
  EXPECT_EQ(jsonValues(run(base).out, "x_hex"), jsonValues(run(with(base, {"--param", "1.5"})).out, "x_hex"));
}

TEST(SearchOutput, plotNeedsAWriterAndGetsTheCurveAndTheTrials) {
  const std::vector<std::string> args{"x[0]^2", "--interval", "-10", "10", "--method", "scan", "--steps", "4",
                                      "--plot", "out.png"};
  EXPECT_EQ(run(args).status, ExitBadInput);

  PlotRequest seen;
  Environment env;
  env.plot = [&seen](const PlotRequest& request) -> std::optional<std::string> {
    seen = request;
    return std::nullopt;
  };
  const Outcome r = run(args, env);
  EXPECT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(seen.file, "out.png");
  ASSERT_EQ(seen.curveX.size(), 500u);
  EXPECT_EQ(seen.curveX.front(), -10);
  // The window's sample placement: the middle sample lies just below 0, and 10 is not sampled.
  EXPECT_EQ(seen.curveX[250], -8.673617379884035e-19);
  EXPECT_LT(seen.curveX.back(), 10);
  ASSERT_EQ(seen.trials.size(), 6u);
  EXPECT_EQ(seen.trials[3].x, 0);  // -10, -7.5, -5, 0, 5, 10
  EXPECT_EQ(seen.trials[0].f, 100);

  env.plot = [](const PlotRequest&) -> std::optional<std::string> { return std::string("cannot write out.png"); };
  const Outcome failed = run(args, env);
  EXPECT_EQ(failed.status, ExitFailed);
  EXPECT_NE(failed.err.find("plot: cannot write out.png"), std::string::npos);
}

TEST(SearchOutput, plotLeavesOutFaultingSamplesAndSaysSo) {
  PlotRequest seen;
  Environment env;
  env.plot = [&seen](const PlotRequest& request) -> std::optional<std::string> {
    seen = request;
    return std::nullopt;
  };
  // On [0, 10] sample 275 is exactly 5.5; no trial of the run is.
  const Outcome ok = run({"1/(x[0]-5.5)", "--interval", "0", "10", "--method", "strongin", "--steps", "3", "--plot", "p.png"}, env);
  EXPECT_EQ(ok.status, ExitOk) << ok.err;
  ASSERT_EQ(seen.curveY.size(), 500u);
  EXPECT_TRUE(std::isnan(seen.curveY[275]));
  EXPECT_NE(ok.err.find("faulted at 1 of 500 samples"), std::string::npos) << ok.err;
}

// inf-lta with r = 1.1 on this function leaves its interval at step 5.
TEST(SearchOutput, aVariantsRunSaysWhyItStoppedAndTakesItsOwnDefault) {
  const std::vector<std::string> args{"sin(x[0])+sin(10*x[0]/3)", "--interval", "2.7", "7.5", "--method", "inf-lta",
                                      "--steps", "100"};
  const Outcome json = run(with(args, {"--param", "1.1", "--format", "json"}));
  ASSERT_EQ(json.status, ExitOk) << json.err;
  EXPECT_EQ(jsonValues(json.out, "stop"), std::vector<std::string>{"\"left-interval\""});
  EXPECT_NE(json.out.find("\"bound_hit\": false,\n  \"stop\": \"left-interval\",\n  \"nlopt_result\": null,\n  \"nlopt_result_text\": null,\n  \"first_non_finite\": null,\n  \"fault\": null"), std::string::npos);
  EXPECT_EQ(jsonValues(json.out, "step_count"), std::vector<std::string>{"4"});

  const std::vector<std::string> csv = lines(run(with(args, {"--param", "1.1", "--format", "csv"})).out);
  ASSERT_EQ(csv.size(), 2u);
  EXPECT_EQ(csv[0],
            "best_x,f_best,precision,step_count,trial_count,trials_outside,first_step_outside,evaluations,slope_evaluations,"
            "bound_hit,stop,"
            "nlopt_result,nlopt_result_text,first_non_finite_trial,first_non_finite_x,first_non_finite_f,fault,fault_source,reports,seconds");
  EXPECT_NE(csv[1].find(",4,6,0,,6,0,false,left-interval,,,,,,,,,"), std::string::npos) << csv[1];

  const Outcome text = run(args);
  EXPECT_NE(text.out.find("method        inf-lta, multiplier r = 2\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("stop          the steps were made\n"), std::string::npos) << text.out;
  EXPECT_NE(run(with(args, {"--param", "1.1"})).out.find("stop          the new point left its interval\n"),
            std::string::npos);
}

// Piyavsky's L far below the slope sends trials outside the interval: the run
// still did what was asked, and says what went wrong once, on stderr.
TEST(SearchOutput, aRunWhoseTrialsLeftTheIntervalWarnsAndExitsWithZero) {
  const std::vector<std::string> args{"sin(x[0])+sin(10*x[0]/3)", "--interval", "2.7", "7.5", "--method", "piyavsky",
                                      "--param", "0.2", "--steps", "60", "--format", "json"};
  const Outcome r = run(args);
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(jsonValues(r.out, "trials_outside"), std::vector<std::string>{"46"});
  EXPECT_EQ(jsonValues(r.out, "first_step_outside"), std::vector<std::string>{"2"});
  const std::vector<std::string> best = jsonValues(r.out, "best_x");
  ASSERT_EQ(best.size(), 1u);
  EXPECT_EQ(r.err, "velmora-run: warning: 46 of 62 trials lie outside [2.7, 7.5], the first at step 2; L = 0.2 is below "
                   "the function's slope there. The best point found, " + best[0] + ", lies outside the interval. "
                   "A larger L avoids this.\n");
}

TEST(SearchOutput, aRunThatMeetsAValueThatIsNotAFiniteNumberNamesItsFirstSuchTrial) {
  struct Case {
    const char* formula;
    const char* a;
    const char* method;
    int status;
    const char* firstTrial;   // json's "trial" of first_non_finite; "" for null
    const char* faultSource;  // json's fault_source
    const char* stderrHas;
  };
  const Case cases[] = {
      // The window's methods go on quietly past a NaN, and now say so.
      {"sqrt(x[0])", "-1", "strongin", ExitOk, "1", "null", "F = nan at x = -1, the trial placed 1st"},
      {"ln(x[0])", "0", "scan", ExitOk, "1", "null", "F = -inf at x = 0, the trial placed 1st"},
      // A variant leaves an interval with an infinite end out of its choice.
      {"ln(x[0])", "0", "geom-gl", ExitOk, "1", "null", "F = -inf at x = 0"},
      {"exp(1000*x[0])", "0", "inf-ltma", ExitOk, "2", "null", "F = inf at x = 1, the trial placed 2nd"},
      // Strongin's own arithmetic cannot carry an infinite value; F's fault is F's.
      {"exp(1000*x[0])", "0", "strongin", ExitFault, "2", "\"method\"",
       "in the method's own arithmetic, not in F, after 0 steps; it met F = inf at x = 1, the trial placed 2nd"},
      {"1/x[0]", "0", "geom-gl", ExitFault, "", "\"function\"", "\"Floating point division by zero\" after"},
      {"x[0]^2", "-1", "strongin", ExitOk, "", "null", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.formula) + " " + c.method);
    const Outcome r = run({c.formula, "--interval", c.a, "1", "--method", c.method, "--steps", "20", "--format", "json"});
    EXPECT_EQ(r.status, c.status) << r.err;
    const std::vector<std::string> trial = jsonValues(r.out, "trial");
    EXPECT_EQ(trial, *c.firstTrial ? std::vector<std::string>{c.firstTrial} : std::vector<std::string>{});
    EXPECT_EQ(jsonValues(r.out, "fault_source"), std::vector<std::string>{c.faultSource});
    if (*c.stderrHas)
      EXPECT_NE(r.err.find(c.stderrHas), std::string::npos) << r.err;
    else
      EXPECT_EQ(r.err, "");
  }
}

TEST(SearchOutput, aMethodThatUsesTheSlopeGivesItAtEveryTrialAndCountsItsEvaluations) {
  const std::vector<std::string> args{"sin(x[0])+sin(10*x[0]/3)", "--interval", "2.7", "7.5", "--method", "d-lt-li",
                                      "--steps", "10", "--trials"};
  const Outcome json = run(with(args, {"--format", "json"}));
  ASSERT_EQ(json.status, ExitOk) << json.err;
  EXPECT_EQ(jsonValues(json.out, "slope_evaluations"), jsonValues(json.out, "evaluations"));
  const std::vector<std::string> slopes = jsonValues(json.out, "df_hex");
  const std::vector<std::string> xs = jsonValues(json.out, "x_hex");
  ASSERT_EQ(slopes.size(), 12u);
  for (std::size_t i = 0; i < slopes.size(); ++i) {
    FormulaFunction f("sin(x[0])+sin(10*x[0]/3)");
    EXPECT_EQ(bits(hexValue(slopes[i])), bits(f.withSlope(hexValue(xs[i])).Slope)) << i;
  }
  const std::vector<std::string> csv = lines(run(with(args, {"--format", "csv"})).out);
  EXPECT_EQ(csv[3], "x,f,charact,df");
  EXPECT_NE(csv[4].back(), ',') << csv[4];
}
