// The search's course after a 100000-step run, in the real windows drawn
// offscreen: opening it from the chart's menu until its three charts are
// drawn, moving its slider to a step until they are drawn again, and the
// memory the course holds.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <malloc.h>
#include <memory>
#include <random>
#include <qcustomplot.h>

#include "BenchWindow.h"
#include "Main.h"
#include "RadioGroup.h"
#include "SpinEdit.h"
#include "TraceForm.h"

namespace {

using VelmoraBench::dialogs;
using VelmoraBench::form;
using VelmoraBench::MethodNames;
constexpr int steps = VelmoraBench::Steps;

// Method m (0..2) on sample 2, x[0]^2 + 6 sin(2 pi x[0]), over -10..10, 100000
// steps: broken lines with an estimate above the largest slope, 20 + 12 pi;
// Strongin with r = 2.
void search(benchmark::State& state, int method) {
  form->FormTrace.reset();
  form->edFuncExpr->setText(QString::fromLatin1(Velmora::SampleFormulas[1]));
  form->radgrSearchMet->setItemIndex(method);
  form->edMetParam->setText(QString::fromLatin1(method == 1 ? "60" : "2"));
  form->spedSteps->setValue(steps);
  dialogs->first.clear();
  form->bbtnSearchMin->click();
  state.SetLabel(MethodNames[method]);
}

void drawn() { QApplication::processEvents(); }

void check(benchmark::State& state) {
  VelmoraBench::failOnBox(state);
  if (!form->FormTrace || form->FormTrace->trace().stepCount() != steps)
    state.SkipWithError("the course does not hold the run");
}

// From the menu's item to the window drawn at the last step, a new window each time.
void BM_OpenTrace(benchmark::State& state) {
  search(state, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    form->FormTrace.reset();
    state.ResumeTiming();
    form->actSearchTrace->trigger();
    drawn();
  }
  check(state);
}

// The slider to a step drawn at random from 0..100000, until the three charts are drawn.
void BM_MoveSlider(benchmark::State& state) {
  search(state, static_cast<int>(state.range(0)));
  form->actSearchTrace->trigger();
  drawn();
  std::mt19937 random(7);
  std::uniform_int_distribution<int> anyStep(0, steps);
  for (auto _ : state) {
    form->FormTrace->sldStep->setValue(anyStep(random));
    drawn();
  }
  check(state);
}

// The last steps, where every trial is drawn: back and forth between N - 1 and N.
void BM_MoveSliderAtTheEnd(benchmark::State& state) {
  search(state, static_cast<int>(state.range(0)));
  form->actSearchTrace->trigger();
  drawn();
  int k = steps;
  for (auto _ : state) {
    k = k == steps ? steps - 1 : steps;
    form->FormTrace->sldStep->setValue(k);
    drawn();
  }
  check(state);
}

std::size_t heapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// What the course holds: the run the main window keeps for it (its trials
// and the curve), measured from the vectors; and the window with the run made
// again with its step records, its charts, table and buffers, measured as the
// heap it adds, after the slider has been at the end, the middle and the start.
void BM_HeldMemory(benchmark::State& state) {
  search(state, static_cast<int>(state.range(0)));
  double windowBytes = 0;
  for (auto _ : state) {
    form->FormTrace.reset();
    malloc_trim(0);
    const std::size_t before = heapInUse();
    form->actSearchTrace->trigger();
    drawn();
    for (int k : {steps, steps / 2, 0, steps}) {
      form->FormTrace->sldStep->setValue(k);
      drawn();
    }
    windowBytes = static_cast<double>(heapInUse() - before);
  }
  const Velmora::TraceRun& run = *form->lastRun;
  const double runBytes = static_cast<double>(run.run.outcome.trials.capacity() * sizeof(Velmora::Lab::Trial) +
                                              run.curve.capacity() * sizeof(Velmora::Lab::TracePoint));
  constexpr double MiB = 1024.0 * 1024.0;
  state.counters["run_MiB"] = runBytes / MiB;
  state.counters["window_MiB"] = windowBytes / MiB;
  state.counters["total_MiB"] = (runBytes + windowBytes) / MiB;
  check(state);
}

BENCHMARK(BM_OpenTrace)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MoveSlider)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_MoveSliderAtTheEnd)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_HeldMemory)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
