// The options of one command line, read and checked against the table of
// options and against the mode they choose.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "OptionTable.h"

namespace Velmora::Cli {

// The options of one command line with their values, read and checked but
// not yet matched against the mode. Values that only the mode can judge
// (--param, --param-METHOD, the class) stay text.
struct GivenOptions {
  bool help = false;
  std::vector<std::string> positional;
  // Each option as written (--param-METHOD with its method), in the order given.
  std::vector<std::pair<const Option*, std::string>> given;

  std::optional<std::string> suiteFile, classText, csvFile;
  std::optional<std::pair<double, double>> interval;
  std::optional<MethodId> method;
  std::optional<std::string> paramText;
  std::optional<int> steps;
  std::optional<double> eps, intervalEps;
  std::optional<std::array<double, 9>> params;
  bool trials = false;
  std::optional<Format> format;
  std::optional<std::string> plotFile, stepsFile;
  std::optional<std::vector<MethodId>> methods;
  std::vector<std::pair<std::string, std::string>> methodParams;  ///< (option, text) of each --param-METHOD
  std::optional<double> epsRel;
  std::optional<std::uint64_t> index;
  bool printFormula = false;
  std::optional<int> maxTrials;
  std::optional<double> delta;
  bool noHeader = false;
  std::optional<unsigned> jobs;
  std::optional<std::uint64_t> seed;
  std::optional<int> seeds;
  std::optional<std::string> operationalFile;
  bool logK = false;
};

// Reads each option's values in the order given; stops at --help. Throws
// UsageError for an unknown option, one given twice, a missing or bad value.
GivenOptions readArguments(const std::vector<std::string>& args);

// How an option was written, if it was given.
const std::string* written(const GivenOptions& given, const Option& option);

// Refuses the first option, in the table's order, that the modes do not
// take, naming mode as the one chosen. Throws UsageError.
void checkAgainstMode(const GivenOptions& given, Modes modes, Mode mode);
// Refuses an option given without the option it needs.
void refuseWithoutNeeded(const GivenOptions& given);

}  // namespace Velmora::Cli
