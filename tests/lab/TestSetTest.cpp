#include <gtest/gtest.h>

#include <sstream>

#include "ClassRuns.h"
#include "FunctionSource.h"
#include "ReadNumber.h"
#include "SyntaxErrorText.h"
#include "TestSet.h"

using namespace Velmora::Lab;

namespace {

const std::string dataFolder = VELMORA_DATA_DIR;
const std::string hansen = dataFolder + "/hansen20.tsv";

std::vector<Problem> hansenRows(std::initializer_list<const char*> ids) {
  std::vector<Problem> chosen;
  for (const Problem& p : readProblemsFile(hansen))
    for (const char* id : ids)
      if (p.id == id) chosen.push_back(p);
  return chosen;
}

// An own method that is the catalogue's scanning, made as a binding makes its
// engines; an own method takes no parameter, and scanning has none.
OwnMethod ownScan() {
  return {"mine", [](VELMORAALG::TOptFunc f) { return methodInfo(MethodId::Scan).make(std::move(f)); }};
}

}  // namespace

TEST(TestSet, theLiteratureSetReadsWhole) {
  const std::vector<Problem> problems = readProblemsFile(hansen);
  ASSERT_EQ(problems.size(), 20u);
  EXPECT_EQ(problems.front().id, "1");
  EXPECT_EQ(problems.back().id, "20");
  EXPECT_EQ(problems[2].minimisers.size(), 3u);  // problem 3 has three global minimisers
  EXPECT_EQ(problems[10].a, -1.57);
  EXPECT_EQ(problems[16].lipschitz, 2520);
}

TEST(TestSet, everyMethodSolvesProblemsOfTheSetUnderTheProtocol) {
  RunPlan plan;
  plan.methods = {MethodId::Piyavsky, MethodId::Strongin, MethodId::Scan};
  const std::vector<TestSetRow> rows = runTestSet(hansenRows({"2", "9", "20"}), plan, TestSetProtocol{});
  ASSERT_EQ(rows.size(), 9u);
  for (const TestSetRow& row : rows) {
    SCOPED_TRACE("problem " + row.id + " " + std::string(methodInfo(row.method).key));
    EXPECT_FALSE(row.fault);
    EXPECT_TRUE(row.success);
    EXPECT_LE(row.error, row.eps);
    ASSERT_TRUE(row.firstHit);
    EXPECT_LE(*row.firstHit, row.trials);
    // Scanning halves uniformly: 2^14 intervals are the first no longer than 1e-4 of the whole.
    if (row.method == MethodId::Scan) {
      EXPECT_EQ(row.trials, 16385u);
    } else {
      EXPECT_GT(row.trials, 10u);
      EXPECT_LT(row.trials, 2000u);
    }
  }
  EXPECT_EQ(rows[0].param, 4.29);  // the file's L for problem 2
  EXPECT_EQ(rows[1].param, 2);     // Strongin's r
  EXPECT_DOUBLE_EQ(rows[0].eps, 1e-4 * (7.5 - 2.7));
}

TEST(TestSet, badFilesAreRefusedWithFileAndLine) {
  const std::string header = "id\tformula\ta\tb\tL\txstar\n";
  const struct {
    std::string contents;
    const char* message;
    const char* reason;
  } cases[] = {
      {"id\tformula\ta\tb\tL\n1\tx[0]\t0\t1\t1\n", "f.tsv:1: the header has no column \"xstar\"", "missing column"},
      {"id formula a b L xstar\n", "f.tsv:1: the header has no column \"id\"", "spaces instead of tabs"},
      {header + "1\tx[0]\t1\t0\t1\t0\n", "f.tsv:2: a must be less than b", "reversed interval"},
      {header + "1\tx[0]\t-1e308\t1e308\t1\t0\n", "f.tsv:2: b - a must be a finite number", "b - a overflows"},
      {header + "1\tx[0]\t0\t1,5\t1\t0\n", "f.tsv:2: b: \"1,5\" is not a number (the decimal point is \".\")", "decimal comma"},
      {header + "1\tx[0]\t0\t1\t0\t0\n", "f.tsv:2: L must be greater than 0", "no Lipschitz constant"},
      {header + "1\tx[0]\t0\t1\t1\t0;\n", "f.tsv:2: xstar: \"\" is not a number", "empty minimiser"},
      {header + "1\tx[0]\t0\t1\n", "f.tsv:2: the row has no value in column \"L\"", "short row"},
      {header + "1\tx[0]\t0\t1\t1\t0\n1\tx[0]\t0\t1\t1\t0\n", "f.tsv:3: problem 1 appears twice", "duplicate id"},
      {header + "\n# a comment\n7\tsin(x[0]\t0\t1\t1\t0\n", "f.tsv:4: formula syntax error in problem 7:\n  sin(x[0]\n",
       "syntax error"},
      {"id\tformula\ta\tb\tL\txstar\tstored_L\n1\tx[0]\t0\t1\t1\t0\t4,02\n", "f.tsv:2: stored_L: \"4,02\" is not a number",
       "a published column of the Hill and Shekel sets"},
      {"id\tformula\ta\tb\tL\txstar\tfstar\n1\tx[0]\t0\t1\t1\t0\n", "f.tsv:2: the row has no value in column \"fstar\"",
       "an optional column left empty at the end"},
      {header + "1\tx[0]" + std::string(1, '\0') + "+1\t0\t1\t1\t0\n", "f.tsv:2: the line holds a NUL byte", "a NUL in a formula"},
      {header + "1\t" + std::string(MaxLineBytes, '1') + "\n", "f.tsv:2: the line is longer than 1048576 bytes",
       "a line without end"},
      {header, "f.tsv: the file holds no problems", "header only"},
      {"", "f.tsv: the file holds no header line", "empty file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    std::istringstream in(c.contents);
    try {
      readProblems(in, "f.tsv");
      ADD_FAILURE() << "taken";
    } catch (const FileError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u) << error.what();
    }
  }
  EXPECT_THROW(readProblemsFile("/nonexistent/problems.tsv"), FileError);
  try {
    readProblemsFile(dataFolder);
    ADD_FAILURE() << "a directory taken";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()), dataFolder + ": is a directory, not a file");
  }
  // A byte-order mark, as some editors write one, is no part of the header.
  std::istringstream marked("\xEF\xBB\xBF" + header + "1\tx[0]\t0\t1\t1\t0\n");
  EXPECT_EQ(readProblems(marked, "f.tsv").size(), 1u);
}

