#include "SearchResults.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "Widgets.h"

namespace Velmora {

namespace {

// The precision reached after a run by steps, the steps made after one by precision.
const char* madeParamName(Lab::StopKind stop) {
  return stop == Lab::StopKind::Steps ? "Достигнутая точность:" : "Сдел-е Число шагов:";
}

}  // namespace

void SearchResults::createControls(QWidget* window) {
  GroupBox1 = makeGroup(window, "GroupBox1", "Результаты Поиска:", 0, 325, 223, 64, false);
  labGlobMin = makeLabel(GroupBox1, "labGlobMin", "Глобальный Минимум:", 5, 19, 136, 13, true);
  labMade = makeLabel(GroupBox1, "labMade", madeParamName(Lab::StopKind::Steps), 5, 41, 138, 13, true);
  edGlobMin = makeEdit(GroupBox1, "edGlobMin", 142, 15, 76, 21, QString());
  edGlobMin->setReadOnly(true);
  setTextColour(edGlobMin, Qt::red);
  edMadeParam = makeEdit(GroupBox1, "edMadeParam", 142, 39, 76, 21, QString());
  edMadeParam->setReadOnly(true);
  setTextColour(edMadeParam, Qt::red);
}

void SearchResults::nameMadeParam(Lab::StopKind stop) { labMade->setText(ru(madeParamName(stop))); }

}  // namespace Velmora
