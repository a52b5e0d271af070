#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormulaTestUtil.h"
#include "Math_Parser.h"

using namespace Math_Parser;
using formula_test::repeat;

namespace {

struct Scanned {
  std::vector<TToken> kinds;
  std::vector<std::string> texts;
};

Scanned scan(const char* text) {
  TParser parser;
  parser.Text = text;
  parser.Pos = 0;
  Scanned out;
  for (parser.NextToken(); parser.Token != tkEnd; parser.NextToken()) {
    out.kinds.push_back(parser.Token);
    out.texts.push_back(parser.TokenText);
  }
  return out;
}

struct TokenCase {
  const char* text;
  std::vector<TToken> kinds;
  std::vector<std::string> texts;
  const char* reason;
};

TEST(Scanner, cutsTextsIntoTokens) {
  const TokenCase cases[] = {
      {"Sin(X[0])", {tkSin, tkOpen, tkX, tkOpen, tkNumber, tkClose, tkClose},
       {"sin", "(", "x", "[", "0", "]", ")"}, "keywords are lower-cased"},
      {"SIN(x[0])", {tkSin, tkOpen, tkX, tkOpen, tkNumber, tkClose, tkClose},
       {"sin", "(", "x", "[", "0", "]", ")"}, "any case"},
      {"Pi E", {tkPi, tkE}, {"pi", "e"}, "constants"},
      {"+-*/%^", {tkPlus, tkMinus, tkMul, tkDiv, tkMod, tkPow}, {"+", "-", "*", "/", "%", "^"},
       "operators"},
      {"([)]", {tkOpen, tkOpen, tkClose, tkClose}, {"(", "[", ")", "]"}, "both bracket shapes"},
      {"1.2.3", {tkNumber, tkNumber}, {"1.2", ".3"}, "one point per literal"},
      {"1e3", {tkNumber, tkE, tkNumber}, {"1", "e", "3"}, "no exponent notation"},
      {"x1", {tkX, tkNumber}, {"x", "1"}, "digits end a word"},
      {"pi2", {tkPi, tkNumber}, {"pi", "2"}, "digits end a word"},
      {"5. .5 .", {tkNumber, tkNumber, tkNumber}, {"5.", ".5", "."}, "points at either end"},
      {"arcsin arccos arctg arcctg", {tkArcsin, tkArccos, tkArctg, tkArcctg},
       {"arcsin", "arccos", "arctg", "arcctg"}, "inverse functions"},
      {"sh ch th cth exp lg ln sqrt tg ctg cos", {tkSh, tkCh, tkTh, tkCth, tkExp, tkLg, tkLn, tkSqrt, tkTg, tkCtg, tkCos},
       {"sh", "ch", "th", "cth", "exp", "lg", "ln", "sqrt", "tg", "ctg", "cos"}, "the other names"},
  };
  for (const TokenCase& c : cases) {
    const Scanned got = scan(c.text);
    EXPECT_EQ(got.kinds, c.kinds) << c.reason << ": " << c.text;
    EXPECT_EQ(got.texts, c.texts) << c.reason << ": " << c.text;
  }
}

TEST(Scanner, endOfTextStaysOnTheTerminator) {
  for (const char* text : {"", "   "}) {
    TParser parser;
    parser.Text = text;
    parser.NextToken();
    EXPECT_EQ(parser.Token, tkEnd);
    EXPECT_EQ(parser.Pos, static_cast<int>(std::string(text).size()));
    EXPECT_EQ(parser.TokenText, "");
    parser.NextToken();
    EXPECT_EQ(parser.Token, tkEnd) << "further calls keep yielding the end";
    EXPECT_EQ(parser.Pos, static_cast<int>(std::string(text).size()));
  }
}

TEST(Scanner, tokensLongerThanSeventyNineCharactersStayWhole) {
  const std::string digits = repeat("1234567890", 20);
  EXPECT_EQ(scan(digits.c_str()).texts, std::vector<std::string>{digits});
}

struct LexicalError {
  std::string text;
  std::string message;
  int position;
  TErrorCode code;
  const char* reason;
};

TEST(Scanner, lexicalErrorsNameTheWordOrSymbolAndWhereItStarts) {
  const std::string longWord = repeat("abcdefghij", 12);
  const LexicalError cases[] = {
      {"sinx(1)", "Unknown keyword: 'sinx'", 0, erUnknownKeyword, "letters run on"},
      {"2*FOO", "Unknown keyword: 'foo'", 2, erUnknownKeyword, "shown lower-cased"},
      {"  abc", "Unknown keyword: 'abc'", 2, erUnknownKeyword, "leading blanks count"},
      {"1,5", "Unknown symbol: ','", 1, erUnknownSymbol, "comma is no decimal point"},
      {"\t1", "Unknown symbol: '\t'", 0, erUnknownSymbol, "only spaces are blanks"},
      {"x_1", "Unknown symbol: '_'", 1, erUnknownSymbol, "underscore"},
      {"1+\xE0", "Unknown symbol: '\xE0'", 2, erUnknownSymbol, "a Cyrillic letter of code page 1251"},
      {"1+" + longWord, "Unknown keyword: '" + longWord + "'", 2, erUnknownKeyword,
       "a word of 120 letters is reported whole"},
  };
  for (const LexicalError& c : cases) {
    TParser parser;
    try {
      parser.Parse(c.text.c_str());
      ADD_FAILURE() << c.reason << ": accepted";
    } catch (const TError& error) {
      EXPECT_EQ(error.Message, c.message) << c.reason;
      EXPECT_EQ(error.Position, c.position) << c.reason;
      EXPECT_EQ(error.Code, c.code) << c.reason;
    }
    EXPECT_EQ(parser.Root, nullptr) << c.reason;
    EXPECT_TRUE(parser.Nodes.empty()) << c.reason;
  }
}

}  // namespace
