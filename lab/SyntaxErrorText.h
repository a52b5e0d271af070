// How the command line and the test-set reader show a formula's syntax error.
#pragma once

#include <string>

#include "Math_Parser.h"

namespace Velmora::Lab {

// The formula with a caret under the error's position, then the parser's message.
std::string describeSyntaxError(const std::string& formula, const Math_Parser::TError& error);

}  // namespace Velmora::Lab
