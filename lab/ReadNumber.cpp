#include "ReadNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "DoubleChars.h"

namespace Velmora::Lab {

namespace {

// from_chars takes no "+".
std::string_view withoutPlus(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  return text;
}

std::string quoted(std::string_view what, std::string_view text) {
  return std::string(what) + ": \"" + std::string(text) + "\"";
}

std::string countRange(int lo, int hi) {
  return " (expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ")";
}

}  // namespace

double readNumber(std::string_view text, std::string_view what) {
  const std::string_view digits = withoutPlus(text);
  double value = 0;
  const auto [end, ec] = doubleFromChars(digits.data(), digits.data() + digits.size(), value);
  const std::string named = quoted(what, text);
  if (ec == std::errc::result_out_of_range) throw BadValue(named + " is out of the range of numbers");
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    std::string message = named + " is not a number";
    if (text.find(',') != std::string_view::npos) message += " (the decimal point is \".\")";
    throw BadValue(message);
  }
  if (!std::isfinite(value)) throw BadValue(named + " is not a finite number");
  return value;
}

int readCount(std::string_view text, std::string_view what, int lo, int hi) {
  const std::string_view digits = withoutPlus(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  const bool whole = ec == std::errc() && end == digits.data() + digits.size();
  if (ec == std::errc::result_out_of_range || (whole && (value < lo || value > hi)))
    throw BadValue(quoted(what, text) + " is out of range" + countRange(lo, hi));
  if (!whole) throw BadValue(quoted(what, text) + " is not a whole number" + countRange(lo, hi));
  return value;
}

std::optional<std::string> countRule(long long value, int lo, int hi) {
  if (value >= lo && value <= hi) return std::nullopt;
  return "\"" + std::to_string(value) + "\" is out of range" + countRange(lo, hi);
}

int checkCount(long long value, std::string_view what, int lo, int hi) {
  if (const auto rule = countRule(value, lo, hi)) throw BadValue(std::string(what) + ": " + *rule);
  return static_cast<int>(value);
}

std::uint64_t readIndex(std::string_view text, std::string_view what) {
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  const std::string range =
      " (expected a whole number from 0 to " + std::to_string(std::numeric_limits<std::uint64_t>::max()) + ")";
  const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  const bool negative =
      text.size() > 1 && text[0] == '-' && text.substr(1).find_first_not_of("0123456789") == std::string_view::npos;
  if (ec == std::errc::result_out_of_range || negative) throw BadValue(quoted(what, text) + " is out of range" + range);
  if (!digits || ec != std::errc() || end != text.data() + text.size())
    throw BadValue(quoted(what, text) + " is not a whole number" + range);
  return value;
}

}  // namespace Velmora::Lab
