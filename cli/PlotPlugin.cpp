// The entry of the picture writer's module, which velmora-run loads only for
// --plot: Qt comes into the process with it and not before.
#include "PlotPlugin.h"
#include "PlotPng.h"

extern "C" bool velmoraWritePlotPng(const Velmora::Cli::PlotRequest& request, std::string& failure) {
  if (const std::optional<std::string> problem = Velmora::Cli::writePlotPng(request)) {
    failure = *problem;
    return false;
  }
  return true;
}
