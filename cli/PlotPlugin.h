// The picture writer as a module loaded at run time, so that velmora-run links
// no Qt and only --plot brings it in.
#pragma once

#include <string>

#include "PlotRequest.h"

// The module's one entry; returns false with the user's text of a failure.
extern "C" bool velmoraWritePlotPng(const Velmora::Cli::PlotRequest& request, std::string& failure);

namespace Velmora::Cli {

inline constexpr const char* PlotModuleName = "libvelmora_plot.so";

// A writer that loads the module on its first use, from beside the program
// (the build tree) or from its library folder (an installed program).
PlotWriter loadedPlotWriter();

}  // namespace Velmora::Cli
