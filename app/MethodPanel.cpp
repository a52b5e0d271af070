// The method panel: which method runs and by which stop rule, and the labels
// and enabled inputs that go with each choice.
#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "Main.h"
#include "Piyavsky_opt.h"
#include "RadioGroup.h"
#include "Scan_opt.h"
#include "SpinEdit.h"
#include "Strongin_opt.h"

namespace Velmora {

void TMainForm::radgrSearchMetClick() {
  guard().run([this] {
    const int index = radgrSearchMet->itemIndex();
    const bool parametrised = index == 1 || index == 2;
    labMetParam->setEnabled(parametrised);
    edMetParam->setEnabled(parametrised);
    // Back on scanning, the disabled label still names the parameter of the
    // method chosen before.
    if (index == 1) labMetParam->setText(QStringLiteral("Оценка Константы Липщица:------------>"));
    if (index == 2) labMetParam->setText(QStringLiteral("Множитель Константы Липщица:------>"));

    currentMethod.reset();
    switch (index) {
      case 1: currentMethod = std::make_unique<VELMORAALG::TPiyavskyOpt>(objective()); break;
      case 2: currentMethod = std::make_unique<VELMORAALG::TStronginOpt>(objective()); break;
      default: currentMethod = std::make_unique<VELMORAALG::TScanOpt>(objective()); break;
    }
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
