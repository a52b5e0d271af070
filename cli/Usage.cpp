#include "Usage.h"

#include "Commands.h"
#include "NumberText.h"
#include "OptionTable.h"

namespace Velmora::Cli {

namespace {

// Words are put on a line while it stays before the 80th column.
constexpr std::size_t LastColumn = 79;

std::string wrapped(const std::vector<std::string>& words, const std::string& indent) {
  std::string text;
  std::string line;
  for (const std::string& word : words) {
    if (line.empty()) {
      line = word;
    } else if (line.size() + 1 + word.size() <= LastColumn) {
      line += " " + word;
    } else {
      text += line + "\n";
      line = indent + word;
    }
  }
  return text + line;
}

std::vector<std::string> wordsOf(const std::string& text) {
  std::vector<std::string> words;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// An option as a mode's line shows it, with the options that need it in
// its bracket: "--operational FILE.png [--log-k]".
std::string term(const Option& option, Mode mode) {
  const std::string values = option.valuesIn ? option.valuesIn(mode) : std::string(option.values);
  std::string text(option.name);
  if (!values.empty()) text += (option.family ? "" : " ") + values;
  for (const Option& inner : options())
    if (inner.needs == option.name && inner.modes.has(mode)) text += " [" + term(inner, mode) + "]";
  return text;
}

// The options of a mode in the table's order: an optional one in brackets,
// a group of alternatives as one, in parentheses where the mode needs one of them.
std::vector<std::string> terms(Mode mode) {
  std::vector<std::string> terms;
  const auto all = options();
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Option& option = all[i];
    if (!option.modes.has(mode) || !option.listed || !option.needs.empty()) continue;
    std::string alternatives = term(option, mode);
    bool required = option.required.has(mode);
    bool several = false;
    for (; !option.group.empty() && i + 1 < all.size() && all[i + 1].group == option.group; ++i) {
      if (!all[i + 1].modes.has(mode)) continue;
      alternatives += " | " + term(all[i + 1], mode);
      required = required || all[i + 1].required.has(mode);
      several = true;
    }
    if (!required) terms.push_back("[" + alternatives + "]" + (option.family ? "..." : ""));
    else terms.push_back(several ? "(" + alternatives + ")" : alternatives);
  }
  return terms;
}

struct ModeLine {
  Mode mode;
  std::string_view lead;  ///< the words before its options
  bool withOptions = true;
};

constexpr ModeLine ModeLines[] = {
    {Mode::Search, "FORMULA"},
    {Mode::Suite, ""},
    {Mode::Class, ""},
    {Mode::Formulas, "--class CLASS --index I [--print-formula | the options above]", false},
    {Mode::FromCsv, ""},
    {Mode::Help, ""},
};

std::string modeLine(const ModeLine& line) {
  std::vector<std::string> words{"  " + std::string(Program)};
  if (!line.lead.empty()) words.emplace_back(line.lead);
  if (line.withOptions)
    for (std::string& term : terms(line.mode)) words.push_back(std::move(term));
  return wrapped(words, std::string(words.front().size() + 1, ' ')) + "\n";
}

#if VELMORA_PEERS
// The catalogue's stochastic methods without their "nlopt-": "crs2, esch, isres and mlsl".
std::string stochasticPeers() {
  std::vector<std::string> names;
  for (const Lab::MethodInfo& method : Lab::allMethods())
    if (method.stochastic) names.emplace_back(method.key.substr(method.key.find('-') + 1));
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}
#endif

}  // namespace

std::string usageText() {
  std::string text = "usage:\n";
  for (const ModeLine& line : ModeLines) text += modeLine(line);
  const Lab::MethodInfo& strongin = Lab::methodInfo(MethodId::Strongin);
  const Lab::MethodInfo& variant = Lab::methodInfo(MethodId::InfGl);
  const Lab::MethodInfo& geomImproved = Lab::methodInfo(MethodId::GeomLtiap);
  const Lab::MethodInfo& infImproved = Lab::methodInfo(MethodId::InfLtiap);
  const Lab::MethodInfo& smooth = Lab::methodInfo(MethodId::DLtLi);
  return text + "\n" + wrapped(wordsOf("METHOD is " + methodKeys() + "; CLASS is " + classKeys() + "."), "") + "\n" +
         "FORMULA uses x[0] as the argument and x[1]..x[9] as the values of --params.\n" +
         wrapped(wordsOf("--param is the Lipschitz estimate L of piyavsky or inf-al, or the multiplier r of strongin (> 1, "
                         "default " + Lab::shortest(strongin.defaultParam) + "), of a variant (> 0, default " +
                         Lab::shortest(variant.defaultParam) + "; with local improvement, ending in imp, iap, imap, "
                         "imo, iao or imao, " + Lab::shortest(geomImproved.defaultParam) + " for geom- and " +
                         Lab::shortest(infImproved.defaultParam) + " for inf-) or of a d- method, which uses f' (> 1, "
                         "default " + Lab::shortest(smooth.defaultParam) + "), or the Lipschitz estimate M of f' of d-al and d-al-li (> 0). In test sets and classes every r is " +
                         "its method's default, strongin's " + Lab::shortest(Lab::BatchMultiplier) +
                         ", and the L of piyavsky and inf-al that of the problem (--param-piyavsky from-file, or from-function: "
                         "the function's constant times " + Lab::shortest(Lab::FromFunctionMargin) +
                         ") unless --param-METHOD gives one; d-al and d-al-li take their M only from --param-METHOD, and all leaves them out."),
                 "") +
         "\n"
#if VELMORA_PEERS
         "NLopt's methods (nlopt-*) stop only at --steps N, a budget of N + 2\n"
         "evaluations; " + stochasticPeers() + " draw from --seed N (default 0), or in\n"
         "test sets and classes from each of --seeds N, and take their population as\n"
         "--param-METHOD (0: NLopt's own). A method the installed NLopt lacks is\n"
         "refused, and all leaves it out (Debian's NLopt has no AGS).\n"
#endif
         "Numbers use \".\" as the decimal point.\n"
         "A run whose trials leave [A, B], or that met a value that is not a finite\n"
         "number, warns on stderr and still exits with status 0. Exit status: 0 the\n"
         "runs finished; 1 an output or a picture could not be written; 2 bad input;\n"
         "3 a fault of the formula, or of the method's own arithmetic, ended a run.\n";
}

}  // namespace Velmora::Cli
