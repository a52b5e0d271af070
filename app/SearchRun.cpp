// The Search button: read and check the inputs, run the current method, show
// the results and every trial point.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <QLineEdit>
#include <QRadioButton>
#include <qcustomplot.h>

#include "Aboutform.h"
#include "FunctionChart.h"
#include "Main.h"
#include "Piyavsky_opt.h"
#include "RadioGroup.h"
#include "SpinEdit.h"
#include "Strongin_opt.h"

namespace Velmora {

namespace {

QString precisionNotReachedMessage() {
  return QStringLiteral("Заданная точность поиска не достигнута за %1 шагов")
      .arg(VELMORAALG::TCharactOpt::MaxPrecisionSteps);
}

}  // namespace

void TMainForm::bbtnSearchMinClick() {
  guard().run([this] {
    dataCorrect = true;

    // Xmin keeps its new value even when edXmax then fails.
    bool intervalRead = false;
    if (const std::optional<double> low = toNumber(edXmin->text())) {
      Xmin = *low;
      if (const std::optional<double> high = toNumber(edXmax->text())) {
        Xmax = *high;
        intervalRead = true;
      }
    }
    if (!intervalRead) {
      dataCorrect = false;
      dialogs().showMessage(QStringLiteral("Неверно введён интервал поиска значения"));
    }

    const int method = radgrSearchMet->itemIndex();
    if (method == 1 || method == 2) {
      const std::optional<double> param = toNumber(edMetParam->text());
      if (!param) {
        dataCorrect = false;
        dialogs().showMessage(QStringLiteral("Неверно задан параметр метода Пиявского или Стронгина"));
      }
      // Skipped once an input has failed: its message would only add noise.
      if (method == 2 && dataCorrect && !(*param > 1.0)) {
        dialogs().showMessage(QStringLiteral(" Множитель константы Липшица в методе Стронгина должен быть > 1"));
        dataCorrect = false;
      }
      // The broken-line estimate gets no check here: the method itself takes
      // 1.0 in place of an estimate that is not positive.
      if (param) {
        if (method == 1)
          static_cast<VELMORAALG::TPiyavskyOpt&>(*currentMethod).SetLipschitz(*param);
        else
          static_cast<VELMORAALG::TStronginOpt&>(*currentMethod).SetMultiplier(*param);
      }
    }

    if (rbtnStepStop->isChecked()) {
      const int steps = spedSteps->Value();
      if (!dataCorrect) return;
      const double bestX = currentMethod->SearchBySteps(Xmin, Xmax, steps);
      edGlobMin->setText(toFixed(bestX, 10, 7));
      edMadeParam->setText(toFixed(currentMethod->GetPrecision(), 10, 9));
      DrawFunctionGraph();
      DrawTrialPoints();
    } else {
      const std::optional<double> eps = toNumber(edPrecision->text());
      if (!eps) {
        dataCorrect = false;
        dialogs().showMessage(QStringLiteral("Неверно задана точность поиска минимума"));
      }
      if (!dataCorrect) return;
      const double bestX = currentMethod->SearchByPrecision(Xmin, Xmax, *eps);
      edGlobMin->setText(toFixed(bestX, 10, 7));
      edMadeParam->setText(QString::number(currentMethod->GetStepCount()));
      DrawFunctionGraph();
      DrawTrialPoints();
      // A precision of 0 or below, or one finer than doubles resolve, is never
      // reached: the run stops at its step bound, and the figure shown is not
      // what the user asked for.
      if (currentMethod->PrecisionBoundHit()) dialogs().showMessage(precisionNotReachedMessage());
    }
  });
}

void TMainForm::DrawTrialPoints() {
  FunctionChart::clear(*Series2);
  const std::vector<VELMORAALG::TSearchInfo> trials = currentMethod->GetTrials();
  // The points go into the series at once: appended one by one, each with
  // its own insertion by x, 100002 points would keep the window busy.
  QVector<QCPGraphData> points;
  points.reserve(static_cast<qsizetype>(trials.size()));
  const auto publish = [&] {
    const bool sorted = std::is_sorted(points.cbegin(), points.cend(), qcpLessThanSortKey<QCPGraphData>);
    Series2->data()->set(points, sorted);
    FunctionChart::refresh(*chartFunc);
  };
  try {
    for (const VELMORAALG::TSearchInfo& trial : trials) {
      double y = FuncValue(trial.X);
      // As FunctionChart::append does: a value that is no finite number is a gap.
      if (!std::isfinite(y)) y = std::numeric_limits<double>::quiet_NaN();
      points.append(QCPGraphData(trial.X, y));
    }
  } catch (...) {
    // The points evaluated before the fault stay on the chart.
    publish();
    throw;
  }
  publish();
}

void TMainForm::bbtnProgramInfoClick() {
  guard().run([this] { FormAbout->exec(); });
}

}  // namespace Velmora
