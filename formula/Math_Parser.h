// The formula language: scanner, recursive-descent parser into a tree, and the
// evaluator with the program's 80-bit arithmetic.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Extended.h"

namespace Math_Parser {

using Velmora::Extended;

enum TToken : std::uint8_t {
  tkPlus, tkMinus, tkMul, tkDiv, tkMod, tkPow,
  tkSin, tkCos, tkTg, tkCtg, tkArcsin, tkArccos, tkArctg, tkArcctg,
  tkSh, tkCh, tkTh, tkCth, tkExp, tkLg, tkLn, tkSqrt, tkX,
  tkOpen, tkClose, tkE, tkPi, tkNumber, tkEnd,
};

enum TErrorCode {
  erUnknownKeyword,  ///< A run of letters that is no keyword. (Example: "sinx(1)")
  erUnknownSymbol,   ///< A character that starts no token. (Example: "1,5")
  erUnexpectedEnd,   ///< The text holds no token at all. (Example: "   ")
  erEndExpected,     ///< More tokens after a complete expression. (Example: "1)")
  erOpenExpected,    ///< A function name without its bracket. (Example: "sin 1")
  erCloseExpected,   ///< An unclosed bracket. (Example: "(1+2")
  erUnexpected,      ///< A token that cannot start an operand. (Example: "1+*2")
};

enum TOpCode {
  opAdd = 0, opSub, opMul, opDiv, opMod, opPow, opNeg,
  opSin = 10, opCos, opTg, opCtg, opArcsin, opArccos, opArctg, opArcctg,
  opSh, opCh, opTh, opCth, opExp, opLg, opLn, opSqrt, opVar,
};

// A syntax error: the user's text and the 0-based index of the offending token.
struct TError {
  TErrorCode Code;
  std::string Message;
  int Position;
};

// A leaf holds a constant in Value; an inner node holds its operation code there.
struct TParserNode {
  double Value;
  TParserNode* Left;
  TParserNode* Right;
};

class TParser {
 public:
  TParser() = default;
  TParser(const TParser&) = delete;
  TParser& operator=(const TParser&) = delete;
  ~TParser();

  bool Parse(const char* text);
  double Evaluate();

  const double* Values = nullptr;  ///< x[0]..x[9], owned by the caller
  double LastValue = 0;
  TParserNode* Root = nullptr;
  std::vector<TParserNode*> Nodes;  ///< every node of the parse in progress
};

// Receives the mathematical library's error reports ("sqrt: DOMAIN error", ...),
// one call per failing library call; the evaluation then goes on with the
// library's substitute result. An empty handler ignores the reports.
using TMathErrorHandler = std::function<void(const std::string& report)>;
void SetMathErrorHandler(TMathErrorHandler handler);

}  // namespace Math_Parser
