#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "FormulaTestUtil.h"
#include "Math_Parser.h"

using namespace Math_Parser;
using formula_test::evaluate;
using formula_test::repeat;

namespace {

// The tree as a prefix expression: "(sub (pow (var 0) 2) 5)".
std::string describe(const TParserNode* node) {
  static const char* const names[] = {"add", "sub", "mul", "div", "mod", "pow", "neg", "?", "?", "?",
                                      "sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg",
                                      "sh", "ch", "th", "cth", "exp", "lg", "ln", "sqrt", "var"};
  std::ostringstream out;
  if (!node->Left && !node->Right) {
    out.precision(17);
    out << node->Value;
    return out.str();
  }
  out << "(" << names[static_cast<int>(node->Value)] << " " << describe(node->Left);
  if (node->Right) out << " " << describe(node->Right);
  out << ")";
  return out.str();
}

std::string treeOf(const char* text) {
  TParser parser;
  parser.Parse(text);
  EXPECT_TRUE(parser.Nodes.empty()) << "a finished parse hands its nodes to the tree";
  return describe(parser.Root);
}

struct TreeCase {
  const char* text;
  const char* tree;
  const char* reason;
};

TEST(Parser, buildsTheTreeAsWritten) {
  const TreeCase cases[] = {
      {"x[0]^2 - 5", "(sub (pow (var 0) 2) 5)", "power binds tighter than minus"},
      {"2^3^2", "(pow 2 (pow 3 2))", "power is right-associative"},
      {"2/4/2", "(div (div 2 4) 2)", "division is left-associative"},
      {"1-2-3", "(sub (sub 1 2) 3)", "subtraction is left-associative"},
      {"2/4*2%3", "(mod (mul (div 2 4) 2) 3)", "one level for * / %"},
      {"1+2*3", "(add 1 (mul 2 3))", "product before sum"},
      {"-2^2", "(pow (neg 2) 2)", "the sign binds tighter than ^"},
      {"-(2^2)", "(neg (pow 2 2))", "brackets group"},
      {"-x[0]^2", "(pow (neg (var 0)) 2)", "negated argument squared"},
      {"+3", "3", "a leading plus leaves no node"},
      {"((7))", "7", "brackets leave no node"},
      {"2*-3", "(mul 2 (neg 3))", "a sign may open an operand"},
      {"2^-1", "(pow 2 (neg 1))", "a sign may open an exponent"},
      {"2--3", "(sub 2 (neg 3))", "minus then sign"},
      {"x(0)", "(var 0)", "round brackets for x"},
      {"x[0)", "(var 0)", "shapes need not match"},
      {"(1+2]", "(add 1 2)", "shapes need not match"},
      {"x[1+1]", "(var (add 1 1))", "an index is a full expression"},
      {"sin(x[0]^2)", "(sin (pow (var 0) 2))", "an argument is a full expression"},
      {"arcctg(sh(ln(2)))", "(arcctg (sh (ln 2)))", "functions nest"},
      {"e", "2.7182818284590451", "e is a constant leaf"},
      {"pi", "3.1415926535897931", "pi is a constant leaf"},
      {".", "0", "a lone point reads as 0"},
      {"5.", "5", "a trailing point"},
      {".25", "0.25", "a leading point"},
  };
  for (const TreeCase& c : cases) EXPECT_EQ(treeOf(c.text), c.tree) << c.reason << ": " << c.text;
}

TEST(Parser, everyFunctionNameMakesItsCode) {
  const char* names[] = {"sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg", "sh",
                         "ch", "th", "cth", "exp", "lg", "ln", "sqrt", "x"};
  int code = opSin;
  for (const char* name : names) {
    TParser parser;
    parser.Parse((std::string(name) + "(1)").c_str());
    EXPECT_EQ(parser.Root->Value, code++) << name;
    EXPECT_EQ(parser.Root->Right, nullptr) << name;
  }
}

TEST(Parser, literalsRoundToTheNearestDouble) {
  EXPECT_EQ(treeOf("0.1"), "0.10000000000000001");
  const std::string digits = "1" + repeat("0", 30);
  EXPECT_EQ(treeOf(digits.c_str()), "1e+30");
  EXPECT_EQ(treeOf("123456789012345678901234567890.5"), "1.2345678901234568e+29");
  const std::string huge = "1" + repeat("0", 400);
  EXPECT_EQ(treeOf(huge.c_str()), "inf") << "beyond the double range";
  const std::string tiny = "0." + repeat("0", 400) + "1";
  EXPECT_EQ(treeOf(tiny.c_str()), "0") << "below the double range";
}

struct SyntaxError {
  const char* text;
  const char* message;
  int position;
  TErrorCode code;
  const char* reason;
};

TEST(Parser, syntaxErrorsCarryMessageAndPosition) {
  const SyntaxError cases[] = {
      {"", "Unexpected end of expression", 0, erUnexpectedEnd, "empty"},
      {"   ", "Unexpected end of expression", 3, erUnexpectedEnd, "blank, position after blanks"},
      {"1)", "End of expression expected", 1, erEndExpected, "stray bracket"},
      {"1 2", "End of expression expected", 2, erEndExpected, "two operands"},
      {"2pi", "End of expression expected", 1, erEndExpected, "no implicit multiplication"},
      {"2 x[0]", "End of expression expected", 2, erEndExpected, "no implicit multiplication"},
      {"sin 1", "'(' or '[' expected", 4, erOpenExpected, "function without bracket"},
      {"sin", "'(' or '[' expected", 3, erOpenExpected, "name at the end"},
      {"x", "'(' or '[' expected", 1, erOpenExpected, "x without index"},
      {"(1+2", "')' or ']' expected", 4, erCloseExpected, "unclosed bracket"},
      {"sin(1 2)", "')' or ']' expected", 6, erCloseExpected, "unclosed argument"},
      {"1+*2", "Unexpected '*'", 2, erUnexpected, "operator for an operand"},
      {"2*", "Unexpected 'EOL'", 2, erUnexpected, "end for an operand"},
      {"2*   ", "Unexpected 'EOL'", 5, erUnexpected, "trailing blanks count"},
      {"()", "Unexpected ')'", 1, erUnexpected, "empty brackets"},
      {"x[]", "Unexpected ']'", 2, erUnexpected, "empty index"},
      {"--3", "Unexpected '-'", 1, erUnexpected, "one sign at most"},
      {"+-3", "Unexpected '-'", 1, erUnexpected, "one sign at most"},
      {"2^^3", "Unexpected '^'", 2, erUnexpected, "operator for an exponent"},
  };
  for (const SyntaxError& c : cases) {
    TParser parser;
    try {
      parser.Parse(c.text);
      ADD_FAILURE() << c.reason << ": accepted " << c.text;
    } catch (const TError& error) {
      EXPECT_EQ(error.Message, c.message) << c.reason << ": " << c.text;
      EXPECT_EQ(error.Position, c.position) << c.reason << ": " << c.text;
      EXPECT_EQ(error.Code, c.code) << c.reason << ": " << c.text;
    }
  }
}

TEST(Parser, aMissingTextIsAnEmptyOne) {
  TParser parser;
  try {
    parser.Parse(nullptr);
    ADD_FAILURE() << "accepted";
  } catch (const TError& error) {
    EXPECT_EQ(error.Code, erUnexpectedEnd);
    EXPECT_EQ(error.Position, 0);
  }
}

TEST(Parser, failedParseLeavesNoTreeAndTheNextOneWorks) {
  TParser parser;
  parser.Parse("1+2");
  ASSERT_NE(parser.Root, nullptr);
  EXPECT_THROW(parser.Parse("sin(1+2*(3"), TError);
  EXPECT_EQ(parser.Root, nullptr) << "the previous tree is gone too";
  EXPECT_TRUE(parser.Nodes.empty());
  EXPECT_THROW(parser.Evaluate(), TEvalError) << "nothing to evaluate";
  ASSERT_TRUE(parser.Parse("x[0]*2"));
  EXPECT_TRUE(parser.Nodes.empty());
  const double vars[10] = {21};
  parser.Values = vars;
  EXPECT_EQ(parser.Evaluate(), 42);
}

TEST(Parser, parsingTheSameTextTwiceGivesEqualTrees) {
  TParser parser;
  parser.Parse("cos(x[0]) + 2*cos(2*x[0]) * 2.27^(-x[0]/2)");
  const std::string first = describe(parser.Root);
  parser.Parse("cos(x[0]) + 2*cos(2*x[0]) * 2.27^(-x[0]/2)");
  EXPECT_EQ(describe(parser.Root), first);
}

// Deep formulas must be refused before they can exhaust the stack while the
// tree is parsed, walked or freed; anything a user would write stays legal.
struct DepthCase {
  std::string text;
  int errorPosition;  // -1: accepted
  const char* reason;
};

TEST(Parser, nestingIsBoundedWithoutOverflowingTheStack) {
  const int n = TParser::MaxNesting;
  const int maxChars = 32767;  // the formula edit's limit
  const DepthCase cases[] = {
      {repeat("(", n) + "1" + repeat(")", n), -1, "nesting up to the limit"},
      {repeat("(", n + 1) + "1" + repeat(")", n + 1), n, "the bracket that goes too deep"},
      {repeat("(", maxChars / 2) + "1" + repeat(")", maxChars / 2), n, "a full edit of brackets"},
      {repeat("sin(", n + 1) + "1" + repeat(")", n + 1), 4 * n + 3, "function arguments"},
      {repeat("x[", n + 1) + "0" + repeat("]", n + 1), 2 * n + 1, "indices"},
      {repeat("2^", n) + "2", -1, "a chain of ^ up to the limit"},
      {repeat("2^", maxChars / 2) + "2", 2 * n + 1, "a full edit of ^: the link that goes too deep"},
      {repeat("-(", n) + "1" + repeat(")", n), -1, "signs and brackets"},
  };
  for (const DepthCase& c : cases) {
    TParser parser;
    try {
      parser.Parse(c.text.c_str());
      EXPECT_EQ(c.errorPosition, -1) << c.reason << ": accepted";
    } catch (const TError& error) {
      EXPECT_EQ(error.Code, erTooDeep) << c.reason;
      EXPECT_EQ(error.Message, "Expression is too deeply nested") << c.reason;
      EXPECT_EQ(error.Position, c.errorPosition) << c.reason;
      EXPECT_TRUE(parser.Nodes.empty()) << c.reason;
    }
  }
}

TEST(Parser, longChainsParseEvaluateAndFree) {
  const int terms = 16384;  // "1+1+...+1" fills the 32767 characters of the edit
  const std::string sum = repeat("1+", terms - 1) + "1";
  ASSERT_EQ(sum.size(), 32767u);
  EXPECT_EQ(evaluate(sum), terms);
  const std::string product = repeat("1*", terms - 1) + "1";
  EXPECT_EQ(evaluate(product), 1);
  const std::string differences = repeat("1--", 10000) + "1";
  EXPECT_EQ(evaluate(differences), 10001);
}

TEST(Parser, treesTallerThanTheLimitAreRefusedAtTheOperator) {
  const int h = TParser::MaxHeight;
  const std::string atLimit = repeat("1+", h - 1) + "1";
  EXPECT_EQ(evaluate(atLimit), h);
  const std::string beyond = repeat("1+", h) + "1";
  TParser parser;
  try {
    parser.Parse(beyond.c_str());
    ADD_FAILURE() << "accepted";
  } catch (const TError& error) {
    EXPECT_EQ(error.Code, erTooDeep);
    EXPECT_EQ(error.Position, 2 * h - 1) << "the last '+'";
  }
  EXPECT_TRUE(parser.Nodes.empty());
  EXPECT_EQ(parser.Root, nullptr);
}

}  // namespace
