// The method panel: which method runs and by which stop rule, and the labels
// and enabled inputs that go with each choice.
#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "Main.h"
#include "MethodCatalogue.h"
#include "RadioGroup.h"
#include "SpinEdit.h"
#include "Widgets.h"

namespace Velmora {

void TMainForm::radgrSearchMetClick() {
  guard().run([this] {
    const Lab::MethodInfo& method = Lab::windowMethods()[static_cast<std::size_t>(radgrSearchMet->itemIndex())];
    const bool parametrised = method.param != Lab::ParamMeaning::None;
    labMetParam->setEnabled(parametrised);
    edMetParam->setEnabled(parametrised);
    // Back on scanning, the disabled label still names the parameter of the
    // method chosen before.
    if (parametrised) labMetParam->setText(ru(method.paramLabel));

    currentMethod.reset();
    currentMethod = method.make(objective());
    currentMethodId = method.id;
  });
}

void TMainForm::rbtnStepStopClick() {
  guard().run([this] {
    if (!rbtnStepStop->isChecked()) return;
    spedSteps->setEnabled(true);
    edPrecision->setEnabled(false);
    labMade->setText(QStringLiteral("Достигнутая точность:"));
  });
}

void TMainForm::rbtnPrecStopClick() {
  guard().run([this] {
    if (!rbtnPrecStop->isChecked()) return;
    spedSteps->setEnabled(false);
    edPrecision->setEnabled(true);
    labMade->setText(QStringLiteral("Сдел-е Число шагов:"));
  });
}

}  // namespace Velmora
