#include <dlfcn.h>

#include <filesystem>

#include "PlotPlugin.h"
#include "ProgramFolder.h"

namespace Velmora::Cli {

namespace {

struct LoadedModule {
  void* handle = nullptr;
  std::string failure;
};

// Loaded once; the module stays until the process ends: Qt does not expect
// to be unloaded.
const LoadedModule& pictureModule() {
  static const LoadedModule module = [] {
    const std::filesystem::path folder = programFolder();
    std::string lastError;
    for (const std::filesystem::path& candidate :
         {folder / PlotModuleName, folder / VELMORA_PLOT_MODULE_FROM_BIN / PlotModuleName}) {
      if (!std::filesystem::exists(candidate)) continue;
      if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return LoadedModule{handle, {}};
      lastError = dlerror();
    }
    return LoadedModule{nullptr, lastError.empty() ? std::string("the picture writer ") + PlotModuleName +
                                                         " is not installed beside " + folder.string()
                                                   : lastError};
  }();
  return module;
}

// A writer that calls the module's entry of that name, loading the module on first use.
template <class Request>
std::function<std::optional<std::string>(const Request&)> loadedWriter(const char* entry) {
  using Entry = bool (*)(const Request&, std::string&);
  return [entry](const Request& request) -> std::optional<std::string> {
    const LoadedModule& module = pictureModule();
    if (!module.handle) return module.failure;
    const auto write = reinterpret_cast<Entry>(dlsym(module.handle, entry));
    if (!write) return std::string(PlotModuleName) + " has no entry " + entry;
    std::string failure;
    if (!write(request, failure)) return failure;
    return std::nullopt;
  };
}

}  // namespace

PlotWriter loadedPlotWriter() { return loadedWriter<PlotRequest>("velmoraWritePlotPng"); }

OperationalWriter loadedOperationalWriter() { return loadedWriter<OperationalRequest>("velmoraWriteOperationalPng"); }

}  // namespace Velmora::Cli
