// The parameters' part of the upper group: how many, their values in the
// grid or drawn by Random, and Update, which takes them over with the
// interval and draws the graph.
#pragma once

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QString;
class QTableWidget;

namespace Velmora {

class FunctionGraph;
class IntervalAndMethod;
class WindowState;

class FunctionParameters {
 public:
  explicit FunctionParameters(WindowState& state) : state_(state) {}

  // Handlers; each runs its body in the window's guard.
  void spinParamCountChange();
  void btnRandParamClick();
  void bbtnUpdateFuncClick();

  QLabel* Label1 = nullptr;
  QFrame* bevSpacer = nullptr;
  QPushButton* bbtnUpdateFunc = nullptr;
  QSpinBox* spinParamCount = nullptr;
  QTableWidget* strgParams = nullptr;
  QPushButton* btnRandParam = nullptr;

 protected:
  void createControls(QGroupBox* gbOptFunc);
  // Update reads the interval there and draws the graph there.
  void connectControls(IntervalAndMethod& interval, FunctionGraph& graph);
  // Header and value cells of the grid's column c.
  void setParamColumn(int column, const QString& header, const QString& value);

 private:
  WindowState& state_;
  IntervalAndMethod* interval_ = nullptr;
  FunctionGraph* graph_ = nullptr;
};

}  // namespace Velmora
