#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <array>
#include <filesystem>
#include <string>

#include "PlotPlugin.h"
#include "ProgramFolder.h"

namespace Velmora::Cli {

namespace {

constexpr const char* PlotModuleName = VELMORA_PLOT_MODULE_NAME;

// Opening a module and finding an entry in it, the Windows way and the POSIX way.
#ifdef _WIN32
void* openModule(const std::filesystem::path& file, std::string& failure) {
  if (HMODULE handle = LoadLibraryW(file.c_str())) return handle;
  std::array<char, 512> text{};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      GetLastError(), 0, text.data(), static_cast<DWORD>(text.size()), nullptr);
  failure = file.string() + ": " + std::string(text.data(), length);
  while (!failure.empty() && (failure.back() == '\n' || failure.back() == '\r')) failure.pop_back();
  return nullptr;
}

void* moduleEntry(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
#else
void* openModule(const std::filesystem::path& file, std::string& failure) {
  if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
  failure = dlerror();
  return nullptr;
}

void* moduleEntry(void* module, const char* name) { return dlsym(module, name); }
#endif

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
      if (void* handle = openModule(candidate, lastError)) return LoadedModule{handle, {}};
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
    const auto write = reinterpret_cast<Entry>(moduleEntry(module.handle, entry));
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
