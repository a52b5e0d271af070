// The entries of the picture writers' module, which velmora-run loads only
// for --plot and --operational: Qt comes into the process with it and not before.
#include "PlotPlugin.h"

#include "OperationalPng.h"
#include "PlotPng.h"

namespace {

template <class Request>
bool written(std::optional<std::string> (*write)(const Request&), const Request& request, std::string& failure) {
  if (const std::optional<std::string> problem = write(request)) {
    failure = *problem;
    return false;
  }
  return true;
}

}  // namespace

extern "C" bool velmoraWritePlotPng(const Velmora::Cli::PlotRequest& request, std::string& failure) {
  return written(Velmora::Cli::writePlotPng, request, failure);
}

extern "C" bool velmoraWriteOperationalPng(const Velmora::Cli::OperationalRequest& request, std::string& failure) {
  return written(Velmora::Cli::writeOperationalPng, request, failure);
}
