#include "Math_Parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "DoubleChars.h"

namespace Math_Parser {

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
  const auto [end, error] = Velmora::doubleFromChars(first, last, value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    const bool large = std::find_if(first, std::find(first, last, '.'),
                                    [](char c) { return c != '0'; }) != std::find(first, last, '.');
    return large ? std::numeric_limits<double>::infinity() : 0.0;
  }
  if (error != std::errc() || end != last) return 0;  // "." alone
  return value;
}

constexpr double kPi = 3.141592653589793;

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
  program.Clear();
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
    program.Compile(Root);
  } catch (const TError&) {
    throw;
  } catch (...) {
    // Out of memory midway: the nodes made so far must not leak.
    for (TParserNode* node : Nodes) delete node;
    Nodes.clear();
    Root = nullptr;
    program.Clear();
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

// Without recursion, as the evaluation, and without memory of its own, as it
// runs in the destructor: a left operand is rotated up until the node at
// hand has none, and then it goes.
void TParser::FreeTree(TParserNode* node) {
  while (node) {
    if (TParserNode* left = node->Left) {
      node->Left = left->Right;
      left->Right = node;
      node = left;
    } else {
      TParserNode* right = node->Right;
      delete node;
      node = right;
    }
  }
}

// Each level of brackets costs a handful of nested grammar calls; the bound
// keeps any formula, however long, well inside the stack.
void TParser::enterNesting() {
  if (nesting >= MaxNesting) RaiseError(erTooDeep);
  ++nesting;
}

// The language bounds the tree's height too, so a long chain like
// "1+1+...+1" is refused at the same length on every machine.
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

double TParser::Evaluate() {
  if (!Root) throw TEvalError("No formula to evaluate");
  // The fault of rounding comes before the store, so a failed evaluation
  // leaves the previous value in place.
  const double value = Velmora::toDouble(program.Value(Values));
  LastValue = value;
  return value;
}

TValueAndSlope TParser::ValueAndSlope() {
  if (!Root) throw TEvalError("No formula to evaluate");
  const FormulaProgram::SlopeSlot result = program.ValueAndSlope(Values);
  const double value = Velmora::toDouble(result.Value);
  LastValue = value;
  // The slope is rounded without a fault: beyond the double range it is no
  // finite number, and so is no slope.
  const auto slope = static_cast<double>(result.Slope);
  const bool finite = std::isfinite(value) && std::isfinite(slope);
  return {value, finite ? slope : std::numeric_limits<double>::quiet_NaN()};
}

}  // namespace Math_Parser
