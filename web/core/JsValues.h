// Between JavaScript's plain objects and the core's values: the fields of a
// request as the page hands them over, and numbers back as typed arrays.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <emscripten/val.h>

namespace Velmora::Web {

using emscripten::val;

// A field that is missing, undefined or null reads as none; one of another
// type throws Lab::BadValue naming it.
std::optional<double> numberField(const val& object, const char* key);
std::optional<std::string> textField(const val& object, const char* key);
bool flagField(const val& object, const char* key);
// An array of numbers (none when the field is missing).
std::vector<double> numbersField(const val& object, const char* key);
std::vector<std::string> textsField(const val& object, const char* key);

// A copy in the page's memory, so that it outlives the core's.
val float64Array(std::span<const double> values);
val int32Array(std::span<const int> values);

// {x, f}: points of a chart, each coordinate a Float64Array.
val pointsObject(std::span<const double> x, std::span<const double> f);

// null for none.
val optionalNumber(const std::optional<double>& value);
val optionalText(const std::optional<std::string>& value);

// {kind, message}, the shape every call answers a fault with.
val errorObject(const char* kind, const std::string& message);

// {error} alone.
val errorAnswer(val error);

// The call's answer; anything the core throws stops here and comes back as
// {error: {kind: "internal", message}}: nothing thrown reaches the page's script.
template <class Call>
val answered(Call&& call) {
  try {
    return call();
  } catch (const std::exception& e) {
    return errorAnswer(errorObject("internal", e.what()));
  }
}

}  // namespace Velmora::Web
