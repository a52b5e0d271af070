// What to search and how: the interval's two ends and the choice of method,
// which replaces the window's method object.
#pragma once

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace Velmora {

class MethodParameters;
class TRadioGroup;
class WindowState;

class IntervalAndMethod {
 public:
  explicit IntervalAndMethod(WindowState& state) : state_(state) {}

  // Handler; runs its body in the window's guard.
  void radgrSearchMetClick();
  // Xmin, then Xmax, from their edits; false when either fails, and Xmin
  // keeps its new value when only edXmax fails.
  bool readInterval();

  QGroupBox* gbInterval = nullptr;
  QLabel* labXmin = nullptr;
  QLabel* labArrow = nullptr;
  QLabel* labXmax = nullptr;
  QLineEdit* edXmin = nullptr;
  QLineEdit* edXmax = nullptr;
  TRadioGroup* radgrSearchMet = nullptr;

 protected:
  void createControls(QWidget* window);
  // The choice of method shows its parameter there.
  void connectControls(MethodParameters& parameters);

 private:
  WindowState& state_;
  MethodParameters* parameters_ = nullptr;
};

}  // namespace Velmora
