// The search's course: opened from the chart's menu, every view of the trace
// window follows the step chosen; the menu follows Search and Update; the
// chart and the trials saved to files; the chart's zoom and its way back.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <algorithm>

#include "Search.h"
#include "SpinEdit.h"
#include "TraceForm.h"
#include "WindowFixture.h"

namespace Velmora::Testing {
namespace {

QCPGraph* graphNamed(QCustomPlot* plot, const char* name) {
  for (int i = 0; i < plot->graphCount(); ++i)
    if (plot->graph(i)->name() == QLatin1String(name)) return plot->graph(i);
  ADD_FAILURE() << "no graph " << name;
  return plot->graph(0);
}

std::vector<double> sorted(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v;
}

class SearchTrace : public WindowTest {
 protected:
  void SetUp() override {
    form->show();
    enterFormula(QString::fromLatin1(SampleFormulas[1]));
    chooseMethod(2);
    form->edMetParam->setText(QStringLiteral("2"));
    form->spedSteps->setValue(steps);
  }

  // The run a fresh Strongin object makes in k steps, as the core runs it.
  Lab::SearchOutcome freshRun(int k) {
    Lab::SearchRequest request;
    request.objective = form->objective();
    request.xmin = -10;
    request.xmax = 10;
    request.method = Lab::MethodId::Strongin;
    request.param = 2;
    request.steps = k;
    request.recordSteps = true;
    return Lab::runSearch(request);
  }

  TFormTrace& openTrace() {
    form->actSearchTrace->trigger();
    EXPECT_NE(form->FormTrace, nullptr);
    return *form->FormTrace;
  }

  static constexpr int steps = 30;
};

TEST_F(SearchTrace, theMenuOpensTheCourseOfTheLastSearchAndEveryViewFollowsTheStep) {
  EXPECT_EQ(form->chartFunc->contextMenuPolicy(), Qt::ActionsContextMenu);
  ASSERT_EQ(form->chartFunc->actions(), (QList<QAction*>{form->actSearchTrace, form->actSaveChart, form->actSaveTrials}));
  for (QAction* action : form->chartFunc->actions()) EXPECT_EQ(action->parent(), form.get());
  EXPECT_EQ(form->actSearchTrace->text(), QString::fromUtf8("Ход поиска..."));
  EXPECT_FALSE(form->actSearchTrace->isEnabled()) << "no Search yet";
  pressSearch();
  ASSERT_TRUE(form->actSearchTrace->isEnabled());

  TFormTrace& trace = openTrace();
  EXPECT_TRUE(trace.isVisible());
  EXPECT_FALSE(trace.isModal());
  EXPECT_EQ(trace.objectName(), "FormTrace");
  EXPECT_EQ(trace.windowTitle(), QString::fromUtf8("Ход поиска — Инф.-статистический метод (Стронгина)"));
  EXPECT_EQ(trace.sldStep->maximum(), steps);

  // At the end its points are the main chart's.
  EXPECT_EQ(trace.step(), steps);
  std::vector<double> shown = keys(graphNamed(trace.chartTrace, "trials"));
  shown.push_back(keys(graphNamed(trace.chartTrace, "current")).at(0));
  EXPECT_EQ(sorted(shown), keys(form->Series2));

  // Step 5 shows what it decided from: the trials and characteristics after
  // four steps, under its own constant, and the point it placed.
  trace.sldStep->setValue(5);
  EXPECT_EQ(trace.spinStep->value(), 5);
  EXPECT_EQ(trace.tblSteps->currentIndex().row(), 4);
  const Lab::SearchOutcome four = freshRun(4), five = freshRun(5);
  std::vector<double> xs, characts;
  for (const Lab::Trial& t : four.trials) xs.push_back(t.x);
  for (std::size_t i = 0; i + 1 < four.trials.size(); ++i) characts.push_back(four.trials[i].charact);
  EXPECT_EQ(keys(graphNamed(trace.chartTrace, "trials")), sorted(xs));
  EXPECT_EQ(sorted(values(graphNamed(trace.chartCharact, "charact"))), sorted(characts));
  const double placed = five.stepRecords.back().X;
  EXPECT_EQ(keys(graphNamed(trace.chartTrace, "current")), std::vector<double>{placed});
  const std::vector<double> line = keys(graphNamed(trace.chartTrace, "minorant"));
  EXPECT_NE(std::find(line.begin(), line.end(), placed), line.end()) << "the broken line's vertex is the new point";
  EXPECT_EQ(values(graphNamed(trace.chartBest, "best")).at(5), five.fBest);

  // The spin box, the buttons and the table move the others too.
  trace.spinStep->setValue(0);
  EXPECT_EQ(trace.sldStep->value(), 0);
  EXPECT_FALSE(trace.btnStepBack->isEnabled());
  EXPECT_EQ(keys(graphNamed(trace.chartTrace, "trials")), (std::vector<double>{-10, 10}));
  EXPECT_TRUE(graphNamed(trace.chartTrace, "current")->data()->isEmpty());
  EXPECT_TRUE(graphNamed(trace.chartTrace, "minorant")->data()->isEmpty());
  QTest::mouseClick(trace.btnStepForward, Qt::LeftButton);
  EXPECT_EQ(trace.sldStep->value(), 1);
  trace.tblSteps->selectRow(9);
  EXPECT_EQ(trace.step(), 10);
  EXPECT_EQ(trace.spinStep->value(), 10);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SearchTrace, theOpenWindowFollowsEachFinishedSearchAndTheMenuFollowsUpdateAndFaults) {
  pressSearch();
  TFormTrace& trace = openTrace();
  // Play runs on its own to the last step.
  trace.spinStep->setValue(steps - 3);
  trace.cmbSpeed->setCurrentIndex(trace.cmbSpeed->count() - 1);
  QTest::mouseClick(trace.btnPlay, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !trace.playing(); }, 5000));
  EXPECT_EQ(trace.step(), steps);

