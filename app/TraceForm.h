// The course of a finished search, step by step: the trials before a step, the
// interval it split with the characteristics it chose among, the broken line
// under the trials with the step's constant, the new point, and the best
// value so far. Non-modal; it keeps the run it shows until the next one.
#pragma once

#include <QWidget>
#include <memory>
#include <qcustomplot.h>
#include <vector>

#include "Dialogs.h"
#include "HandlerGuard.h"
#include "RepeatableRun.h"
#include "SearchTrace.h"

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableView;
class QTimer;

namespace Velmora {

class StepTableModel;

// A finished search as the main window keeps it for its course.
struct TraceRun {
  Lab::RepeatableRun run;
  std::vector<Lab::TracePoint> curve;  ///< the function as the main chart drew it for this run
};

class TFormTrace : public QWidget {
  Q_OBJECT
 public:
  // The main window's boxes, guard and decimal separator; both outlive this window.
  TFormTrace(Dialogs& dialogs, HandlerGuard& guard, QString decimalSeparator);
  ~TFormTrace() override;

  // Shows the run at its last step, where its trials are the main chart's.
  void showRun(std::shared_ptr<const TraceRun> run);
  const std::shared_ptr<const TraceRun>& run() const { return run_; }
  // The run made again with its step records; only while run() is set.
  const Lab::SearchTrace& trace() const { return *trace_; }
  // The step whose state the window shows, 0 .. the run's step count.
  int step() const { return step_; }
  bool playing() const;

  // Handlers; each runs its body in the guard.
  void sldStepChange();
  void spinStepChange();
  void btnStepBackClick();
  void btnStepForwardClick();
  void btnPlayClick();
  void playTimerTick();
  void tblStepsRowChange();
  void btnFirstOutsideClick();
  void actSaveTraceClick();
  void actSaveCharactClick();
  void actSaveBestClick();
  void actSaveStepsClick();

  QSlider* sldStep = nullptr;
  QSpinBox* spinStep = nullptr;
  QLabel* labStepCount = nullptr;
  QPushButton* btnStepBack = nullptr;
  QPushButton* btnPlay = nullptr;
  QPushButton* btnStepForward = nullptr;
  QComboBox* cmbSpeed = nullptr;  ///< steps per second of btnPlay
  QPushButton* btnSave = nullptr;
  // Names the first step whose point left the interval, and goes there; hidden when none did.
  QPushButton* btnFirstOutside = nullptr;
  QLabel* labStep = nullptr;      ///< what step k did, in words
  QCustomPlot* chartTrace = nullptr;
  QLabel* labLegend = nullptr;
  QCustomPlot* chartCharact = nullptr;
  QCustomPlot* chartBest = nullptr;
  QTableView* tblSteps = nullptr;
  QAction* actSaveTrace = nullptr;
  QAction* actSaveCharact = nullptr;
  QAction* actSaveBest = nullptr;
  QAction* actSaveSteps = nullptr;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void createControls();
  void createCharts();
  void connectControls();
  // Moves every control to step k and draws it.
  void setStep(int k);
  void stopPlaying();
  // TraceDrawing.cpp: the run's fixed parts, and the state of the current step.
  void drawRun();
  void drawStep();
  void drawCharacteristics();
  void homeTraceView();
  void homeBestView();
  // Every digit, with the window's separator, as the table writes it.
  QString number(double value) const;
  QString stepSummary() const;

  Dialogs& dialogs_;
  HandlerGuard& guard_;
  QString separator_;
  std::shared_ptr<const TraceRun> run_;
  std::shared_ptr<const Lab::SearchTrace> trace_;  ///< run_ made again with its step records
  int step_ = 0;
  Lab::TraceState before_;  ///< the state step k chose from, kept to reuse its storage
  // The lowest and highest value of the function and of every trial of the run.
  double runLow_ = 0, runHigh_ = 0;
  // The x range and width in pixels the characteristics were last drawn for.
  QCPRange drawnView_;
  int drawnColumns_ = 0;
  StepTableModel* model_ = nullptr;
  QTimer* playTimer_ = nullptr;

  QCPGraph* functionGraph_ = nullptr;
  QCPGraph* trialsGraph_ = nullptr;
  QCPGraph* currentGraph_ = nullptr;
  QCPGraph* minorantGraph_ = nullptr;
  QCPItemRect* traceShade_ = nullptr;
  QCPTextElement* traceTitle_ = nullptr;
  QCPGraph* charactGraph_ = nullptr;
  QCPErrorBars* charactBars_ = nullptr;
  QCPGraph* chosenGraph_ = nullptr;
  QCPErrorBars* chosenBars_ = nullptr;
  QCPItemRect* charactShade_ = nullptr;
  QCPTextElement* charactTitle_ = nullptr;
  QCPGraph* bestGraph_ = nullptr;
  QCPItemTracer* bestMarker_ = nullptr;
};

}  // namespace Velmora
