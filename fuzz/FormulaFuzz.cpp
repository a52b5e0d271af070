// Any bytes as formula text. A parse either builds a well-formed tree or
// throws a TError that names the offending token and leaves no tree; an
// evaluation either gives a value or ends in one of the program's own faults
// (or an index outside the variables) with LastValue untouched, and gives the same outcome every time, because the
// search methods rely on F returning the same value for the same point. Asking for the slope as well changes none
// of it, and the slope is a finite number or NaN.
#include <array>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "Math_Parser.h"

namespace {

using Math_Parser::TError;
using Math_Parser::TParser;
using Math_Parser::TParserNode;

// Arguments a search or a graph can hand to F: ordinary, tiny, huge, denormal.
constexpr std::array<double, 9> kArguments = {
    0.0, 1.0, -2.5, 3.141592653589793, 1e-300, -1e300, 709.78, 4.9e-324, 9007199254740992.0};
// x[1]..x[9] as a user could type them.
constexpr std::array<double, 9> kParameters = {0.5, -1.0, 2.0, 1e10, -1e-10, 0.0, 100.0, 1e308, -7.0};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool oneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
  for (auto choice : choices)
    if (text == choice) return true;
  return false;
}

// "sqrt: DOMAIN error" and its kin: one library function, one kind.
bool isLibraryReport(const std::string& report) {
  const auto colon = report.find(": ");
  if (colon == std::string::npos) return false;
  const std::string_view name(report.data(), colon);
  const std::string_view rest(report.data() + colon + 2, report.size() - colon - 2);
  return oneOf(name, {"sqrt", "log", "log10", "asin", "acos", "exp", "pow"}) &&
         oneOf(rest, {"DOMAIN error", "SING error", "OVERFLOW error"});
}

struct TreeShape {
  std::size_t nodes = 0;
  std::vector<std::uint64_t> bits;  // the tree in pre-order: values and child flags
  bool operator==(const TreeShape&) const = default;
};

bool isBinary(int code) { return code >= Math_Parser::opAdd && code <= Math_Parser::opPow; }
bool isUnary(int code) {
  return code == Math_Parser::opNeg || (code >= Math_Parser::opSin && code <= Math_Parser::opVar);
}

