// The results of the last Search: the point found, and the figure its stop
// rule gives, under a label naming it.
#pragma once

#include "Search.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace Velmora {

class SearchResults {
 public:
  // Names what edMadeParam shows after a run under this stop rule; the
  // figure of the last run stays until the next.
  void nameMadeParam(Lab::StopKind stop);

  QGroupBox* GroupBox1 = nullptr;
  QLabel* labGlobMin = nullptr;
  QLabel* labMade = nullptr;
  QLineEdit* edGlobMin = nullptr;
  QLineEdit* edMadeParam = nullptr;

 protected:
  void createControls(QWidget* window);
};

}  // namespace Velmora
