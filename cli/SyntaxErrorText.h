// How velmora-run shows a formula's syntax error.
#pragma once

#include <string>

#include "Math_Parser.h"

namespace Velmora::Cli {

// The formula with a caret under the error's position, then the parser's message.
std::string describeSyntaxError(const std::string& formula, const Math_Parser::TError& error);

}  // namespace Velmora::Cli
