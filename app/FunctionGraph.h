// The right-hand group: the chart of F over the interval with the trial
// points of the last Search, its legend, and its menu, which shows that
// search's course and saves the chart and the trials.
#pragma once

#include <memory>

#include "RepeatableRun.h"

class QAction;
class QCPGraph;
class QCustomPlot;
class QFrame;
class QGroupBox;
class QLabel;
class QWidget;

namespace Velmora {

class TFormTrace;
class WindowState;
struct TraceRun;

class FunctionGraph {
 public:
  explicit FunctionGraph(WindowState& state);
  ~FunctionGraph();

  // F at 500 samples of the interval; the trial points go.
  void DrawFunctionGraph();
  // The chart's menu.
  void actSearchTraceClick();
  void actSaveChartClick();
  void actSaveTrialsClick();

  QGroupBox* gbFuncView = nullptr;
  QCustomPlot* chartFunc = nullptr;
  QCPGraph* Series1 = nullptr;  ///< graph 0: the function's line
  QCPGraph* Series2 = nullptr;  ///< graph 1: the trial points
  QFrame* Shape1 = nullptr;
  QLabel* Label3 = nullptr;
  QFrame* Shape2 = nullptr;
  QLabel* Label4 = nullptr;
  QAction* actSearchTrace = nullptr;
  QAction* actSaveChart = nullptr;
  QAction* actSaveTrials = nullptr;

  // Made by the first request for the search's course; kept, hidden or not, from then on.
  std::unique_ptr<TFormTrace> FormTrace;
  // The last Search's run while the chart shows its trial points; empty otherwise.
  std::shared_ptr<const TraceRun> lastRun;

 protected:
  void createControls(QWidget* window);
  // The menu's actions and the mouse on the chart.
  void connectControls();
  // A finished run becomes the one the chart's menu and the trace window show;
  // forgetting it disables what needs it.
  void keepRun(Lab::RepeatableRun run);
  void forgetRun();

 private:
  WindowState& state_;
};

}  // namespace Velmora
