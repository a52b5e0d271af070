// The arguments of velmora-run: one search, a test set, or help.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace Velmora::Cli {

enum class Method { Scan, Piyavsky, Strongin };
enum class StopRule { Steps, Precision, IntervalLength };
enum class Format { Text, Csv, Json };

// The window's Search bounds its step count by its spin edit; the command line keeps that range.
inline constexpr int MaxSteps = 100000;
// The window's default for both the Lipschitz estimate and the multiplier.
inline constexpr double DefaultMethodParam = 1.5;

struct SearchOptions {
  std::string formula;
  double xmin = 0;
  double xmax = 0;
  Method method = Method::Scan;
  std::optional<double> param;
  StopRule stop = StopRule::Steps;
  int steps = 0;
  double eps = 0;
  std::array<double, 9> params{};  ///< x[1]..x[9]
  bool trials = false;
  Format format = Format::Text;
  std::optional<std::string> plotFile;
};

struct SuiteOptions {
  std::string file;
  std::vector<Method> methods{Method::Scan, Method::Piyavsky, Method::Strongin};
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

std::string_view methodName(Method method);
std::string usageText();

}  // namespace Velmora::Cli
