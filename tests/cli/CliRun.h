// velmora-run as the tests call it: its arguments in, its status and both
// streams out.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace Velmora::Cli::Testing {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// The shipped test sets are the source tree's.
inline Outcome run(const std::vector<std::string>& args, Environment env = {}) {
  if (env.dataFolder.empty()) env.dataFolder = VELMORA_DATA_DIR;
  std::ostringstream out, err;
  const int status = runCli(args, out, err, env);
  return {status, out.str(), err.str()};
}

inline std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& extra) {
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

}  // namespace Velmora::Cli::Testing
