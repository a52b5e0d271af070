// A search as the page asks for it: the formula with its parameters, the
// interval, the method, its parameter and one stop rule, read from a plain
// object and checked by the core's rules.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "FormulaFunction.h"
#include "JsValues.h"
#include "Search.h"

namespace Velmora::Web {

struct FormulaRequest {
  std::unique_ptr<Lab::FormulaFunction> function;  ///< the formula, compiled
  Lab::SearchRequest request;                      ///< its objective calls function
};

// The request, or in error the answer to give instead: {kind: "formula",
// message, position} for a syntax error, with the message as the window's
// error line writes it, or {kind: "request", field, message}.
struct ReadRequest {
  std::optional<FormulaRequest> search;
  val error = val::null();
};
ReadRequest readFormulaRequest(const val& object);

// The window's error line for a syntax error: "')' expected at position 7".
std::string syntaxErrorLine(const std::string& formula, const Math_Parser::TError& error);

}  // namespace Velmora::Web