  chooseMethod(1);
  form->spedSteps->setValue(12);
  pressSearch();
  EXPECT_TRUE(trace.isVisible());
  EXPECT_EQ(trace.run(), form->lastRun);
  EXPECT_EQ(trace.sldStep->maximum(), 12);
  EXPECT_EQ(trace.windowTitle(), QString::fromUtf8("Ход поиска — Метод ломаных (Пиявского)"));

  // A refused Search changes nothing; Update and a run that faults leave no course to show.
  form->edXmax->setText(QStringLiteral("ten"));
  pressSearch();
  EXPECT_TRUE(form->actSearchTrace->isEnabled());
  form->edXmax->setText(QStringLiteral("10"));
  form->bbtnUpdateFunc->click();
  EXPECT_FALSE(form->actSearchTrace->isEnabled());
  EXPECT_FALSE(form->actSaveTrials->isEnabled());
  EXPECT_TRUE(trace.isVisible()) << "the window keeps the run it shows";
  pressSearch();
  EXPECT_TRUE(form->actSearchTrace->isEnabled());
  enterFormula(QStringLiteral("1/(x[0]-1)"));
  chooseMethod(0);
  form->edXmax->setText(QStringLiteral("12"));
  pressSearch();
  EXPECT_EQ(dialogs.errors(), std::vector<QString>{"Floating point division by zero."});
  EXPECT_FALSE(form->actSearchTrace->isEnabled());
}

