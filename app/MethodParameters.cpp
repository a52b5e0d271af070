#include "MethodParameters.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "Main.h"
#include "MethodCatalogue.h"
#include "SearchResults.h"
#include "Widgets.h"

namespace Velmora {

void MethodParameters::createControls(QWidget* window) {
  grbMetParams = makeGroup(window, "grbMetParams", "Параметры метода поиска:", 0, 232, 314, 89, false);
  // 231 wide rather than 233, so the buttons end where the spin edit begins.
  rbtnStepStop = make<QRadioButton>(grbMetParams, "rbtnStepStop", 8, 18, 231, 17);
  rbtnStepStop->setText(ru("Остановка метода по числу шагов:"));
  setFontStyle(rbtnStepStop, true);
  rbtnStepStop->setChecked(true);
  rbtnPrecStop = make<QRadioButton>(grbMetParams, "rbtnPrecStop", 8, 40, 231, 17);
  rbtnPrecStop->setText(ru("Остановка метода по точности:---->"));
  setFontStyle(rbtnPrecStop, true);
  spedSteps = make<TSpinEdit>(grbMetParams, "spedSteps", 239, 14, 70, 22);
  setFontStyle(spedSteps, true);
  spedSteps->setRange(1, 100000);
  spedSteps->setSingleStep(1);
  spedSteps->setValue(100);
  spedSteps->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  // The defaults are written with the regional separator, so they read back
  // whatever the locale.
  const QString& separator = state_.decimalSeparator();
  edPrecision = makeEdit(grbMetParams, "edPrecision", 239, 39, 69, 21, "0" + separator + "1");
  edPrecision->setEnabled(false);
  edMetParam = makeEdit(grbMetParams, "edMetParam", 239, 63, 69, 21, "1" + separator + "5");
  edMetParam->setEnabled(false);
  // At start the label names the broken lines' parameter, though scanning is
  // chosen. (The catalogue's texts are literals, so data() ends the text.)
  labMetParam = makeLabel(grbMetParams, "labMetParam", Lab::methodInfo(Lab::MethodId::Piyavsky).paramLabel.data(),
                          12, 65, 230, 13, true);
  labMetParam->setEnabled(false);
}

void MethodParameters::connectControls(SearchResults& results) {
  results_ = &results;
  // Only the button that becomes checked acts; its partner's unchecking does not.
  QObject::connect(rbtnStepStop, &QRadioButton::toggled, rbtnStepStop, [this](bool checked) {
    if (checked) rbtnStepStopClick();
  });
  QObject::connect(rbtnPrecStop, &QRadioButton::toggled, rbtnPrecStop, [this](bool checked) {
    if (checked) rbtnPrecStopClick();
  });
}

void MethodParameters::showParameterOf(const Lab::MethodInfo& method) {
  const bool parametrised = method.param != Lab::ParamMeaning::None;
  labMetParam->setEnabled(parametrised);
  edMetParam->setEnabled(parametrised);
  if (parametrised) labMetParam->setText(ru(method.paramLabel));
}

void MethodParameters::rbtnStepStopClick() {
  state_.guard().run([this] {
    if (!rbtnStepStop->isChecked()) return;
    spedSteps->setEnabled(true);
    edPrecision->setEnabled(false);
    results_->nameMadeParam(Lab::StopKind::Steps);
  });
}

void MethodParameters::rbtnPrecStopClick() {
  state_.guard().run([this] {
    if (!rbtnPrecStop->isChecked()) return;
    spedSteps->setEnabled(false);
    edPrecision->setEnabled(true);
    results_->nameMadeParam(Lab::StopKind::Precision);
  });
}

}  // namespace Velmora
