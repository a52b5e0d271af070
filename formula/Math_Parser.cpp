#include "Math_Parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "MathLibrary.h"

namespace Math_Parser {

using Velmora::Extended;
using namespace mathlib;

namespace {

struct Keyword {
  std::string_view word;
  TToken token;
};

constexpr Keyword kKeywords[] = {
    {"x", tkX},          {"pi", tkPi},         {"e", tkE},          {"sin", tkSin},
    {"cos", tkCos},      {"tg", tkTg},         {"ctg", tkCtg},      {"arcsin", tkArcsin},
    {"arccos", tkArccos}, {"arctg", tkArctg},  {"arcctg", tkArcctg}, {"sh", tkSh},
    {"ch", tkCh},        {"th", tkTh},         {"cth", tkCth},      {"exp", tkExp},
    {"lg", tkLg},        {"ln", tkLn},         {"sqrt", tkSqrt},
};

// Only ASCII counts: bytes above 127 (a Cyrillic letter, say) start no token.
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The nearest double to the decimal literal; a literal beyond the double
// range rounds to infinity, one below it to zero, as round-to-nearest does.
double literalValue(const std::string& text) {
  double value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    const bool large = std::find_if(first, std::find(first, last, '.'),
                                    [](char c) { return c != '0'; }) != std::find(first, last, '.');
    return large ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (error != std::errc() || end != last) return 0;  // "." alone
  return value;
}

// Truncates toward zero to 64 bits and keeps the low 32 as a signed value;
// NaN and values beyond the 64-bit range give 0.
std::int32_t integerOf(Extended v) {
  constexpr Extended kLimit = 0x1p63;
  if (!(v >= -kLimit && v < kLimit)) return 0;
  const auto wide = static_cast<std::int64_t>(v);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

// pi/2 as the nearest double; arcctg subtracts from it at 80 bits.
constexpr Extended kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;

[[gnu::noinline]] Extended remainderOf(Extended left, Extended right) {
  const std::int32_t a = integerOf(left);
  const std::int32_t b = integerOf(right);
  if (b == 0) Velmora::raiseFault(Velmora::FaultKind::IntZeroDivide);
  if (b == -1 && a == std::numeric_limits<std::int32_t>::min())
    Velmora::raiseFault(Velmora::FaultKind::IntOverflow);
  return a % b;
}

// Library functions take their argument as a double.
[[gnu::noinline]] Extended libraryFunction(int op, double v) {
  using Velmora::add, Velmora::sub, Velmora::mul, Velmora::div;
  switch (op) {
    case opSin: return libSin(v);
    case opCos: return libCos(v);
    case opTg: return libTan(v);
    case opCtg: return div(1.0L, libTan(v));
    case opArcsin: return libAsin(v);
    case opArccos: return libAcos(v);
    case opArctg: return libAtan(v);
    case opArcctg: return sub(kHalfPi, libAtan(v));
    // The hyperbolic functions are built from exp, called in this order, so
    // each overflowing call makes its own report.
    case opSh: {
      const Extended plus = libExp(v);
      return mul(sub(plus, libExp(-v)), 0.5L);
    }
    case opCh: {
      const Extended plus = libExp(v);
      return mul(add(plus, libExp(-v)), 0.5L);
    }
    case opTh: {
      const Extended plus = libExp(v);
      const Extended numerator = sub(plus, libExp(-v));
      const Extended plus2 = libExp(v);
      return div(numerator, add(plus2, libExp(-v)));
    }
    case opCth: {
      const Extended plus = libExp(v);
      const Extended numerator = add(plus, libExp(-v));
      const Extended plus2 = libExp(v);
      return div(numerator, sub(plus2, libExp(-v)));
    }
    case opExp: return libExp(v);
    case opLg: return libLog10(v);
    case opLn: return libLog(v);
    case opSqrt: return libSqrt(v);
    default: break;
  }
  throw TEvalError("Unknown operation in the formula tree");
}

}  // namespace

TParser::~TParser() {
  FreeTree(Root);
  for (TParserNode* node : Nodes) delete node;
}

/* <formula> = <sum> EOL */
bool TParser::Parse(const char* text) {
  Pos = 0;
  // A missing text reads as an empty one rather than a crash.
  Text = text ? text : "";
  TokenText.clear();
  nesting = 0;
  lastHeight = 0;
  if (Root) {
    FreeTree(Root);
    Root = nullptr;
  }
  Nodes.clear();
  try {
    NextToken();
    if (Token == tkEnd) RaiseError(erUnexpectedEnd);
    Root = ParseSum();
    if (Token != tkEnd) RaiseError(erEndExpected);
  } catch (const TError&) {
    throw;
  } catch (...) {
    // Out of memory midway: the nodes made so far must not leak.
    for (TParserNode* node : Nodes) delete node;
    Nodes.clear();
    Root = nullptr;
    throw;
  }
  Nodes.clear();
  return true;
}

void TParser::NextToken() {
  TokenText.clear();
  while (Text[Pos] == ' ') ++Pos;
  const char c = Text[Pos];
  if (c == '\0') {
    Token = tkEnd;
    return;
  }
  TToken single = tkEnd;
  switch (c) {
    case '+': single = tkPlus; break;
    case '-': single = tkMinus; break;
    case '*': single = tkMul; break;
    case '/': single = tkDiv; break;
    case '%': single = tkMod; break;
    case '^': single = tkPow; break;
    case '(': case '[': single = tkOpen; break;
    case ')': case ']': single = tkClose; break;
    default: break;
  }
  if (single != tkEnd) {
    TokenText.assign(1, c);
    ++Pos;
    Token = single;
    return;
  }
  const int start = Pos;
  if (isLetter(c)) {
    while (isLetter(Text[Pos])) ++Pos;
    TokenText.assign(Text + start, Pos - start);
    for (char& letter : TokenText)
      if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
    for (const Keyword& keyword : kKeywords) {
      if (keyword.word == TokenText) {
        Token = keyword.token;
        return;
      }
    }
    RaiseError(erUnknownKeyword);
  }
  if (isDigit(c) || c == '.') {
    while (isDigit(Text[Pos])) ++Pos;
    if (Text[Pos] == '.') {
      ++Pos;
      while (isDigit(Text[Pos])) ++Pos;
    }
    TokenText.assign(Text + start, Pos - start);
    Token = tkNumber;
    return;
  }
  TokenText.assign(1, c);
  ++Pos;
  RaiseError(erUnknownSymbol);
}

void TParser::RaiseError(TErrorCode code) {
  // The length is taken before "EOL" stands in for the empty end token, so an
  // error at the end points just past the text.
  const int length = static_cast<int>(TokenText.size());
  if (TokenText.empty()) TokenText = "EOL";
  std::string message;
  switch (code) {
    case erUnknownKeyword: message = "Unknown keyword: '" + TokenText + "'"; break;
    case erUnknownSymbol: message = "Unknown symbol: '" + TokenText + "'"; break;
    case erUnexpectedEnd: message = "Unexpected end of expression"; break;
    case erEndExpected: message = "End of expression expected"; break;
    case erOpenExpected: message = "'(' or '[' expected"; break;
    case erCloseExpected: message = "')' or ']' expected"; break;
    case erUnexpected: message = "Unexpected '" + TokenText + "'"; break;
    case erTooDeep: message = "Expression is too deeply nested"; break;
  }
  raiseAt(code, std::move(message), Pos - length);
}

void TParser::raiseAt(TErrorCode code, std::string message, int position) {
  for (TParserNode* node : Nodes) delete node;
  Nodes.clear();
  Root = nullptr;
  throw TError{code, std::move(message), position};
}

TParserNode* TParser::NewNode(double value, TParserNode* left, TParserNode* right) {
  auto* node = new TParserNode{value, left, right};
  try {
    Nodes.push_back(node);
  } catch (...) {
    delete node;
    throw;
  }
  return node;
}

void TParser::FreeTree(TParserNode* node) {
  if (!node) return;
  FreeTree(node->Left);
  FreeTree(node->Right);
  delete node;
}

// Each level of brackets costs a handful of nested grammar calls; the bound
// keeps any formula, however long, well inside the stack.
void TParser::enterNesting() {
  if (nesting >= MaxNesting) RaiseError(erTooDeep);
  ++nesting;
}

// The evaluation and FreeTree recurse once per level of the tree, so a long
// chain like "1+1+...+1" is bounded as well.
void TParser::growHeight(int operandHeight, int operatorPosition) {
  if (operandHeight >= MaxHeight) raiseAt(erTooDeep, "Expression is too deeply nested", operatorPosition);
  lastHeight = operandHeight + 1;
}

/* <sum> = <term> {("+" | "-") <term>} */
TParserNode* TParser::ParseSum() {
  TParserNode* left = ParseTerm();
  int height = lastHeight;
  while (Token == tkPlus || Token == tkMinus) {
    const TOpCode op = Token == tkPlus ? opAdd : opSub;
    const int at = tokenStart();
    NextToken();
    TParserNode* right = ParseTerm();
    growHeight(std::max(height, lastHeight), at);
    height = lastHeight;
    left = NewNode(op, left, right);
  }
  lastHeight = height;
  return left;
}

/* <term> = <power> {("*" | "/" | "%") <power>} */
TParserNode* TParser::ParseTerm() {
  TParserNode* left = ParsePower();
  int height = lastHeight;
  while (Token == tkMul || Token == tkDiv || Token == tkMod) {
    const TOpCode op = Token == tkMul ? opMul : Token == tkDiv ? opDiv : opMod;
    const int at = tokenStart();
    NextToken();
    TParserNode* right = ParsePower();
    growHeight(std::max(height, lastHeight), at);
    height = lastHeight;
    left = NewNode(op, left, right);
  }
  lastHeight = height;
  return left;
}

/* <power> = <unary> ["^" <power>] */
// Right recursion makes "2^3^2" mean 2^(3^2).
TParserNode* TParser::ParsePower() {
  TParserNode* left = ParseUnary();
  if (Token != tkPow) return left;
  const int leftHeight = lastHeight;
  const int at = tokenStart();
  enterNesting();
  NextToken();
  TParserNode* right = ParsePower();
  --nesting;
  growHeight(std::max(leftHeight, lastHeight), at);
  return NewNode(opPow, left, right);
}

/* <unary> = ["+" | "-"] <function> */
// The sign binds tighter than "^", so -2^2 is 4; a second sign is refused.
TParserNode* TParser::ParseUnary() {
  if (Token == tkPlus) {
    NextToken();
    return ParseFunction();
  }
  if (Token != tkMinus) return ParseFunction();
  const int at = tokenStart();
  NextToken();
  TParserNode* operand = ParseFunction();
  growHeight(lastHeight, at);
  return NewNode(opNeg, operand, nullptr);
}

/* <function> = <name> ("(" | "[") <sum> (")" | "]") | <primary>
   <name> = "sin" | "cos" | ... | "sqrt" | "x" */
TParserNode* TParser::ParseFunction() {
  if (Token < tkSin || Token > tkX) return ParsePrimary();
  const int at = tokenStart();
  TParserNode* node = NewNode(Token + 4, nullptr, nullptr);
  NextToken();
  if (Token != tkOpen) RaiseError(erOpenExpected);
  enterNesting();
  NextToken();
  node->Left = ParseSum();
  if (Token != tkClose) RaiseError(erCloseExpected);
  --nesting;
  NextToken();
  growHeight(lastHeight, at);
  return node;
}

/* <primary> = ("(" | "[") <sum> (")" | "]") | "e" | "pi" | <number> */
TParserNode* TParser::ParsePrimary() {
  TParserNode* node = nullptr;
  switch (Token) {
    case tkOpen:
      enterNesting();
      NextToken();
      node = ParseSum();
      if (Token != tkClose) RaiseError(erCloseExpected);
      --nesting;
      NextToken();
      return node;
    case tkE: node = NewNode(std::exp(1.0), nullptr, nullptr); break;
    case tkPi: node = NewNode(kPi, nullptr, nullptr); break;
    case tkNumber: node = NewNode(literalValue(TokenText), nullptr, nullptr); break;
    default: RaiseError(erUnexpected);
  }
  NextToken();
  lastHeight = 1;
  return node;
}

// An index outside the table is refused rather than read.
Extended TParser::variable(Extended indexValue) const {
  const std::int32_t index = integerOf(indexValue);
  if (index < 0 || index >= VariableCount)
    throw TEvalError("x[" + std::to_string(index) + "] is outside the variables x[0] to x[9]");
  if (!Values) throw TEvalError("No variable values to evaluate with");
  return Values[index];
}

double TParser::Evaluate() {
  if (!Root) throw TEvalError("No formula to evaluate");
  // The fault of rounding comes before the store, so a failed evaluation
  // leaves the previous value in place.
  const double value = Velmora::toDouble(EvalNode(Root));
  LastValue = value;
  return value;
}

Extended TParser::EvalNode(const TParserNode* node) const {
  if (!node->Left && !node->Right) return node->Value;
  // Only operands live in this frame: the walk recurses once per tree level,
  // and the rarer work sits in helpers whose frames are not stacked up.
  switch (static_cast<int>(node->Value)) {
    case opAdd: return binary(node, [](Extended a, Extended b) { return Velmora::add(a, b); });
    case opSub: return binary(node, [](Extended a, Extended b) { return Velmora::sub(a, b); });
    case opMul: return binary(node, [](Extended a, Extended b) { return Velmora::mul(a, b); });
    case opDiv: return binary(node, [](Extended a, Extended b) { return Velmora::div(a, b); });
    case opMod: return binary(node, remainderOf);
    case opPow: {
      // The exponent is evaluated and rounded before the base is touched.
      // Squaring a finite base is what the library would do for "^2", so the
      // common case skips the call.
      const TParserNode* power = node->Right;
      if (!power->Left && !power->Right && power->Value == 2) {
        const double base = Velmora::toDouble(operand(node->Left));
        if (std::fabs(base) < std::numeric_limits<double>::infinity())
          return static_cast<Extended>(base) * base;
        return libPow(base, 2);
      }
      const double exponent = Velmora::toDouble(operand(node->Right));
      return libPow(Velmora::toDouble(operand(node->Left)), exponent);
    }
    case opNeg: return -operand(node->Left);
    case opVar: return plainOperand(node) ? plainValue(node) : variable(operand(node->Left));
    case opSin: return libSin(Velmora::toDouble(operand(node->Left)));
    case opCos: return libCos(Velmora::toDouble(operand(node->Left)));
    default: return libraryFunction(static_cast<int>(node->Value), Velmora::toDouble(operand(node->Left)));
  }
}

}  // namespace Math_Parser
