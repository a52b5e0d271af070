// A text cut at each separator (a comma list of the command line, a row of
// a test set's tab-separated file, a cell's list of minimisers), and a list
// put into words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Velmora::Lab {

// Every field, empty ones included: "a,,b" is three fields, "" one.
inline std::vector<std::string_view> splitFields(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t end = text.find(separator);
    fields.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return fields;
    text.remove_prefix(end + 1);
  }
}

// "a, b or c"
inline std::string listed(const std::vector<std::string_view>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i)
    text.append(i == 0 ? "" : i + 1 == items.size() ? " or " : ", ").append(items[i]);
  return text;
}

}  // namespace Velmora::Lab
