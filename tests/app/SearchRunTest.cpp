// The Search button: what one press reads, checks, runs and shows.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <cmath>

#include "Piyavsky_opt.h"
#include "WindowFixture.h"
#include "SpinEdit.h"
#include "Strongin_opt.h"

using Velmora::Testing::Box;
using Velmora::Testing::message;
using Velmora::Testing::WindowTest;

namespace {

const char* const intervalMessage = "Неверно введён интервал поиска значения";
const char* const paramMessage = "Неверно задан параметр метода Пиявского или Стронгина";
const char* const multiplierMessage = " Множитель константы Липшица в методе Стронгина должен быть > 1";
const char* const precisionMessage = "Неверно задана точность поиска минимума";
const char* const boundMessage = "Заданная точность поиска не достигнута за 100000 шагов";

class SearchRun : public WindowTest {
 protected:
  void SetUp() override {
    form->show();
    enterFormula(QStringLiteral("x[0]^2 - 5"));
  }
  std::vector<double> trialPoints() {
    std::vector<double> points;
    for (const VELMORAALG::TSearchInfo& trial : form->currentMethod->GetTrials()) points.push_back(trial.x);
    return points;
  }
};

TEST_F(SearchRun, defaultInputsGiveTheKnownResultsUnderEitherStopRule) {
  pressSearch();
  EXPECT_TRUE(dialogs.boxes.empty());
  View shown = view();
  EXPECT_EQ(shown.globMin, QStringLiteral("0,0000000"));
  // The last of the 100 steps halves an interval of length 0.3125.
  EXPECT_EQ(shown.madeParam, QStringLiteral("0,156250000"));
  ASSERT_EQ(shown.points.size(), 102u);
  EXPECT_EQ(shown.points.front().first, -10.0);
  EXPECT_EQ(shown.points.back().first, 10.0);
  EXPECT_EQ(shown.curve.size(), 500u);
  // Every point is F at its x: (x, x^2 - 5).
  for (const auto& [x, y] : shown.points) EXPECT_DOUBLE_EQ(y, x * x - 5) << x;
  // The last trial drawn leaves its x in x[0].
  EXPECT_EQ(form->vars[0], 10.0);

  choosePrecisionStop();
  pressSearch();
  EXPECT_TRUE(dialogs.boxes.empty());
  shown = view();
  EXPECT_EQ(shown.globMin, QStringLiteral("0,0000000"));
  EXPECT_EQ(shown.madeParam, QStringLiteral("128"));
  EXPECT_EQ(shown.points.size(), 130u);
}

// The defaults are written with the regional separator, so the first Search
// with either parametrised method and the precision rule reads them.
TEST_F(SearchRun, defaultsReadUnderACommaAndUnderAPointLocale) {
  for (const char* separator : {",", "."}) {
    SCOPED_TRACE(separator);
    const QString sep = QString::fromLatin1(separator);
    remakeWindow(sep);
    form->show();
    enterFormula(QStringLiteral("x[0]^2 - 5"));
    EXPECT_EQ(form->edPrecision->text(), "0" + sep + "1");
    EXPECT_EQ(form->edMetParam->text(), "1" + sep + "5");
    choosePrecisionStop();
    for (int method : {1, 2}) {
      chooseMethod(method);
      pressSearch();
      EXPECT_TRUE(dialogs.boxes.empty()) << method;
      EXPECT_EQ(view().globMin, "0" + sep + "0000000") << method;
    }
  }
}

TEST_F(SearchRun, repeatingAPressGivesTheSameResults) {
  chooseMethod(2);
  pressSearch();
  const View first = view();
  pressSearch();
  EXPECT_EQ(view(), first);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SearchRun, intervalTextsThatReadAsTen) {
  const struct {
    const char* text;
    const char* why;
  } cases[] = {
      {"+10", "the default: a leading plus is accepted"},
      {"1e1", "an exponent"},
      {"  10  ", "blanks before and after"},
      {"10,", "a separator with no digits after it"},
  };
  pressSearch();
  const View reference = view();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    form->edXmax->setText(QString::fromUtf8(c.text));
    pressSearch();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->Xmax, 10.0);
    EXPECT_EQ(view(), reference);
  }
}

