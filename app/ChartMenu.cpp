// The chart's menu and mouse: the search's course, the chart and the trials
// saved to files; the wheel zooms and a drag pans x, a double click returns
// to the view the window draws.
#include <QAction>
#include <sstream>
#include <qcustomplot.h>

#include "ChartNavigation.h"
#include "FunctionChart.h"
#include "Main.h"
#include "SaveFile.h"
#include "SearchCsv.h"
#include "TraceForm.h"

namespace Velmora {

void TMainForm::createChartMenu() {
  const auto action = [this](const char* name, const char* text) {
    auto* a = new QAction(QString::fromUtf8(text), this);
    a->setObjectName(QString::fromLatin1(name));
    chartFunc->addAction(a);
    return a;
  };
  actSearchTrace = action("actSearchTrace", "Ход поиска...");
  actSaveChart = action("actSaveChart", "Сохранить график...");
  actSaveTrials = action("actSaveTrials", "Сохранить испытания...");
  chartFunc->setContextMenuPolicy(Qt::ActionsContextMenu);
  forgetRun();

  connect(actSearchTrace, &QAction::triggered, this, [this] { actSearchTraceClick(); });
  connect(actSaveChart, &QAction::triggered, this, [this] { actSaveChartClick(); });
  connect(actSaveTrials, &QAction::triggered, this, [this] { actSaveTrialsClick(); });
  ChartNavigation::enable(
      *chartFunc, [this] { FunctionChart::holdView(*chartFunc); },
      [this] { guard().run([this] { FunctionChart::refresh(*chartFunc); }); });
}

void TMainForm::keepRun(Lab::RepeatableRun run) {
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

void TMainForm::forgetRun() {
  lastRun.reset();
  actSearchTrace->setEnabled(false);
  actSaveTrials->setEnabled(false);
}

void TMainForm::actSearchTraceClick() {
  guard().run([this] {
    if (!lastRun) return;
    if (!FormTrace) {
      FormTrace = std::make_unique<TFormTrace>(dialogs(), guard(), decimalSeparator());
      FormTrace->setFont(font());
      FormTrace->setWindowIcon(windowIcon());
    }
    if (FormTrace->run() != lastRun) FormTrace->showRun(lastRun);
    FormTrace->show();
    FormTrace->raise();
    FormTrace->activateWindow();
  });
}

void TMainForm::actSaveChartClick() {
  guard().run([this] {
    SaveFile::chart(dialogs(), QString::fromUtf8("Сохранить график"), *chartFunc,
                    {SaveFile::Kind::Png, SaveFile::Kind::Jpeg, SaveFile::Kind::Pdf});
  });
}

void TMainForm::actSaveTrialsClick() {
  guard().run([this] {
    if (!lastRun) return;
    SaveFile::csv(dialogs(), QString::fromUtf8("Сохранить испытания"), [this] {
      std::ostringstream out;
      Lab::writeTrialsCsv(out, lastRun->run.outcome.trials);
      return out.str();
    });
  });
}

}  // namespace Velmora
