// The formula language: scanner, recursive-descent parser into a tree, and the
// evaluation of the tree, compiled into a flat program, with the program's
// 80-bit arithmetic.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Extended.h"
#include "FormulaProgram.h"

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
  erTooDeep,         ///< Nesting beyond what the stack can walk. (Example: 1001 "(" in a row)
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

// An evaluation the formula cannot make sense of, as opposed to an arithmetic
// fault: an index of x outside the variable table, or no formula at all.
class TEvalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value and its derivative by x[0]; the slope is NaN where the formula has
// no finite derivative (docs/formula.md).
struct TValueAndSlope {
  double Value;
  double Slope;
};

// A leaf holds a constant in Value; an inner node holds its operation code there.
struct TParserNode {
  double Value;
  TParserNode* Left;
  TParserNode* Right;
};

class TParser {
 public:
  /// Entries of the caller's variable table x[0]..x[9].
  static constexpr int VariableCount = 10;
  /// Brackets, function arguments, indices and "^" links open inside each other.
  static constexpr int MaxNesting = 1000;
  /// Levels of the finished tree. The evaluation keeps its operands on a
  /// stack of its own, so the bound is the language's and not the machine's.
  static constexpr int MaxHeight = 20000;

  TParser() = default;
  TParser(const TParser&) = delete;
  TParser& operator=(const TParser&) = delete;
  ~TParser();

  /// Throws TError on any syntax error; then no tree exists until the next success.
  bool Parse(const char* text);
  /// Throws Velmora::ArithmeticFault or TEvalError; LastValue is then unchanged.
  double Evaluate();
  /// The same value, with the same reports and faults, and its slope by x[0].
  TValueAndSlope ValueAndSlope();
  /// The flat program the evaluation runs.
  const FormulaProgram& Program() const { return program; }

  const double* Values = nullptr;  ///< x[0]..x[9], owned by the caller
  double LastValue = 0;
  TParserNode* Root = nullptr;
  std::vector<TParserNode*> Nodes;  ///< every node of the parse in progress

  // The steps below are the parser's own; they are public so tests can drive
  // the scanner token by token and walk subtrees.
  const char* Text = "";  ///< borrowed from the caller of Parse for the call only
  int Pos = 0;            ///< index of the next unread character of Text
  std::string TokenText;  ///< the current token as written (identifiers lower-cased)
  TToken Token = tkEnd;

  void NextToken();
  [[noreturn]] void RaiseError(TErrorCode code);
  TParserNode* NewNode(double value, TParserNode* left, TParserNode* right);
  static void FreeTree(TParserNode* node);

  TParserNode* ParseSum();
  TParserNode* ParseTerm();
  TParserNode* ParsePower();
  TParserNode* ParseUnary();
  TParserNode* ParseFunction();
  TParserNode* ParsePrimary();

 private:
  [[noreturn]] void raiseAt(TErrorCode code, std::string message, int position);
  void enterNesting();
  void growHeight(int operandHeight, int operatorPosition);
  int tokenStart() const { return Pos - static_cast<int>(TokenText.size()); }

  int nesting = 0;     // open brackets, arguments and "^" links around the current token
  int lastHeight = 0;  // height of the subtree the last grammar level returned
  FormulaProgram program;
};

// Receives the mathematical library's error reports ("sqrt: DOMAIN error", ...),
// one call per failing library call; the evaluation then goes on with the
// library's substitute result. An empty handler ignores the reports. The
// handler belongs to the calling thread; setting one returns the one before.
using TMathErrorHandler = std::function<void(const std::string& report)>;
TMathErrorHandler SetMathErrorHandler(TMathErrorHandler handler);

}  // namespace Math_Parser
