// velmora-run as a function of its arguments and streams, so that tests run it
// without a process.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "PlotRequest.h"

namespace Velmora::Cli {

// Exit statuses.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;    ///< the plot or the output could not be written
inline constexpr int ExitBadInput = 2;  ///< bad arguments, a formula syntax error, an unusable test-set file
inline constexpr int ExitFault = 3;     ///< a fault of the formula ended a run

struct Environment {
  PlotWriter plot;                  ///< empty: --plot is refused
  OperationalWriter operational;    ///< empty: --operational is refused
  bool progressToTerminal = false;  ///< stderr is a terminal, so a progress line may be drawn there
  std::string dataFolder;           ///< where the shipped test sets are, as NAME.tsv
};

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env);

}  // namespace Velmora::Cli
