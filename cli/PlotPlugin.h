// The picture writers as a module loaded at run time, so that velmora-run
// links no Qt and only --plot and --operational bring it in.
#pragma once

#include <string>

#include "PlotRequest.h"

// The module's entries; each returns false with the user's text of a failure.
extern "C" bool velmoraWritePlotPng(const Velmora::Cli::PlotRequest& request, std::string& failure);
extern "C" bool velmoraWriteOperationalPng(const Velmora::Cli::OperationalRequest& request, std::string& failure);

namespace Velmora::Cli {

// Writers that load the module on their first use, from beside the program
// (the build tree) or from its library folder (an installed program).
PlotWriter loadedPlotWriter();
OperationalWriter loadedOperationalWriter();

}  // namespace Velmora::Cli
