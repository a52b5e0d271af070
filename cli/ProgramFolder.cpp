#include "ProgramFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <array>

namespace Velmora::Cli {

#ifdef _WIN32
std::filesystem::path programFolder() {
  std::array<wchar_t, 32768> path{};
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  return std::filesystem::path(std::wstring(path.data(), length)).parent_path();
}
#else
std::filesystem::path programFolder() {
  std::array<char, 4096> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  return std::filesystem::path(std::string(path.data(), static_cast<std::size_t>(length))).parent_path();
}
#endif

std::string shippedDataFolder() {
  const std::filesystem::path installed = programFolder() / VELMORA_DATA_FROM_BIN;
  if (std::filesystem::exists(installed / "hill1000.tsv")) return installed.string();
  return VELMORA_SOURCE_DATA_DIR;
}

}  // namespace Velmora::Cli
