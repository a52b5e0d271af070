// The arguments of velmora-run: one search, a test set, or help.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "MethodCatalogue.h"
#include "Search.h"

namespace Velmora::Cli {

using Lab::MethodId;
using Lab::StopRule;

enum class Format { Text, Csv, Json };

struct SearchOptions {
  std::string formula;
  double xmin = 0;
  double xmax = 0;
  MethodId method = MethodId::Scan;
  std::optional<double> param;
  StopRule stop = StopRule::Steps;
  int steps = 0;
  double eps = 0;
  std::array<double, 9> params{};  ///< x[1]..x[9]
  bool trials = false;
  Format format = Format::Text;
  std::optional<std::string> plotFile;
  std::optional<std::string> stepsFile;  ///< --steps-out: one csv row per step
};

struct SuiteOptions {
  std::string file;
  std::vector<MethodId> methods{MethodId::Scan, MethodId::Piyavsky, MethodId::Strongin};
  std::optional<double> piyavskyL;  ///< empty: the file's L column
  double stronginR = 2.0;
  double epsRel = 1e-4;
  std::optional<int> steps;  ///< a fixed step count instead of the interval rule
  Format format = Format::Text;
};

struct HelpRequest {};

using Command = std::variant<HelpRequest, SearchOptions, SuiteOptions>;

// A bad argument; what() is the user's text, without the program name.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// args excludes the program name. Throws UsageError.
Command parseCommandLine(const std::vector<std::string>& args);

// A whole token as a finite double with "." as the decimal point; what names the
// argument in the message. Throws UsageError.
double parseNumber(std::string_view text, std::string_view what);
int parseCount(std::string_view text, std::string_view what, int lo, int hi);

std::string_view methodName(MethodId method);
std::string usageText();

}  // namespace Velmora::Cli