// Piyavsky's L far below the slope sends points outside [-10, 10]: the window
// names the first step that did and goes there; a run that stays inside has no such button.
TEST_F(SearchTrace, theFirstStepOutsideTheIntervalIsNamedAndReachedByItsButton) {
  chooseMethod(1);
  form->edMetParam->setText(QStringLiteral("1"));
  pressSearch();
  TFormTrace& trace = openTrace();
  const int first = trace.run()->run.outcome.firstStepOutside;
  ASSERT_GT(first, 0);
  EXPECT_TRUE(trace.btnFirstOutside->isVisible());
  EXPECT_EQ(trace.btnFirstOutside->text(), QString::fromUtf8("Выход за интервал: шаг %1").arg(first));
  QTest::mouseClick(trace.btnFirstOutside, Qt::LeftButton);
  EXPECT_EQ(trace.step(), first);
  const double placed = keys(graphNamed(trace.chartTrace, "current")).at(0);
  EXPECT_TRUE(placed < -10 || placed > 10) << placed;

  chooseMethod(2);
  form->edMetParam->setText(QStringLiteral("2"));
  pressSearch();
  EXPECT_FALSE(trace.btnFirstOutside->isVisible());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SearchTrace, theTrialsAreSavedInTheOrderTheyWerePlaced) {
  pressSearch();
  QTemporaryDir folder;
  // A name without the suffix gets it.
  dialogs.saveFileAnswer = folder.filePath(QStringLiteral("trials"));
  form->actSaveTrials->trigger();
  EXPECT_EQ(dialogs.boxes, (std::vector<Box>{{Box::Kind::SaveFile, QString::fromUtf8("Сохранить испытания")}}));
  QFile file(folder.filePath(QStringLiteral("trials.csv")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), steps + 3);
  EXPECT_EQ(lines[0], "order,x,f");
  const Lab::SearchOutcome run = freshRun(steps);
  const std::vector<double> order = Lab::placementOrder(run.trials);
  std::vector<double> shown;
  for (int i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].split(',');
    ASSERT_EQ(fields.size(), 3) << lines[i].toStdString();
    EXPECT_EQ(fields[0].toInt(), i);
    // Every number reads back as the double it was.
    EXPECT_EQ(fields[1].toDouble(), order[static_cast<std::size_t>(i - 1)]) << i;
    EXPECT_EQ(fields[2].toDouble(), form->FuncValue(fields[1].toDouble())) << i;
    shown.push_back(fields[1].toDouble());
  }
  EXPECT_EQ(sorted(shown), keys(form->Series2)) << "the points of the chart";

  dialogs.boxes.clear();
  dialogs.saveFileAnswer = folder.filePath(QStringLiteral("no such folder/trials.csv"));
  form->actSaveTrials->trigger();
  EXPECT_EQ(dialogs.messages(), std::vector<QString>{QString::fromUtf8("Не удалось записать файл ") +
                                                     dialogs.saveFileAnswer});
}

TEST_F(SearchTrace, theChartIsSavedInTheKindItsNameSays) {
  const struct {
    const char* chosen;
    const char* written;
    QByteArray start;
  } cases[] = {
      {"chart", "chart.png", "\x89PNG"},
      {"chart.JPEG", "chart.JPEG", "\xff\xd8\xff"},
      {"chart.pdf", "chart.pdf", "%PDF"},
      {"chart.bmp", "chart.bmp.png", "\x89PNG"},
  };
  pressSearch();
  QTemporaryDir folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    dialogs.saveFileAnswer = folder.filePath(QString::fromLatin1(c.chosen));
    form->actSaveChart->trigger();
    QFile file(folder.filePath(QString::fromLatin1(c.written)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith(c.start));
  }
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SearchTrace, theWheelZoomsTheChartsXAxisUntilADoubleClickOrTheNextUpdate) {
  pressSearch();
  const QCPRange fitted = form->chartFunc->xAxis->range();
  const QCPRange values = form->chartFunc->yAxis->range();
  const QPointF middle = form->chartFunc->axisRect()->center();
  QWheelEvent wheel(middle, form->chartFunc->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(form->chartFunc, &wheel);
  form->chartFunc->replot();
  EXPECT_LT(form->chartFunc->xAxis->range().size(), fitted.size());
  EXPECT_EQ(form->chartFunc->yAxis->range(), values);

  QTest::mouseDClick(form->chartFunc, Qt::LeftButton, {}, middle.toPoint());
  QTest::mouseRelease(form->chartFunc, Qt::LeftButton, {}, middle.toPoint());
  EXPECT_EQ(form->chartFunc->xAxis->range(), fitted);
  QApplication::sendEvent(form->chartFunc, &wheel);
  form->bbtnUpdateFunc->click();
  QApplication::processEvents();  // the chart draws when the window's events come round
  EXPECT_EQ(form->chartFunc->xAxis->range(), QCPRange(-10, keys(form->Series1).back())) << "the samples alone";
}

}  // namespace
}  // namespace Velmora::Testing
