// The main window: its state, and the groups it is built of, each with its
// controls and handlers; the window adds the Search and About buttons.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "Charact_opt.h"
#include "Dialogs.h"
#include "FunctionEntry.h"
#include "FunctionGraph.h"
#include "FunctionParameters.h"
#include "HandlerGuard.h"
#include "IntervalAndMethod.h"
#include "Math_Parser.h"
#include "MethodCatalogue.h"
#include "MethodParameters.h"
#include "RepeatableRun.h"
#include "SearchResults.h"

class QPushButton;

namespace Velmora {

class TFormAbout;

// The state of the window's unit, which every group reads and writes, with
// the window's number rules, its boxes and the guard its handlers run in.
class WindowState {
 public:
  // With no dialogs the real boxes; with no separator the system's.
  WindowState(Dialogs* dialogs, std::optional<QString> decimalSeparator);
  WindowState(const WindowState&) = delete;
  WindowState& operator=(const WindowState&) = delete;

  // The objective function of the methods and the graph: F at x with the
  // current parameters; x stays in x[0]. Faults reach the caller.
  double FuncValue(double x);
  VELMORAALG::TOptFunc objective() { return [this](double x) { return FuncValue(x); }; }

  // The window's number rules with its decimal separator; empty when the text does not convert.
  std::optional<double> toNumber(const QString& text) const;
  QString toFixed(double value, int precision, int decimals) const;
  // The plain message box with a UTF-8 text.
  void showInputMessage(std::string_view text);
  const QString& decimalSeparator() const { return separator_; }

  Dialogs& dialogs() { return *dialogs_; }
  HandlerGuard& guard() { return guard_; }

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

 private:
  std::unique_ptr<Dialogs> ownDialogs_;
  Dialogs* dialogs_;
  HandlerGuard guard_;
  QString separator_;
};

// The groups are bases, as a form class takes its generated controls: the
// window answers to every control's and handler's own name
// (form->edFuncExpr, form->bbtnUpdateFuncClick()), while each group reaches
// only the state and the groups it is given.
class TMainForm : public QWidget,
                  public WindowState,
                  public FunctionEntry,
                  public FunctionParameters,
                  public FunctionGraph,
                  public IntervalAndMethod,
                  public MethodParameters,
                  public SearchResults {
  Q_OBJECT
 public:
  // With no arguments: the real window with real boxes and the system's
  // decimal separator. Tests pass a recording Dialogs (kept by the caller,
  // outliving the window) and a fixed separator.
  explicit TMainForm(Dialogs* dialogs = nullptr, std::optional<QString> decimalSeparator = std::nullopt);
  ~TMainForm() override;

  // Handlers. Each runs its body in the guard, so a test may call one
  // directly and sees what the user sees.
  void FormCreate();
  void FormDestroy();
  // Search and About (SearchRun.cpp).
  void bbtnSearchMinClick();
  void bbtnProgramInfoClick();
  void DrawTrialPoints(const std::vector<Lab::Trial>& trials);

  // Made hidden with the window and shown again by every press of About.
  std::unique_ptr<TFormAbout> FormAbout;

  QPushButton* bbtnSearchMin = nullptr;
  QPushButton* bbtnProgramInfo = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void createButtons();
  void setTabOrder();

  bool centred_ = false;
};

}  // namespace Velmora
