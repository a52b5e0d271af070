// The graph of F over the stored interval, and the chart's menu and mouse:
// the wheel zooms and a drag pans x, a double click returns to the view the
// window draws.
#include "FunctionGraph.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <sstream>
#include <qcustomplot.h>

#include "ChartNavigation.h"
#include "FunctionChart.h"
#include "GraphSamples.h"
#include "Main.h"
#include "SaveFile.h"
#include "SearchCsv.h"
#include "TraceForm.h"
#include "Widgets.h"

namespace Velmora {

FunctionGraph::FunctionGraph(WindowState& state) : state_(state) {}

FunctionGraph::~FunctionGraph() = default;

void FunctionGraph::createControls(QWidget* window) {
  gbFuncView = makeGroup(window, "gbFuncView", "Построение Графика Функции:", 319, 93, 359, 334, true);
  chartFunc = make<QCustomPlot>(gbFuncView, "chartFunc", 5, 18, 349, 273);
  FunctionChart::setUp(*chartFunc);
  Series1 = chartFunc->graph(0);
  Series2 = chartFunc->graph(1);
  Shape1 = makeSquare(gbFuncView, "Shape1", 5, 296, Qt::blue);
  Label3 = makeLabel(gbFuncView, "Label3", " - График оптимизируемой функции;", 22, 296, 180, 13, false);
  Shape2 = makeSquare(gbFuncView, "Shape2", 5, 314, Qt::red);
  Label4 = makeLabel(gbFuncView, "Label4", " - Точки поисковых испытаний метода поиска глоб. минимума;", 22, 314, 300, 13,
                     false);
}

void FunctionGraph::connectControls() {
  QWidget* window = chartFunc->window();
  const auto action = [&](const char* name, const char* text) {
    auto* a = new QAction(ru(text), window);
    a->setObjectName(QString::fromLatin1(name));
    chartFunc->addAction(a);
    return a;
  };
  actSearchTrace = action("actSearchTrace", "Ход поиска...");
  actSaveChart = action("actSaveChart", "Сохранить график...");
  actSaveTrials = action("actSaveTrials", "Сохранить испытания...");
  chartFunc->setContextMenuPolicy(Qt::ActionsContextMenu);
  forgetRun();

  QObject::connect(actSearchTrace, &QAction::triggered, window, [this] { actSearchTraceClick(); });
  QObject::connect(actSaveChart, &QAction::triggered, window, [this] { actSaveChartClick(); });
  QObject::connect(actSaveTrials, &QAction::triggered, window, [this] { actSaveTrialsClick(); });
  ChartNavigation::enable(
      *chartFunc, [this] { FunctionChart::holdView(*chartFunc); },
      [this] { state_.guard().run([this] { FunctionChart::refresh(*chartFunc); }); });
}

void FunctionGraph::DrawFunctionGraph() {
  // The trial points go, and with them the run the chart's menu would show.
  forgetRun();
  FunctionChart::clear(*Series1);
  FunctionChart::clear(*Series2);
  for (int i = 0; i < Lab::GraphSampleCount; ++i) {
    const double sample = Lab::graphSampleX(i, state_.Xmin, state_.Xmax);
    FunctionChart::append(*Series1, sample, state_.FuncValue(sample));
  }
}

void FunctionGraph::keepRun(Lab::RepeatableRun run) {
  std::vector<Lab::TracePoint> curve;
  curve.reserve(static_cast<std::size_t>(Series1->dataCount()));
  for (auto it = Series1->data()->constBegin(); it != Series1->data()->constEnd(); ++it)
    curve.push_back({it->key, it->value});
  lastRun = std::make_shared<const TraceRun>(TraceRun{std::move(run), std::move(curve)});
  actSearchTrace->setEnabled(true);
  actSaveTrials->setEnabled(true);
  // An open trace window follows the searches; a hidden one waits until asked.
  if (FormTrace && FormTrace->isVisible()) FormTrace->showRun(lastRun);
}

void FunctionGraph::forgetRun() {
  lastRun.reset();
  actSearchTrace->setEnabled(false);
  actSaveTrials->setEnabled(false);
}

void FunctionGraph::actSearchTraceClick() {
  state_.guard().run([this] {
    if (!lastRun) return;
    if (!FormTrace) {
      const QWidget* window = chartFunc->window();
      FormTrace = std::make_unique<TFormTrace>(state_.dialogs(), state_.guard(), state_.decimalSeparator());
      FormTrace->setFont(window->font());
      FormTrace->setWindowIcon(window->windowIcon());
    }
    if (FormTrace->run() != lastRun) FormTrace->showRun(lastRun);
    FormTrace->show();
    FormTrace->raise();
    FormTrace->activateWindow();
  });
}

void FunctionGraph::actSaveChartClick() {
  state_.guard().run([this] {
    SaveFile::chart(state_.dialogs(), ru("Сохранить график"), *chartFunc,
                    {SaveFile::Kind::Png, SaveFile::Kind::Jpeg, SaveFile::Kind::Pdf});
  });
}

void FunctionGraph::actSaveTrialsClick() {
  state_.guard().run([this] {
    if (!lastRun) return;
    SaveFile::csv(state_.dialogs(), ru("Сохранить испытания"), [this] {
      std::ostringstream out;
      Lab::writeTrialsCsv(out, lastRun->run.outcome.trials);
      return out.str();
    });
  });
}

}  // namespace Velmora