// Each row makes a press fail: its messages come in order, no run takes place,
// and the results and the chart keep what the previous run left.
TEST_F(SearchRun, failedChecksShowTheirMessagesInOrderAndChangeNothing) {
  struct Case {
    const char* why;
    int method;
    bool precisionStop;
    const char* xmin;
    const char* xmax;
    const char* param;
    const char* precision;
    std::vector<Box> expected;
  };
  const Case cases[] = {
      {"letters as X min under scanning", 0, false, "abc", "+10", "1,5", "0,1", {message(intervalMessage)}},
      {"letters as X max", 0, false, "-10", "ten", "1,5", "0,1", {message(intervalMessage)}},
      {"an empty X min", 0, false, "", "+10", "1,5", "0,1", {message(intervalMessage)}},
      {"a point where the separator is a comma", 0, true, "-10", "+10", "1,5", "0.1", {message(precisionMessage)}},
      {"a value beyond the double range", 0, false, "-1e400", "+10", "1,5", "0,1", {message(intervalMessage)}},
      {"a bad interval skips the multiplier check", 2, false, "abc", "+10", "0,5", "0,1", {message(intervalMessage)}},
      {"a multiplier of exactly 1", 2, false, "-10", "+10", "1", "0,1", {message(multiplierMessage)}},
      {"a multiplier below 1", 2, true, "-10", "+10", "0,5", "0,1", {message(multiplierMessage)}},
      {"an unreadable multiplier skips its own check", 2, false, "-10", "+10", "x", "0,1", {message(paramMessage)}},
      {"three failures under broken lines and the precision stop",
       1,
       true,
       "abc",
       "+10",
       "?",
       "0.1",
       {message(intervalMessage), message(paramMessage), message(precisionMessage)}},
      {"a multiplier failure and a bad precision", 2, true, "-10", "+10", "1,0", "-", {message(multiplierMessage), message(precisionMessage)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    chooseStepStop();
    chooseMethod(0);
    form->edXmin->setText(QStringLiteral("-10"));
    form->edXmax->setText(QStringLiteral("+10"));
    pressSearch();
    const View before = view();
    dialogs.boxes.clear();

    chooseMethod(c.method);
    if (c.precisionStop) choosePrecisionStop();
    form->edXmin->setText(QString::fromUtf8(c.xmin));
    form->edXmax->setText(QString::fromUtf8(c.xmax));
    form->edMetParam->setText(QString::fromUtf8(c.param));
    form->edPrecision->setText(QString::fromUtf8(c.precision));
    const std::vector<double> trialsBefore = trialPoints();
    pressSearch();

    EXPECT_EQ(dialogs.boxes, c.expected);
    EXPECT_FALSE(form->dataCorrect);
    EXPECT_EQ(view(), before);
    EXPECT_EQ(trialPoints(), trialsBefore) << "a run took place";
  }
}

TEST_F(SearchRun, methodParametersTheWindowAccepts) {
  chooseMethod(2);
  form->edMetParam->setText(QStringLiteral("1,0000001"));
  pressSearch();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(view().points.size(), 102u);
  EXPECT_EQ(dynamic_cast<VELMORAALG::TStronginOpt&>(*form->currentMethod).GetMultiplier(), 1.0000001);

  // The broken-line method takes 1.0 in place of an estimate that is not
  // positive, without a word from the window.
  chooseMethod(1);
  form->edMetParam->setText(QStringLiteral("1"));
  pressSearch();
  const View withOne = view();
  form->edMetParam->setText(QStringLiteral("-3"));
  pressSearch();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(dynamic_cast<VELMORAALG::TPiyavskyOpt&>(*form->currentMethod).GetLipschitz(), 1.0);
  EXPECT_EQ(view(), withOne);
}

TEST_F(SearchRun, usesTheParametersOfTheLastUpdateNotTheOnesTypedSince) {
  enterFormula(QStringLiteral("(x[0] - x[1])^2"));
  form->spinParamCount->setValue(1);
  ASSERT_NE(form->strgParams->item(0, 0), nullptr);
  form->strgParams->item(0, 0)->setText(QStringLiteral("3"));
  form->bbtnUpdateFunc->click();
  form->strgParams->item(0, 0)->setText(QStringLiteral("-5"));
  pressSearch();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(form->vars[1], 3.0);
  EXPECT_NEAR(form->toNumber(view().globMin).value(), 3.0, 0.2);
}

// The window does not order the interval; the method gets it as typed.
TEST_F(SearchRun, aReversedOrEmptyIntervalGoesToTheMethodAsTyped) {
  const struct {
    const char* xmin;
    const char* xmax;
    double low;
    double high;
    std::size_t points;
  } cases[] = {
      // Scanning reversed ends splits the shortest interval over and over,
      // until its new point falls on an end: the run stops there.
      {"10", "-10", 10.0, -10.0, 55},
      {"5", "5", 5.0, 5.0, 102},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xmin);
    form->edXmin->setText(QString::fromUtf8(c.xmin));
    form->edXmax->setText(QString::fromUtf8(c.xmax));
    pressSearch();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->Xmin, c.low);
    EXPECT_EQ(form->Xmax, c.high);
    EXPECT_EQ(view().points.size(), c.points);
    EXPECT_EQ(form->vars[0], c.high) << "the last trial drawn is Xmax";
  }
}

