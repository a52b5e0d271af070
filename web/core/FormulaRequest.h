// A search as the page asks for it: the formula with its parameters, the
// interval, the method, its parameter and one stop rule, read from a plain
// object and checked by the core's rules.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "FormulaFunction.h"
#include "JsValues.h"
#include "RequestCheck.h"
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

// The object's formula with its params, compiled; or, without a function,
// the error to answer as readFormulaRequest gives it.
struct CompiledFormula {
  std::unique_ptr<Lab::FormulaFunction> function;
  val error = val::null();
};
CompiledFormula compileFormula(const val& object);

// The object's xmin and xmax; Lab::BadValue when either is missing.
std::pair<double, double> readInterval(const val& object);
// {kind: "request", field, message} for a fault of the core's request check.
val faultAnswer(const Lab::RequestFault& fault);

// The window's error line for a syntax error: "')' expected at position 7".
std::string syntaxErrorLine(const std::string& formula, const Math_Parser::TError& error);

}  // namespace Velmora::Web
