#include <cmath>

#include <QCoreApplication>
#include <qcustomplot.h>

#include "FunctionChart.h"
#include "WindowFixture.h"

namespace Velmora::Testing {
namespace {

using FunctionGraph = WindowTest;

// Update with the default interval -10..+10.
void update(TMainForm& form) { form.bbtnUpdateFuncClick(); }

TEST_F(FunctionGraph, fiveHundredSamplesFromXminWithoutXmax) {
  setFormula(QStringLiteral("x[0]"));
  update(*form);
  const auto x = keys(form->Series1);
  ASSERT_EQ(x.size(), 500u);
  EXPECT_EQ(x.front(), -10.0);
  EXPECT_EQ(x[1], -9.96);
  EXPECT_EQ(x[2], -9.92);
  EXPECT_EQ(x.back(), 9.96);
  EXPECT_EQ(values(form->Series1), x);
  EXPECT_EQ(form->vars[0], 9.96) << "x[0] holds the last sample";
  EXPECT_TRUE(form->Series2->data()->isEmpty());
}

// c is the extended value nearest 0.002, just below it, so the middle sample
// is not 0; in doubles it would be, and 1/x[0] would fault there.
TEST_F(FunctionGraph, middleSampleIsJustBelowZeroAndOneOverXDrawsASpike) {
  setFormula(QStringLiteral("1/x[0]"));
  dialogs.boxes.clear();  // the trial evaluation at x[0] = 0
  update(*form);
  EXPECT_TRUE(dialogs.boxes.empty());
  const auto x = keys(form->Series1);
  ASSERT_EQ(x.size(), 500u);
  EXPECT_EQ(x[250], -8.673617379884035e-19);
  EXPECT_NEAR(values(form->Series1)[250], -1.152921504606847e18, 1e4);
}

TEST_F(FunctionGraph, reversedIntervalIsDrawnLeftToRight) {
  setFormula(QStringLiteral("x[0]^2"));
  setInterval(QStringLiteral("10"), QStringLiteral("-10"));
  update(*form);
  EXPECT_TRUE(dialogs.boxes.empty());
  const auto x = keys(form->Series1);
  ASSERT_EQ(x.size(), 500u);
  EXPECT_TRUE(std::is_sorted(x.begin(), x.end()));
  EXPECT_EQ(x.front(), -9.96);
  EXPECT_EQ(x.back(), 10.0);
  EXPECT_EQ(form->vars[0], -9.96) << "the last sample evaluated";
}

TEST_F(FunctionGraph, equalEndsGiveFiveHundredPointsAtOneX) {
  setFormula(QStringLiteral("x[0]+1"));
  setInterval(QStringLiteral("2"), QStringLiteral("2"));
  update(*form);
  const auto x = keys(form->Series1);
  ASSERT_EQ(x.size(), 500u);
  for (double k : x) EXPECT_EQ(k, 2.0);
  FunctionChart::refresh(*form->chartFunc);
  EXPECT_GT(form->chartFunc->xAxis->range().size(), 0.0);
}

// An Update plots once when the event loop comes round, however many samples
// it added; a Search press plots the chart once, at once, and nothing is left
// queued to plot its trials again.
TEST_F(FunctionGraph, eachPressPlotsTheChartOnce) {
  form->show();
  enterFormula(QStringLiteral("x[0]^2 - 5"));
  int plots = 0;
  QObject::connect(form->chartFunc, &QCustomPlot::afterReplot, [&plots] { ++plots; });
  QCoreApplication::processEvents();
  plots = 0;
  update(*form);
  EXPECT_EQ(plots, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(plots, 1);
  plots = 0;
  pressSearch();
  EXPECT_EQ(plots, 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(plots, 1);
}

TEST_F(FunctionGraph, updateClearsTheTrialPoints) {
  setFormula(QStringLiteral("x[0]"));
  FunctionChart::append(*form->Series2, 1.0, 1.0);
  update(*form);
  EXPECT_TRUE(form->Series2->data()->isEmpty());
  EXPECT_EQ(form->Series1->data()->size(), 500);
}

// On 0..500 the samples are 0, 1, 2, 3, ...: the fourth divides by zero.
TEST_F(FunctionGraph, faultAtTheFourthSampleKeepsThreePoints) {
  setFormula(QStringLiteral("1/(x[0]-3)"));
  FunctionChart::append(*form->Series2, 1.0, 1.0);
  setInterval(QStringLiteral("0"), QStringLiteral("500"));
  update(*form);
  EXPECT_EQ(dialogs.boxes, (std::vector<Box>{{Box::Kind::Error, "Floating point division by zero."}}));
  EXPECT_EQ(keys(form->Series1), (std::vector<double>{0, 1, 2}));
  EXPECT_TRUE(form->Series2->data()->isEmpty());
  EXPECT_EQ(form->vars[0], 3.0);
  // The window stays usable: the next Update draws in full.
  setInterval(QStringLiteral("4"), QStringLiteral("5"));
  update(*form);
  EXPECT_EQ(form->Series1->data()->size(), 500);
}

// Without the mend this opened 251 boxes, one per negative sample.
TEST_F(FunctionGraph, squareRootOfNegativeSamplesReportsOnceAndLeavesGaps) {
  setFormula(QStringLiteral("sqrt(x[0])"));
  update(*form);
  EXPECT_EQ(dialogs.mathReports(), (std::vector<QString>{"sqrt: DOMAIN error"}));
  const auto y = values(form->Series1);
  ASSERT_EQ(y.size(), 500u);
  EXPECT_EQ(std::count_if(y.begin(), y.end(), [](double v) { return std::isnan(v); }), 251);
  EXPECT_EQ(y[251], std::sqrt(keys(form->Series1)[251]));
  update(*form);
  EXPECT_EQ(dialogs.mathReports().size(), 2u) << "a new press is a new action";
}

TEST_F(FunctionGraph, distinctReportsEachComeOnce) {
  setFormula(QStringLiteral("sqrt(x[0]) + ln(x[0]) + sqrt(x[0]-5)"));
  dialogs.boxes.clear();
  update(*form);
  EXPECT_EQ(dialogs.mathReports(), (std::vector<QString>{"sqrt: DOMAIN error", "log: DOMAIN error"}));
}

TEST_F(FunctionGraph, nonFiniteSamplesDoNotStretchTheAxes) {
  setFormula(QStringLiteral("ln(x[0])"));
  dialogs.boxes.clear();  // the trial evaluation at x[0] = 0
  setInterval(QStringLiteral("0"), QStringLiteral("10"));
  update(*form);
  EXPECT_EQ(dialogs.mathReports(), (std::vector<QString>{"log: SING error"}));
  EXPECT_TRUE(std::isnan(form->Series1->data()->at(0)->value)) << "-inf at 0 leaves a gap";
  FunctionChart::refresh(*form->chartFunc);
  const QCPRange y = form->chartFunc->yAxis->range();
  EXPECT_TRUE(std::isfinite(y.lower) && std::isfinite(y.upper));
  EXPECT_NEAR(y.lower, std::log(0.02), 1e-9);
  EXPECT_NEAR(y.upper, std::log(9.98), 1e-9);
}

TEST_F(FunctionGraph, drawingFollowsTheParametersInVars) {
  setFormula(QStringLiteral("x[1]"));
  form->spinParamCount->setValue(1);
  form->vars[1] = 3;
  form->DrawFunctionGraph();
  for (double v : values(form->Series1)) EXPECT_EQ(v, 3.0);
}

}  // namespace
}  // namespace Velmora::Testing