TEST_F(SearchRun, aDivisionByZeroInTheRunEndsThePressAndKeepsTheLastResults) {
  pressSearch();
  const View before = view();
  // Scanning -10..12 places its first new point at 1.
  enterFormula(QStringLiteral("1/(x[0]-1)"));
  form->edXmax->setText(QStringLiteral("12"));
  pressSearch();
  EXPECT_EQ(dialogs.boxes, (std::vector<Box>{{Box::Kind::Error, QStringLiteral("Floating point division by zero.")}}));
  EXPECT_EQ(view(), before);
  // The window is still usable: the next press runs.
  dialogs.boxes.clear();
  form->edXmax->setText(QStringLiteral("11"));
  pressSearch();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(view().points.size(), 102u);
}

// A precision that is never reached: the run stops at its step bound, shows
// its results, and only then says so.
TEST_F(SearchRun, aPrecisionNotReachedIn100000StepsIsReportedAfterTheResults) {
  const struct {
    int method;
    const char* eps;
    const char* why;
  } cases[] = {
      {0, "0", "zero can never be reached"},
      {1, "-1", "a negative precision"},
      {2, "1e-300", "finer than doubles resolve"},
  };
  choosePrecisionStop();
  // Above the largest slope of x^2 - 5 on -10..10: with a smaller estimate
  // broken lines place points beyond the interval and stop at once.
  form->edMetParam->setText(QStringLiteral("25"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    chooseMethod(c.method);
    form->edPrecision->setText(QString::fromUtf8(c.eps));
    dialogs.boxes.clear();
    View whileShown;
    dialogs.onShow = [&](const Box&) { whileShown = view(); };
    pressSearch();
    dialogs.onShow = nullptr;
    EXPECT_EQ(dialogs.boxes, std::vector<Box>{message(boundMessage)});
    EXPECT_EQ(whileShown.madeParam, QStringLiteral("100000"));
    EXPECT_EQ(whileShown.points.size(), 100002u);
    EXPECT_EQ(whileShown.curve.size(), 500u);
  }
}

TEST_F(SearchRun, theStepCountIsReadWithTheSpinEditsCorrection) {
  const struct {
    const char* typed;
    const char* shown;
    size_t points;
  } cases[] = {
      {"abc", "1", 3},
      {"0", "1", 3},
      {"7", "7", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    // Typed and not left: Search itself reads the text.
    form->spedSteps->setFocus();
    form->spedSteps->selectAll();
    QTest::keyClicks(form->spedSteps, QString::fromUtf8(c.typed));
    form->bbtnSearchMinClick();
    EXPECT_EQ(form->spedSteps->text(), QString::fromUtf8(c.shown));
    EXPECT_EQ(view().points.size(), c.points);
  }
}

TEST_F(SearchRun, eachMethodFindsTheGlobalMinimumOfATwoSinesSample) {
  enterFormula(QStringLiteral("sin(x[0]) + sin( 10*x[0]/3 )"));
  form->edXmin->setText(QStringLiteral("2,7"));
  form->edXmax->setText(QStringLiteral("7,5"));
  // An estimate above the largest slope, 1 + 10/3, lets broken lines find the
  // global minimum; as a multiplier it only widens the search.
  form->edMetParam->setText(QStringLiteral("5"));
  for (int method = 0; method < 3; ++method) {
    chooseMethod(method);
    pressSearch();
    EXPECT_TRUE(dialogs.boxes.empty());
    // The global minimum of this sample lies near 5.1457.
    EXPECT_NEAR(form->toNumber(view().globMin).value(), 5.1457, 0.05) << method;
  }
}

}  // namespace
