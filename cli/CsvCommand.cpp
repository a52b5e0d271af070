#include <ostream>

#include "Commands.h"
#include "CsvSchema.h"

namespace Velmora::Cli {

int summariseCsv(const CsvSummaryOptions& options, std::ostream& out, std::ostream& err, const Environment& env) {
  if (options.operationalFile && !env.operational) return badInput(err, "--operational is not available in this build");
  const Lab::CsvKind* kind = nullptr;
  try {
    kind = &Lab::kindOfFiles(options.files);
  } catch (const Lab::FileError& error) {
    return badInput(err, error.what());
  }
  // The rule is not in the csv: only the options of its own kind can give it.
  if (kind == &Lab::TestSetCsvKind) {
    if (options.maxTrials || options.delta)
      return badInput(err, "--max-trials and --delta are for the csv of class runs; these files are a test set's");
    return summariseSuiteCsv(options, out, err, env);
  }
  if (options.steps || options.epsRel)
    return badInput(err, "--steps and --eps-rel are for a test set's csv; these files are of class runs");
  return summariseClassCsv(options, out, err, env);
}

}  // namespace Velmora::Cli
