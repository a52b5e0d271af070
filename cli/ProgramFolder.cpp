#include "ProgramFolder.h"

#include <unistd.h>

#include <array>

namespace Velmora::Cli {

std::filesystem::path programFolder() {
  std::array<char, 4096> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  return std::filesystem::path(std::string(path.data(), static_cast<std::size_t>(length))).parent_path();
}

std::string shippedDataFolder() {
  const std::filesystem::path installed = programFolder() / VELMORA_DATA_FROM_BIN;
  if (std::filesystem::exists(installed / "hill1000.tsv")) return installed.string();
  return VELMORA_SOURCE_DATA_DIR;
}

}  // namespace Velmora::Cli
