// The text of --help: a line for each mode, listing its options from the
// table of options, and what their values mean.
#pragma once

#include <string>

namespace Velmora::Cli {

std::string usageText();

}  // namespace Velmora::Cli
