// Numbers as files and arguments write them: one whole token, "." as the
// decimal point whatever the locale, finite; and counts within their bounds.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Velmora::Lab {

// A value that breaks its rule; what() is the user's text and names the value.
class BadValue : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "+10" is taken, as people and the window write it; what names the value in
// the message ("--delta", "xstar"). Throws BadValue.
double readNumber(std::string_view text, std::string_view what);

// A whole number from lo to hi ("+3" taken). Throws BadValue.
int readCount(std::string_view text, std::string_view what, int lo, int hi);
// The same rule for a count given as a number: its words after the count's
// name ("\"0\" is out of range (expected ...)"), none when it holds.
std::optional<std::string> countRule(long long value, int lo, int hi);
// Throws BadValue, naming the count what.
int checkCount(long long value, std::string_view what, int lo, int hi);
// Any unsigned 64-bit number: a seed, a function's number in its class. Throws BadValue.
std::uint64_t readIndex(std::string_view text, std::string_view what);

}  // namespace Velmora::Lab
