#include "SyntaxErrorText.h"

#include <algorithm>
#include <string_view>

namespace Velmora::Lab {

namespace {

// A long formula is shown as a window of this many characters each side of
// the error, so that the caret line stays on one screen.
constexpr std::size_t Context = 60;
constexpr std::string_view Cut = "...";

bool continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first byte at or after i that begins a character.
std::size_t characterStart(const std::string& text, std::size_t i) {
  while (i < text.size() && continues(text[i])) ++i;
  return i;
}

}  // namespace

std::string describeSyntaxError(const std::string& formula, const Math_Parser::TError& error) {
  const std::size_t position = std::clamp<std::size_t>(error.Position < 0 ? 0 : error.Position, 0, formula.size());
  const std::size_t begin = position > Context ? characterStart(formula, position - Context) : 0;
  const std::size_t end = characterStart(formula, std::min(formula.size(), position + Context));
  std::string line(begin > 0 ? Cut : "");
  std::string pad(line.size(), ' ');
  // The caret's column counts characters, not bytes, so it stays under the
  // right character when the formula holds UTF-8 text; a tab keeps its width.
  for (std::size_t i = begin; i < position; ++i) {
    if (continues(formula[i])) continue;
    pad += formula[i] == '\t' ? '\t' : ' ';
  }
  for (std::size_t i = begin; i < end; ++i) line += (formula[i] == '\n' || formula[i] == '\r') ? ' ' : formula[i];
  if (end < formula.size()) line += Cut;
  return "  " + line + "\n  " + pad + "^\n" + error.Message;
}

}  // namespace Velmora::Lab
