// The method panel, Search and About connect their handlers here.
#include <QPushButton>
#include <QRadioButton>

#include "Main.h"
#include "RadioGroup.h"

namespace Velmora {

void TMainForm::connectSearchPanel() {
  connect(radgrSearchMet, &TRadioGroup::itemIndexChanged, this, [this] { radgrSearchMetClick(); });
  // Only the button that becomes checked acts; its partner's unchecking does not.
  connect(rbtnStepStop, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) rbtnStepStopClick();
  });
  connect(rbtnPrecStop, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) rbtnPrecStopClick();
  });
  connect(bbtnSearchMin, &QPushButton::clicked, this, [this] { bbtnSearchMinClick(); });
  connect(bbtnProgramInfo, &QPushButton::clicked, this, [this] { bbtnProgramInfoClick(); });
}

}  // namespace Velmora
