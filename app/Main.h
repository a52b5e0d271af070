// The main window: the formula, its parameters, the interval, the method
// panel, the results and the chart, with the window state they share.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <random>

#include "Charact_opt.h"
#include "Dialogs.h"
#include "HandlerGuard.h"
#include "Math_Parser.h"
#include "MethodCatalogue.h"
#include "RepeatableRun.h"
#include "SpinEdit.h"

class QAction;
class QComboBox;
class QCPGraph;
class QCustomPlot;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace Velmora {

class TFormAbout;
class TFormTrace;
class TRadioGroup;
struct TraceRun;

class TMainForm : public QWidget {
  Q_OBJECT
 public:
  // With no arguments: the real window with real boxes and the system's
  // decimal separator. Tests pass a recording Dialogs (kept by the caller,
  // outliving the window) and a fixed separator.
  explicit TMainForm(Dialogs* dialogs = nullptr, std::optional<QString> decimalSeparator = std::nullopt);
  ~TMainForm() override;

  // The objective function of the methods and the graph: F at x with the
  // current parameters; x stays in x[0]. Faults reach the caller.
  double FuncValue(double x);
  VELMORAALG::TOptFunc objective() { return [this](double x) { return FuncValue(x); }; }

  // Handlers. Each runs its body in the guard, so a test may call one
  // directly and sees what the user sees.
  void FormCreate();
  void FormDestroy();
  void edFuncExprChange();
  void combFuncListChange();
  void spinParamCountChange();
  void btnRandParamClick();
  void bbtnUpdateFuncClick();
  void DrawFunctionGraph();

  // Method panel, Search and About (connected in connectSearchPanel).
  void radgrSearchMetClick();
  void rbtnStepStopClick();
  void rbtnPrecStopClick();
  void bbtnSearchMinClick();
  void bbtnProgramInfoClick();
  void DrawTrialPoints(const std::vector<Lab::Trial>& trials);

  // The chart's menu (ChartMenu.cpp).
  void actSearchTraceClick();
  void actSaveChartClick();
  void actSaveTrialsClick();

  // The window's number rules with its decimal separator; empty when the text does not convert.
  std::optional<double> toNumber(const QString& text) const;
  QString toFixed(double value, int precision, int decimals) const;
  // Xmin, then Xmax, from their edits; false when either fails, and Xmin
  // keeps its new value when only edXmax fails.
  bool readInterval();
  // The plain message box with a UTF-8 text.
  void showInputMessage(std::string_view text);
  const QString& decimalSeparator() const { return separator_; }

  Dialogs& dialogs() { return *dialogs_; }
  HandlerGuard& guard() { return guard_; }

  // Window state.
  Math_Parser::TParser funcParser;
  std::array<double, 10> vars{};  ///< x[0] the argument, x[1]..x[9] the parameters
  double Xmin = 0;
  double Xmax = 0;
  int paramCount = 0;             ///< always 0..9
  bool funcCorrect = false;
  bool dataCorrect = false;
  std::unique_ptr<VELMORAALG::SearchEngine> currentMethod;
  Lab::MethodId currentMethodId = Lab::MethodId::Scan;  ///< the catalogue's entry that made currentMethod
  std::mt19937 randomGenerator;   ///< Random draws from it; seeded once from the clock
  // Made hidden with the window and shown again by every press of About.
  std::unique_ptr<TFormAbout> FormAbout;
  // Made by the first request for the search's course; kept, hidden or not, from then on.
  std::unique_ptr<TFormTrace> FormTrace;
  // The last Search's run while the chart shows its trial points; empty otherwise.
  std::shared_ptr<const TraceRun> lastRun;

  // Controls, named as in the window's description.
  QGroupBox* gbOptFunc = nullptr;
  QLabel* labFunc = nullptr;
  QLabel* labErrors = nullptr;
  QLabel* Label1 = nullptr;
  QFrame* bevSpacer = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edFuncExpr = nullptr;
  QLineEdit* edFuncErrors = nullptr;
  QPushButton* bbtnUpdateFunc = nullptr;
  QSpinBox* spinParamCount = nullptr;
  QTableWidget* strgParams = nullptr;
  QComboBox* combFuncList = nullptr;
  QPushButton* btnRandParam = nullptr;

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

  QGroupBox* gbInterval = nullptr;
  QLabel* labXmin = nullptr;
  QLabel* labArrow = nullptr;
  QLabel* labXmax = nullptr;
  QLineEdit* edXmin = nullptr;
  QLineEdit* edXmax = nullptr;

  TRadioGroup* radgrSearchMet = nullptr;
  QGroupBox* grbMetParams = nullptr;
  QRadioButton* rbtnStepStop = nullptr;
  QRadioButton* rbtnPrecStop = nullptr;
  TSpinEdit* spedSteps = nullptr;
  QLineEdit* edPrecision = nullptr;
  QLineEdit* edMetParam = nullptr;
  QLabel* labMetParam = nullptr;

  QGroupBox* GroupBox1 = nullptr;
  QLabel* labGlobMin = nullptr;
  QLabel* labMade = nullptr;
  QLineEdit* edGlobMin = nullptr;
  QLineEdit* edMadeParam = nullptr;
  QPushButton* bbtnSearchMin = nullptr;
  QPushButton* bbtnProgramInfo = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void createControls();
  void setTabOrder();
  void connectFunctionEntry();
  void connectSearchPanel();
  void createChartMenu();
  // A finished run becomes the one the chart's menu and the trace window show;
  // forgetting it disables what needs it.
  void keepRun(Lab::RepeatableRun run);
  void forgetRun();
  // Header and value cells of the parameter grid's column c.
  void setParamColumn(int column, const QString& header, const QString& value);

  std::unique_ptr<Dialogs> ownDialogs_;
  Dialogs* dialogs_;
  HandlerGuard guard_;
  QString separator_;
  bool centred_ = false;
};

// The sample formulas of the combo box, in list order.
extern const char* const SampleFormulas[6];

}  // namespace Velmora
