// Where the installed program finds what it brings: its own folder, and the
// folder of the shipped test sets.
#pragma once

#include <filesystem>
#include <string>

namespace Velmora::Cli {

// The folder of the running executable; empty when it cannot be told.
std::filesystem::path programFolder();
// The installed test sets beside the program, else the source tree's (a build tree's program).
std::string shippedDataFolder();

}  // namespace Velmora::Cli
