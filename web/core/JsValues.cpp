#include "JsValues.h"

#include "ReadNumber.h"

namespace Velmora::Web {

namespace {

val present(const val& object, const char* key) {
  if (!object.isUndefined() && !object.isNull() && object.typeOf().as<std::string>() == "object") return object[key];
  return val::undefined();
}

bool missing(const val& v) { return v.isUndefined() || v.isNull(); }

}  // namespace

std::optional<double> numberField(const val& object, const char* key) {
  const val v = present(object, key);
  if (missing(v)) return std::nullopt;
  if (!v.isNumber()) throw Lab::BadValue(std::string(key) + " must be a number");
  return v.as<double>();
}

std::optional<std::string> textField(const val& object, const char* key) {
  const val v = present(object, key);
  if (missing(v)) return std::nullopt;
  if (!v.isString()) throw Lab::BadValue(std::string(key) + " must be a string");
  return v.as<std::string>();
}

bool flagField(const val& object, const char* key) {
  const val v = present(object, key);
  return !missing(v) && v.as<bool>();
}

std::vector<double> numbersField(const val& object, const char* key) {
  const val v = present(object, key);
  if (missing(v)) return {};
  if (!val::global("Array").call<bool>("isArray", v)) throw Lab::BadValue(std::string(key) + " must be an array of numbers");
  std::vector<double> values;
  const unsigned n = v["length"].as<unsigned>();
  for (unsigned i = 0; i < n; ++i) {
    const val item = v[i];
    if (!item.isNumber()) throw Lab::BadValue(std::string(key) + " must be an array of numbers");
    values.push_back(item.as<double>());
  }
  return values;
}

std::vector<std::string> textsField(const val& object, const char* key) {
  const val v = present(object, key);
  if (missing(v)) return {};
  if (!val::global("Array").call<bool>("isArray", v)) throw Lab::BadValue(std::string(key) + " must be an array of strings");
  std::vector<std::string> texts;
  const unsigned n = v["length"].as<unsigned>();
  for (unsigned i = 0; i < n; ++i) {
    const val item = v[i];
    if (!item.isString()) throw Lab::BadValue(std::string(key) + " must be an array of strings");
    texts.push_back(item.as<std::string>());
  }
  return texts;
}

val float64Array(std::span<const double> values) {
  return val::global("Float64Array").new_(val(emscripten::typed_memory_view(values.size(), values.data())));
}

val int32Array(std::span<const int> values) {
  return val::global("Int32Array").new_(val(emscripten::typed_memory_view(values.size(), values.data())));
}

val pointsObject(std::span<const double> x, std::span<const double> f) {
  val points = val::object();
  points.set("x", float64Array(x));
  points.set("f", float64Array(f));
  return points;
}

val optionalNumber(const std::optional<double>& value) { return value ? val(*value) : val::null(); }

val optionalText(const std::optional<std::string>& value) { return value ? val(*value) : val::null(); }

val errorObject(const char* kind, const std::string& message) {
  val error = val::object();
  error.set("kind", kind);
  error.set("message", message);
  return error;
}

val errorAnswer(val error) {
  val answer = val::object();
  answer.set("error", std::move(error));
  return answer;
}

}  // namespace Velmora::Web