// A shipped set run as a class counts a hit at any of a row's global
// minimisers, as its test set does: with the set's eps as delta, each first
// hit is the test set's.
TEST(TestSet, aShippedSetAsAClassHitsEveryGlobalMinimiserAsTheTestSetDoes) {
  RunPlan plan;
  plan.methods = {MethodId::Strongin};
  const TestSetProtocol protocol;
  const ClassRule rule{100002, protocol.epsRel};
  const FunctionSource source({TestClassId::Hill, "hansen20", 0, 19}, dataFolder);
  const struct {
    const char* id;
    std::uint64_t row;
    std::size_t firstHit;
  } cases[] = {{"8", 7, 66}, {"11", 10, 75}, {"12", 11, 101}};  // each with several global minimisers
  for (const auto& c : cases) {
    SCOPED_TRACE("problem " + std::string(c.id));
    const std::vector<TestSetRow> set = runTestSet(hansenRows({c.id}), plan, protocol);
    const std::vector<ClassRunRow> cls = runClass(plan, rule, source, {TestClassId::Hill, "hansen20", c.row, c.row}, 1);
    ASSERT_EQ(set.size(), 1u);
    ASSERT_EQ(cls.size(), 1u);
    EXPECT_EQ(set[0].firstHit, c.firstHit);
    EXPECT_EQ(cls[0].run.firstHit, static_cast<int>(c.firstHit));
  }
}

// A method of the caller's runs on the pool like the catalogue's: the
// same engine gives the same rows, for any number of threads.
TEST(RunPlan, anOwnMethodRunsOnThePoolAsTheCataloguesMethodWould) {
  RunPlan catalogue;
  catalogue.methods = {MethodId::Scan};
  RunPlan own;
  own.methods = {};
  own.ownMethods = {ownScan()};
  const std::vector<Problem> problems = hansenRows({"3", "8", "12", "17"});
  const std::vector<TestSetRow> expected = runTestSet(problems, catalogue, {});
  const std::vector<TestSetRow> got = runTestSet(problems, own, {}, 3);
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].own, std::optional<std::size_t>(0));
    EXPECT_EQ(got[i].trials, expected[i].trials);
    EXPECT_EQ(got[i].firstHit, expected[i].firstHit);
    EXPECT_EQ(got[i].error, expected[i].error);
  }

  const ClassRule rule{300, 1e-3};
  const ClassRange range{TestClassId::Shekel, "", 0, 11};
  const FunctionSource source(range, dataFolder);
  const std::vector<ClassRunRow> classExpected = runClass(catalogue, rule, source, range, 1);
  const std::vector<ClassRunRow> classGot = runClass(own, rule, source, range, 3);
  ASSERT_EQ(classGot.size(), classExpected.size());
  for (std::size_t i = 0; i < classGot.size(); ++i) {
    EXPECT_EQ(classGot[i].index, classExpected[i].index);
    EXPECT_EQ(classGot[i].run.firstHit, classExpected[i].run.firstHit);
  }
}

TEST(ReadNumber, numbersReadAsTheWindowWritesThemWithAPoint) {
  const struct {
    const char* text;
    double value;
    const char* reason;
  } cases[] = {
      {"+10", 10, "the window's default X max"},
      {"1e1", 10, "exponent"},
      {"-0.5", -0.5, "negative fraction"},
      {".5", 0.5, "no digits before the point"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    EXPECT_EQ(readNumber(c.text, "n"), c.value);
  }
}

TEST(SyntaxErrorText, caretCountsCharactersNotBytes) {
  const Math_Parser::TError error{Math_Parser::erUnknownSymbol, "msg", 5};
  // "é" is two bytes: byte 5 is the sixth byte but the fifth character.
  EXPECT_EQ(describeSyntaxError("\xC3\xA9+1+@", error), "  \xC3\xA9+1+@\n      ^\nmsg");
}

TEST(SyntaxErrorText, aLongFormulaIsShownAroundTheError) {
  // 200 characters with the error at the 150th: 60 before it and 60 after it are shown.
  const std::string formula = std::string(149, '1') + "@" + std::string(50, '2');
  const std::string shown = describeSyntaxError(formula, {Math_Parser::erUnknownSymbol, "msg", 149});
  EXPECT_EQ(shown, "  ..." + std::string(60, '1') + "@" + std::string(50, '2') + "\n  " + std::string(63, ' ') +
                       "^\nmsg");
  const std::string early = describeSyntaxError(std::string(10, '1') + "@" + std::string(100, '2'),
                                                {Math_Parser::erUnknownSymbol, "msg", 10});
  EXPECT_EQ(early, "  " + std::string(10, '1') + "@" + std::string(59, '2') + "...\n  " + std::string(10, ' ') +
                       "^\nmsg");
}
