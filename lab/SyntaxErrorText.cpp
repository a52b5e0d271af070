#include "SyntaxErrorText.h"

#include <algorithm>

namespace Velmora::Lab {

std::string describeSyntaxError(const std::string& formula, const Math_Parser::TError& error) {
  const std::size_t position = std::clamp<std::size_t>(error.Position < 0 ? 0 : error.Position, 0, formula.size());
  // The caret's column counts characters, not bytes, so it stays under the
  // right character when the formula holds UTF-8 text; a tab keeps its width.
  std::string pad;
  for (std::size_t i = 0; i < position; ++i) {
    const unsigned char c = static_cast<unsigned char>(formula[i]);
    if ((c & 0xC0) == 0x80) continue;
    pad += c == '\t' ? '\t' : ' ';
  }
  std::string line;
  for (char c : formula) line += (c == '\n' || c == '\r') ? ' ' : c;
  return "  " + line + "\n  " + pad + "^\n" + error.Message;
}

}  // namespace Velmora::Lab
