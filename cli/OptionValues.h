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

#include "Fields.h"
#include "FunctionSource.h"
#include "MethodCatalogue.h"
#include "ReadNumber.h"
#include "RunPlan.h"
#include "Search.h"

namespace Velmora::Cli {

using Lab::MethodId;

enum class Format { Text, Csv, Json };

// A bad argument; what() is the user's text, without the program name.
class UsageError : public Lab::BadValue {
 public:
  using Lab::BadValue::BadValue;
};

std::string quoted(std::string_view text);
using Lab::listed;
using Lab::methodKeys;
using Lab::classKeys;

// Numbers and counts are read by the core's rules; what names the argument
// in the message. A bad one throws Lab::BadValue, a bad argument like UsageError.
using Lab::readCount;
using Lab::readIndex;
using Lab::readNumber;
double positive(double value, std::string_view what);
// A file name to write; what is the option that names it.
std::string fileName(std::string_view text, std::string_view what);
using Lab::readMethod;
// M1,M2,... or all: every method this installation can run.
std::vector<MethodId> parseMethods(std::string_view text);
Format parseFormat(std::string_view text);
// --class CLASS, CLASS:N or CLASS:FIRST-LAST (Lab::parseClassRange).
std::pair<Lab::ClassRange, bool> parseClass(std::string_view text);
// Values of --params, for x[1]..x[9].
std::array<double, 9> parseParams(std::string_view text);

// The parameter of one search as written, for its method.
double parseSearchParam(MethodId method, std::string_view text);
// The core's checks of a request's own values (RequestCheck.h), each fault in
// the command line's words. Throw UsageError.
void checkInterval(double xmin, double xmax);
void checkRequest(const Lab::SearchRequest& request);

// The --param-METHOD options of a run over many problems, (option, text) as
// given; a Lipschitz estimate left to the problem has no entry.
std::map<MethodId, double> parseBatchParams(const std::vector<std::pair<std::string, std::string>>& given,
                                            bool classRuns);

}  // namespace Velmora::Cli
