#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "PlotPlugin.h"

namespace Velmora::Cli {

namespace {

using WriteFunction = bool (*)(const PlotRequest&, std::string&);

std::filesystem::path programFolder() {
  std::array<char, 4096> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  return std::filesystem::path(std::string(path.data(), static_cast<std::size_t>(length))).parent_path();
}

// The module stays loaded until the process ends: Qt does not expect to be unloaded.
WriteFunction loadWriter(std::string& failure) {
  const std::filesystem::path folder = programFolder();
  std::string lastError;
  for (const std::filesystem::path& candidate :
       {folder / PlotModuleName, folder / VELMORA_PLOT_MODULE_FROM_BIN / PlotModuleName}) {
    if (!std::filesystem::exists(candidate)) continue;
    void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      lastError = dlerror();
      continue;
    }
    if (auto* write = reinterpret_cast<WriteFunction>(dlsym(module, "velmoraWritePlotPng"))) return write;
    lastError = candidate.string() + " has no picture writer";
  }
  failure = lastError.empty() ? std::string("the picture writer ") + PlotModuleName + " is not installed beside " +
                                    folder.string()
                              : lastError;
  return nullptr;
}

}  // namespace

PlotWriter loadedPlotWriter() {
  return [](const PlotRequest& request) -> std::optional<std::string> {
    std::string failure;
    static const WriteFunction write = loadWriter(failure);
    if (!write) return failure.empty() ? "the picture writer could not be loaded" : failure;
    if (!write(request, failure)) return failure;
    return std::nullopt;
  };
}

}  // namespace Velmora::Cli
