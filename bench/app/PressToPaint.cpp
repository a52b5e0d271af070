// The Search press as the user meets it: from the click to the window painted
// with every trial point, in wall time, with the events the click leaves
// behind (queued replots, repaints of the result fields) processed. Each of
// the window's three methods, 100000 steps on a sample formula (the second
// unless told), pressed in turn; prints the median of the presses and how
// often the chart plotted its data per press.
//
// The program uses nothing but the window's own widgets, so that the same
// file builds against an older window (scripts/press-to-paint.sh).
//   press-to-paint [PRESSES [SAMPLE 1..6]]
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <qcustomplot.h>
#include <vector>

#include "Dialogs.h"
#include "Main.h"
// The window's program keeps freed memory for its next press where it can.
#if __has_include("FreedMemory.h")
#include "FreedMemory.h"
#define VELMORA_KEEPS_FREED_MEMORY 1
#endif
#include "RadioGroup.h"
#include "SpinEdit.h"

namespace {

// No box may open during a press: one that would is a failed measurement.
class NoBoxes : public Velmora::Dialogs {
 public:
  void showMessage(const QString& text) override { fail(text); }
  void showError(const QString& text) override { fail(text); }
  void showMathReport(const QString& text) override { fail(text); }
  // Not in every version of the window's dialogs, hence no override.
  QString chooseSaveFile(const QString&, const QString&) { return {}; }

 private:
  static void fail(const QString& text) {
    std::fprintf(stderr, "press-to-paint: a box opened: %s\n", text.toUtf8().constData());
    std::exit(1);
  }
};

constexpr int Steps = 100000;
const char* const MethodNames[] = {"scanning", "broken lines", "information-statistical"};
// Lipschitz estimates above each sample's largest slope on -10..10, so that
// the broken lines stay inside; r = 2 for Strongin's method.
const char* const LipschitzEstimates[] = {"25", "70", "400", "5", "700", "1e23"};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef VELMORA_KEEPS_FREED_MEMORY
  Velmora::keepFreedMemoryForReuse();
#endif
  QApplication app(argc, argv);
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const int sample = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 6) - 1 : 1;
  NoBoxes boxes;
  auto form = std::make_unique<Velmora::TMainForm>(&boxes, QStringLiteral(","));
  form->show();
  QApplication::processEvents();

  int plots = 0;
  QObject::connect(form->chartFunc, &QCustomPlot::afterReplot, [&plots] { ++plots; });
  form->edFuncExpr->setText(QString::fromUtf8(Velmora::SampleFormulas[sample]));
  form->spedSteps->setValue(Steps);
  std::vector<std::vector<double>> times(3);
  std::vector<int> plotsPerPress(3);
  for (int round = 0; round < presses; ++round) {
    for (int method = 0; method < 3; ++method) {
      form->radgrSearchMet->setItemIndex(method);
      form->edMetParam->setText(QString::fromUtf8(method == 1 ? LipschitzEstimates[sample] : "2"));
      QApplication::processEvents();
      plots = 0;
      QElapsedTimer timer;
      timer.start();
      form->bbtnSearchMin->click();
      QApplication::sendPostedEvents();
      QApplication::processEvents();
      times[method].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
      plotsPerPress[method] = plots;
      if (form->Series2->dataCount() != Steps + 2) {
        std::fprintf(stderr, "press-to-paint: the chart does not hold every trial\n");
        return 1;
      }
    }
  }
  for (int method = 0; method < 3; ++method) {
    std::vector<double>& t = times[method];
    std::sort(t.begin(), t.end());
    std::printf("%-24s median %6.1f ms  (%.1f-%.1f over %d presses), %d chart plots per press\n", MethodNames[method],
                t[t.size() / 2], t.front(), t.back(), presses, plotsPerPress[method]);
  }
  return 0;
}
