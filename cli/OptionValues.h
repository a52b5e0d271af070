// The values of velmora-run's options, read from their text and checked,
// and the checks of a search request: whoever builds a request without a
// command line (a binding, say) gets the same words as velmora-run.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "MethodCatalogue.h"
#include "Search.h"
#include "TestClass.h"

namespace Velmora::Cli {

using Lab::MethodId;

enum class Format { Text, Csv, Json };

// A bad argument; what() is the user's text, without the program name.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The test sets that come with Velmora, as data/NAME.tsv; a class run takes
// their rows by position, from 0.
inline constexpr std::array<std::string_view, 3> ShippedTestSets{"hansen20", "hill1000", "shekel1000"};

// Functions first..last of a class or of a shipped test set, both included.
struct ClassRange {
  Lab::TestClassId cls = Lab::TestClassId::Hill;
  std::string set;  ///< a shipped test set's name; empty for a generated class
  std::uint64_t first = 0;
  std::uint64_t last = 0;
};

// "hill", "shekel1000".
std::string_view classKey(const ClassRange& range);

std::string quoted(std::string_view text);
// "a, b or c"
std::string listed(const std::vector<std::string_view>& items);
std::string methodKeys();
std::string classKeys();

// A whole token as a finite double with "." as the decimal point; what names the
// argument in the message. Each of these throws UsageError.
double parseNumber(std::string_view text, std::string_view what);
int parseCount(std::string_view text, std::string_view what, int lo, int hi);
// A function's number in its class: any unsigned 64-bit number.
std::uint64_t parseIndex(std::string_view text, std::string_view what);
double positive(double value, std::string_view what);
// A file name to write; what is the option that names it.
std::string fileName(std::string_view text, std::string_view what);
// A method this installation cannot run is refused.
MethodId parseMethod(std::string_view text);
// M1,M2,... or all: every method this installation can run.
std::vector<MethodId> parseMethods(std::string_view text);
Format parseFormat(std::string_view text);
// CLASS, CLASS:N (functions 0..N-1) or CLASS:FIRST-LAST; true when a count
// or range was given (CLASS alone leaves first and last unset).
std::pair<ClassRange, bool> parseClass(std::string_view text);
// Values of --params, for x[1]..x[9].
std::array<double, 9> parseParams(std::string_view text);

// The parameter of one search as written, for its method.
double parseSearchParam(MethodId method, std::string_view text);
// The checks of a request's own values: its interval, its parameter and its stop rule.
void checkInterval(double xmin, double xmax);
void checkSearchParam(MethodId method, double param);
void checkRequest(const Lab::SearchRequest& request);

// The --param-METHOD options of a run over many problems, (option, text) as
// given; a Lipschitz estimate left to the problem has no entry.
std::map<MethodId, double> parseBatchParams(const std::vector<std::pair<std::string, std::string>>& given,
                                            bool classRuns);

}  // namespace Velmora::Cli
