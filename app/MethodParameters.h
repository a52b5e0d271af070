// The method's parameters: the stop rule with its step count or precision,
// and the parameter of the methods that have one.
#pragma once

#include "SpinEdit.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace Velmora {

namespace Lab {
struct MethodInfo;
}
class SearchResults;
class WindowState;

class MethodParameters {
 public:
  explicit MethodParameters(WindowState& state) : state_(state) {}

  // Handlers; each runs its body in the window's guard.
  void rbtnStepStopClick();
  void rbtnPrecStopClick();
  // The parameter is enabled for a method that has one, under its name. For
  // one that has none the disabled label still names the parameter of the
  // method chosen before.
  void showParameterOf(const Lab::MethodInfo& method);

  QGroupBox* grbMetParams = nullptr;
  QRadioButton* rbtnStepStop = nullptr;
  QRadioButton* rbtnPrecStop = nullptr;
  TSpinEdit* spedSteps = nullptr;
  QLineEdit* edPrecision = nullptr;
  QLineEdit* edMetParam = nullptr;
  QLabel* labMetParam = nullptr;

 protected:
  void createControls(QWidget* window);
  // The stop rule names the result there.
  void connectControls(SearchResults& results);

 private:
  WindowState& state_;
  SearchResults* results_ = nullptr;
};

}  // namespace Velmora
