// A text cut at each separator: a comma list of the command line, a row of
// a test set's tab-separated file, a cell's list of minimisers.
#pragma once

#include <string_view>
#include <vector>

namespace Velmora::Cli {

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

}  // namespace Velmora::Cli
