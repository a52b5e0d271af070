// The method panel, Search and About connect their handlers here.
#include "Main.h"

namespace Velmora {

void TMainForm::connectSearchPanel() {}

}  // namespace Velmora
