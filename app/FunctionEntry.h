// The formula's part of the upper group: the formula, compiled on every
// change, its error line, and the samples that fill it.
#pragma once

#include <vector>

#include "SampleFormulas.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace Velmora {

class WindowState;

// The sample formulas of the combo box, in list order.
using Lab::SampleFormulas;

class FunctionEntry {
 public:
  explicit FunctionEntry(WindowState& state) : state_(state) {}

  // Handlers; each runs its body in the window's guard.
  void edFuncExprChange();
  void combFuncListChange();

  QGroupBox* gbOptFunc = nullptr;  ///< the upper group, which the parameters share
  QLabel* labFunc = nullptr;
  QLabel* labErrors = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edFuncExpr = nullptr;
  QLineEdit* edFuncErrors = nullptr;
  QComboBox* combFuncList = nullptr;

 protected:
  // The upper group in the window, and the formula's controls in it.
  void createControls(QWidget* window);
  // formulaButtons act on the formula: they are enabled while it compiles.
  void connectControls(std::vector<QWidget*> formulaButtons);

 private:
  WindowState& state_;
  std::vector<QWidget*> formulaButtons_;
};

}  // namespace Velmora
