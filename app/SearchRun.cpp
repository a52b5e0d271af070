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
#include "MessageText.h"
#include "RepeatableRun.h"
#include "SpinEdit.h"

namespace Velmora {

void TMainForm::bbtnSearchMinClick() {
  guard().run([this] {
    dataCorrect = true;
    Lab::SearchRequest request;
    request.method = currentMethodId;

    if (!readInterval()) {
      dataCorrect = false;
      showInputMessage(Lab::InputMessage::Interval);
    }

    const Lab::MethodInfo& method = Lab::methodInfo(currentMethodId);
    if (method.param != Lab::ParamMeaning::None) {
      const std::optional<double> param = toNumber(edMetParam->text());
      if (!param) {
        dataCorrect = false;
        showInputMessage(Lab::InputMessage::MethodParameter);
      }
      // Skipped once an input has failed: its message would only add noise.
      // The broken-line estimate passes any value: the method itself takes
      // 1.0 in place of one that is not positive.
      if (dataCorrect && !method.acceptsParam(*param)) {
        showInputMessage(Lab::InputMessage::Multiplier);
        dataCorrect = false;
      }
      if (param) request.param = *param;
    }

    if (rbtnStepStop->isChecked()) {
      request.stop = Lab::StopKind::Steps;
      request.steps = spedSteps->Value();
    } else {
      request.stop = Lab::StopKind::Precision;
      const std::optional<double> eps = toNumber(edPrecision->text());
      if (!eps) {
        dataCorrect = false;
        showInputMessage(Lab::InputMessage::Precision);
      }
      request.eps = eps.value_or(0);
    }
    if (!dataCorrect) return;

    request.xmin = Xmin;
    request.xmax = Xmax;
    // The search's course makes the run again with its step records only
    // when it is shown: most presses never open it.
    Lab::RepeatableRun run = Lab::runRepeatably(*currentMethod, std::move(request));
    const Lab::SearchOutcome& outcome = run.outcome;
    for (const std::string& report : outcome.reports) guard().mathReport(report);
    if (outcome.fault) {
      // The results and the chart keep what the last run left, but the run
      // whose course the window would show is not the one that failed.
      forgetRun();
      guard().showFault(*outcome.fault);
      return;
    }
    edGlobMin->setText(toFixed(outcome.bestX, 10, 7));
    if (run.request.stop == Lab::StopKind::Steps)
      edMadeParam->setText(toFixed(outcome.precision, 10, 9));
    else
      edMadeParam->setText(QString::number(outcome.stepCount));
    DrawFunctionGraph();
    DrawTrialPoints(outcome.trials);
    const bool boundHit = outcome.stop == Lab::StopReason::StepBoundHit;
    const int maxSteps = run.request.maxSteps;
    keepRun(std::move(run));
    // A precision of 0 or below, or one finer than doubles resolve, is never
    // reached: the run stops at its step bound, and the figure shown is not
    // what the user asked for.
    if (boundHit) showInputMessage(Lab::precisionNotReachedMessage(maxSteps));
  });
}

void TMainForm::DrawTrialPoints(const std::vector<Lab::Trial>& trials) {
  FunctionChart::clear(*Series2);
  // The points go into the series at once: appended one by one, each with
  // its own insertion by x, 100002 points would keep the window busy. The
  // run has F at every trial already.
  QVector<QCPGraphData> points;
  points.reserve(static_cast<qsizetype>(trials.size()));
  for (const Lab::Trial& trial : trials)
    // As FunctionChart::append does: a value that is no finite number is a gap.
    points.append(QCPGraphData(trial.x, std::isfinite(trial.f) ? trial.f : std::numeric_limits<double>::quiet_NaN()));
  // x[0] stays at the last trial, where a formula entered next is first tried.
  if (!trials.empty()) vars[0] = trials.back().x;
  const bool sorted = std::is_sorted(points.cbegin(), points.cend(), qcpLessThanSortKey<QCPGraphData>);
  Series2->data()->set(points, sorted);
  FunctionChart::refresh(*chartFunc);
}

void TMainForm::bbtnProgramInfoClick() {
  guard().run([this] { FormAbout->exec(); });
}

}  // namespace Velmora
