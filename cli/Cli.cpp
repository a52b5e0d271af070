#include "Cli.h"

#include <ostream>

#include "Commands.h"
#include "Usage.h"

namespace Velmora::Cli {

int badInput(std::ostream& err, const std::string& message) {
  err << Program << ": " << message << "\n";
  return ExitBadInput;
}

bool outputWritten(std::ostream& out, std::ostream& err) {
  out.flush();
  if (out) return true;
  err << Program << ": the output could not be written\n";
  return false;
}

bool pictureWritten(const std::optional<std::string>& failure, const char* option, std::ostream& err) {
  if (failure) err << Program << ": " << option << ": " << *failure << "\n";
  return !failure;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env) {
  try {
    const Command command = parseCommandLine(args);
    std::visit(
        [&](const auto& options) {
          if constexpr (requires { options.warnings; })
            for (const std::string& line : options.warnings) err << Program << ": warning: " << line << "\n";
        },
        command);
    if (std::holds_alternative<HelpRequest>(command)) {
      out << usageText();
      return outputWritten(out, err) ? ExitOk : ExitFailed;
    }
    if (const auto* search = std::get_if<SearchOptions>(&command)) return runOneSearch(*search, out, err, env);
    if (const auto* suite = std::get_if<SuiteOptions>(&command)) return runTestSuite(*suite, out, err, env);
    if (const auto* listing = std::get_if<FormulaListing>(&command)) return listFormulas(*listing, out, err, env);
    if (const auto* csv = std::get_if<CsvSummaryOptions>(&command)) return summariseCsv(*csv, out, err, env);
    return runClassRuns(std::get<ClassOptions>(command), out, err, env);
  } catch (const Lab::BadValue& error) {  // a UsageError, or a value the core's rules refuse
    err << Program << ": " << error.what() << "\n" << "Try '" << Program << " --help'.\n";
    return ExitBadInput;
  } catch (const std::exception& error) {
    // Nothing but memory exhaustion is expected here; it still gets a message, not a crash.
    err << Program << ": " << error.what() << "\n";
    return ExitFailed;
  }
}

}  // namespace Velmora::Cli
