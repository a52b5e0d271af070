// One press of Search with 100000 steps, from the click to the last trial
// point drawn on the chart, in the real window drawn offscreen; beside it the
// run alone (the floor the window cannot go below), a new plot of the chart
// with its 100002 points, and a repaint of the whole window afterwards.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <memory>
#include <qcustomplot.h>

#include "BenchWindow.h"
#include "Main.h"
#include "RadioGroup.h"
#include "SpinEdit.h"

namespace {

using VelmoraBench::dialogs;
using VelmoraBench::form;
using VelmoraBench::MethodNames;
constexpr int steps = VelmoraBench::Steps;

// Lipschitz estimates above each sample's largest slope on -10..10, so that
// broken lines keep their points inside the interval.
const char* const lipschitzEstimates[] = {"25", "70", "400", "5", "700", "1e23"};

// Sample formula f (0..5) on -10..10 with method m (0..2), 100000 steps.
void prepareWith(benchmark::State& state, int method, int formula) {
  form->edFuncExpr->setText(QString::fromUtf8(Velmora::SampleFormulas[formula]));
  form->radgrSearchMet->setItemIndex(method);
  form->edMetParam->setText(QString::fromUtf8(method == 1 ? lipschitzEstimates[formula] : "2"));
  form->spedSteps->setValue(steps);
  dialogs->first.clear();
  state.SetLabel(std::string(MethodNames[method]) + ", " + Velmora::SampleFormulas[formula]);
}

void prepare(benchmark::State& state) {
  prepareWith(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

void check(benchmark::State& state, std::size_t points) {
  VelmoraBench::failOnBox(state);
  if (points != steps + 2) state.SkipWithError("the chart does not hold every trial");
}

void BM_SearchPress(benchmark::State& state) {
  prepare(state);
  for (auto _ : state) form->bbtnSearchMin->click();
  check(state, static_cast<std::size_t>(form->Series2->dataCount()));
}

void BM_RunOnly(benchmark::State& state) {
  prepare(state);
  // The window hands the method parameter over only when Search is pressed.
  form->bbtnSearchMin->click();
  for (auto _ : state) benchmark::DoNotOptimize(form->currentMethod->SearchBySteps(form->Xmin, form->Xmax, steps));
  check(state, form->currentMethod->GetTrials().size());
}

// After an information-statistical search of sample f.
void BM_ChartRedrawAfterSearch(benchmark::State& state) {
  prepareWith(state, 2, static_cast<int>(state.range(0)));
  form->bbtnSearchMin->click();
  for (auto _ : state) form->chartFunc->replot(QCustomPlot::rpImmediateRefresh);
  check(state, static_cast<std::size_t>(form->Series2->dataCount()));
}

// What an exposed or uncovered window costs after such a search: the chart
// paints from its buffer without plotting again.
void BM_WindowRepaintAfterSearch(benchmark::State& state) {
  prepareWith(state, 2, static_cast<int>(state.range(0)));
  form->bbtnSearchMin->click();
  for (auto _ : state) form->repaint();
  check(state, static_cast<std::size_t>(form->Series2->dataCount()));
}

void allPairs(benchmark::internal::Benchmark* b) {
  for (int method = 0; method < 3; ++method)
    for (int formula = 0; formula < 6; ++formula) b->Args({method, formula});
  b->Unit(benchmark::kMillisecond)->Iterations(3);
}

BENCHMARK(BM_SearchPress)->Apply(allPairs);
BENCHMARK(BM_RunOnly)->Apply(allPairs);
BENCHMARK(BM_ChartRedrawAfterSearch)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_WindowRepaintAfterSearch)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
