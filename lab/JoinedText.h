// A list in one line of text, as messages and outputs name several things.
#pragma once

#include <string>
#include <vector>

namespace Velmora::Lab {

// The items with separator between each two: joined({"a", "b"}, ", ") is "a, b".
inline std::string joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

}  // namespace Velmora::Lab