// Walks without recursion so that the harness never runs out of stack before
// the engine does.
TreeShape shapeOf(const TParserNode* root) {
  TreeShape shape;
  std::vector<const TParserNode*> pending{root};
  while (!pending.empty()) {
    const TParserNode* node = pending.back();
    pending.pop_back();
    ++shape.nodes;
    std::uint64_t valueBits;
    std::memcpy(&valueBits, &node->Value, sizeof valueBits);
    shape.bits.push_back(valueBits);
    shape.bits.push_back((node->Left ? 1u : 0u) | (node->Right ? 2u : 0u));
    if (node->Left || node->Right) {
      const int code = static_cast<int>(node->Value);
      VELMORA_FUZZ_CHECK(static_cast<double>(code) == node->Value, "an operation code is a whole number");
      if (isBinary(code))
        VELMORA_FUZZ_CHECK(node->Left && node->Right, "a binary operation has two operands");
      else
        VELMORA_FUZZ_CHECK(isUnary(code) && node->Left && !node->Right,
                           "any other operation has one operand");
    }
    if (node->Right) pending.push_back(node->Right);
    if (node->Left) pending.push_back(node->Left);
  }
  return shape;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The message must name what stands at the reported position.
void checkError(const TError& error, const std::string& text) {
  const int length = static_cast<int>(text.size());
  VELMORA_FUZZ_CHECK(error.Position >= 0 && error.Position <= length, "the position lies in the text");
  VELMORA_FUZZ_CHECK(!error.Message.empty(), "an error has a message");
  const std::string_view at(text.data() + error.Position, text.size() - error.Position);
  switch (error.Code) {
    case Math_Parser::erUnknownKeyword: {
      std::size_t word = 0;
      while (word < at.size() && isAsciiLetter(at[word])) ++word;
      VELMORA_FUZZ_CHECK(word > 0, "an unknown keyword starts with a letter");
      VELMORA_FUZZ_CHECK(error.Message == "Unknown keyword: '" + lowered(at.substr(0, word)) + "'",
                         "the unknown keyword is the lower-cased word at the position");
      break;
    }
    case Math_Parser::erUnknownSymbol:
      VELMORA_FUZZ_CHECK(!at.empty(), "an unknown symbol stands at the position");
      VELMORA_FUZZ_CHECK(error.Message == std::string("Unknown symbol: '") + at[0] + "'",
                         "the unknown symbol is the character at the position");
      break;
    case Math_Parser::erUnexpectedEnd:
      VELMORA_FUZZ_CHECK(error.Message == "Unexpected end of expression", "exact text");
      VELMORA_FUZZ_CHECK(text.find_first_not_of(' ') == std::string::npos && error.Position == length,
                         "only a blank text has no token");
      break;
    case Math_Parser::erEndExpected:
      VELMORA_FUZZ_CHECK(error.Message == "End of expression expected", "exact text");
      VELMORA_FUZZ_CHECK(error.Position < length, "more text follows a complete expression");
      break;
    case Math_Parser::erOpenExpected:
      VELMORA_FUZZ_CHECK(error.Message == "'(' or '[' expected", "exact text");
      break;
    case Math_Parser::erCloseExpected:
      VELMORA_FUZZ_CHECK(error.Message == "')' or ']' expected", "exact text");
      break;
    case Math_Parser::erUnexpected:
      if (error.Position == length) {
        VELMORA_FUZZ_CHECK(error.Message == "Unexpected 'EOL'", "the end reads as EOL");
      } else {
        const std::string prefix = "Unexpected '";
        VELMORA_FUZZ_CHECK(error.Message.size() > prefix.size() + 1 &&
                               error.Message.compare(0, prefix.size(), prefix) == 0 &&
                               error.Message.back() == '\'',
                           "exact frame of the text");
        const std::string token = error.Message.substr(prefix.size(), error.Message.size() - prefix.size() - 1);
        VELMORA_FUZZ_CHECK(lowered(at.substr(0, token.size())) == token, "the token stands at the position");
      }
      break;
    case Math_Parser::erTooDeep:
      VELMORA_FUZZ_CHECK(error.Message == "Expression is too deeply nested", "exact text");
      break;
    default:
      VELMORA_FUZZ_CHECK(false, "every error has a code of the table");
  }
}

struct Outcome {
  bool faulted = false;
  double value = 0;
  std::string fault;
  std::vector<std::string> reports;
};

std::vector<std::string>* currentReports = nullptr;

Outcome evaluateAt(TParser& parser, std::array<double, 10>& vars, double argument, bool withSlope) {
  Outcome outcome;
  vars[0] = argument;
  const std::array<double, 10> before = vars;
  const double lastBefore = parser.LastValue;
  currentReports = &outcome.reports;
  try {
    if (withSlope) {
      const Math_Parser::TValueAndSlope both = parser.ValueAndSlope();
      VELMORA_FUZZ_CHECK(!std::isinf(both.Slope), "a slope is finite or NaN");
      outcome.value = both.Value;
    } else {
      outcome.value = parser.Evaluate();
    }
    VELMORA_FUZZ_CHECK(sameBits(outcome.value, parser.LastValue), "LastValue is the value returned");
  } catch (const Velmora::ArithmeticFault& fault) {
    outcome.faulted = true;
    outcome.fault = fault.what();
    VELMORA_FUZZ_CHECK(oneOf(outcome.fault, {"Floating point division by zero", "Invalid floating point operation",
                                             "Floating point overflow", "Division by zero", "Integer overflow"}),
                       "an arithmetic fault is one of the five the user can see");
    VELMORA_FUZZ_CHECK(sameBits(parser.LastValue, lastBefore), "a fault leaves LastValue alone");
  } catch (const Math_Parser::TEvalError& error) {
    // The only evaluation error a parsed formula can meet is an index outside the table.
    outcome.faulted = true;
    outcome.fault = error.what();
    VELMORA_FUZZ_CHECK(outcome.fault.find("is outside the variables x[0] to x[9]") != std::string::npos,
                       "an evaluation error names the index");
    VELMORA_FUZZ_CHECK(sameBits(parser.LastValue, lastBefore), "an error leaves LastValue alone");
  }
  currentReports = nullptr;
  VELMORA_FUZZ_CHECK(vars == before, "evaluation never writes the variables");
  for (const auto& report : outcome.reports)
    VELMORA_FUZZ_CHECK(isLibraryReport(report), "every report is a library report");
  return outcome;
}

bool sameOutcome(const Outcome& a, const Outcome& b) {
  return a.faulted == b.faulted && a.fault == b.fault && a.reports == b.reports &&
         (a.faulted || sameBits(a.value, b.value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool hookSet = [] {
    Math_Parser::SetMathErrorHandler([](const std::string& report) {
      VELMORA_FUZZ_CHECK(currentReports != nullptr, "reports come only while evaluating");
      currentReports->push_back(report);
    });
    return true;
  }();
  (void)hookSet;

  // The engine reads a NUL-terminated text, so a NUL byte ends the formula.
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::string text(bytes, size ? strnlen(bytes, size) : 0);

  TParser parser;
  std::array<double, 10> vars{};
  for (std::size_t i = 1; i < vars.size(); ++i) vars[i] = kParameters[i - 1];
  parser.Values = vars.data();

  TreeShape shape;
  try {
    VELMORA_FUZZ_CHECK(parser.Parse(text.c_str()), "Parse never returns false");
  } catch (const TError& error) {
    VELMORA_FUZZ_CHECK(parser.Root == nullptr, "a failed parse leaves no tree");
    VELMORA_FUZZ_CHECK(parser.Nodes.empty(), "a failed parse frees every node");
    checkError(error, text);
    try {
      parser.Evaluate();
      VELMORA_FUZZ_CHECK(false, "there is nothing to evaluate after a failed parse");
    } catch (const Math_Parser::TEvalError&) {
    }
    // The same text fails the same way again.
    try {
      parser.Parse(text.c_str());
      VELMORA_FUZZ_CHECK(false, "a text that failed once parses the second time");
    } catch (const TError& again) {
      VELMORA_FUZZ_CHECK(again.Code == error.Code && again.Position == error.Position &&
                             again.Message == error.Message,
                         "parsing is deterministic");
    }
    return 0;
  }
  VELMORA_FUZZ_CHECK(parser.Root != nullptr, "a successful parse leaves a tree");
  VELMORA_FUZZ_CHECK(parser.Nodes.empty(), "a successful parse hands every node to the tree");
  shape = shapeOf(parser.Root);
  VELMORA_FUZZ_CHECK(shape.nodes <= text.size(), "every node comes from a token of its own");

  for (double argument : kArguments) {
    const Outcome first = evaluateAt(parser, vars, argument, false);
    const Outcome second = evaluateAt(parser, vars, argument, false);
    VELMORA_FUZZ_CHECK(sameOutcome(first, second), "the same point gives the same outcome");
    VELMORA_FUZZ_CHECK(sameOutcome(first, evaluateAt(parser, vars, argument, true)),
                       "the slope changes neither the value nor its reports and faults");
    VELMORA_FUZZ_CHECK(first.reports.size() <= 4 * shape.nodes, "at most four library calls per node");
  }
  VELMORA_FUZZ_CHECK(shapeOf(parser.Root) == shape, "evaluation leaves the tree alone");

  // Parsing the same text again replaces the tree with an equal one.
  VELMORA_FUZZ_CHECK(parser.Parse(text.c_str()), "the same text parses again");
  VELMORA_FUZZ_CHECK(shapeOf(parser.Root) == shape, "the same text gives the same tree");
  return 0;
}
