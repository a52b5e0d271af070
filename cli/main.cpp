#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"
#include "PlotPlugin.h"
#include "ProgramFolder.h"

int main(int argc, char** argv) {
  Velmora::Cli::Environment env;
  env.plot = Velmora::Cli::loadedPlotWriter();
  env.operational = Velmora::Cli::loadedOperationalWriter();
  env.progressToTerminal = isatty(STDERR_FILENO) == 1;
  env.dataFolder = Velmora::Cli::shippedDataFolder();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return Velmora::Cli::runCli(args, std::cout, std::cerr, env);
}
