#include "IntervalAndMethod.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "Main.h"
#include "MethodCatalogue.h"
#include "RadioGroup.h"
#include "Widgets.h"

namespace Velmora {

void IntervalAndMethod::createControls(QWidget* window) {
  gbInterval = makeGroup(window, "gbInterval", "Интервал поиска:", 0, 93, 314, 44, true);
  labXmin = makeLabel(gbInterval, "labXmin", "X min:", 10, 20, 36, 13, true);
  labArrow = makeLabel(gbInterval, "labArrow", "|---------------->", 120, 20, 75, 13, true);
  labXmax = makeLabel(gbInterval, "labXmax", "X max:", 199, 20, 39, 13, true);
  edXmin = makeEdit(gbInterval, "edXmin", 49, 17, 65, 21, QStringLiteral("-10"));
  setTextColour(edXmin, Qt::blue);
  edXmin->setToolTip(ru("Введите начало отрезка поиска"));
  edXmax = makeEdit(gbInterval, "edXmax", 241, 17, 65, 21, QStringLiteral("+10"));
  setTextColour(edXmax, Qt::blue);
  edXmax->setToolTip(ru("Введите конец отрезка поиска"));

  QStringList methodNames;
  for (const Lab::MethodInfo& method : Lab::windowMethods())
    methodNames << ru(method.windowName);
  radgrSearchMet = new TRadioGroup(QStringLiteral("radgrSearchMet"), ru("Метод поиска глобального минимума:"),
                                   methodNames, window);
  radgrSearchMet->setGeometry(0, 144, 314, 81);
  setFontStyle(radgrSearchMet, true);
  radgrSearchMet->setItemIndex(0);
}

void IntervalAndMethod::connectControls(MethodParameters& parameters) {
  parameters_ = &parameters;
  QObject::connect(radgrSearchMet, &TRadioGroup::itemIndexChanged, radgrSearchMet, [this] { radgrSearchMetClick(); });
}

bool IntervalAndMethod::readInterval() {
  const std::optional<double> low = state_.toNumber(edXmin->text());
  if (!low) return false;
  state_.Xmin = *low;
  const std::optional<double> high = state_.toNumber(edXmax->text());
  if (!high) return false;
  state_.Xmax = *high;
  return true;
}

void IntervalAndMethod::radgrSearchMetClick() {
  state_.guard().run([this] {
    const Lab::MethodInfo& method = Lab::windowMethods()[static_cast<std::size_t>(radgrSearchMet->itemIndex())];
    parameters_->showParameterOf(method);
    state_.currentMethod.reset();
    state_.currentMethod = method.make(state_.objective());
    state_.currentMethodId = method.id;
  });
}

}  // namespace Velmora
