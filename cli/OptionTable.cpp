#include "OptionTable.h"

#include <algorithm>

#include "GivenOptions.h"

namespace Velmora::Cli {

namespace {

using Lab::MaxJobs;
using Lab::MaxSeeds;

using Reader = OptionValueReader;
using Given = GivenOptions;

std::string formatsIn(Mode mode) { return mode == Mode::Search ? "text|csv|json" : "text|csv"; }

void readParamOfMethod(Reader& values, Given& given) {
  const std::string& option = values.option();
  const std::string key = option.substr(option.find('-', 2) + 1);
  if (!Lab::findMethod(key)) throw UsageError("unknown option " + option + " (" + quoted(key) + " is no method)");
  given.methodParams.emplace_back(option, values.take());
}

// The order is the order of --help: each mode's line lists its options so,
// and the options of one group stand together.
constexpr std::array Table{
    Option{.name = "--suite", .values = "FILE.tsv", .modes = Mode::Suite,
           .read = [](Reader& v, Given& g) { g.suiteFile = v.take(); },
           .required = Mode::Suite, .selects = Mode::Suite},
    Option{.name = "--class", .values = "CLASS:N|CLASS:FIRST-LAST", .modes = Mode::Class | Mode::Formulas,
           .read = [](Reader& v, Given& g) { g.classText = v.take(); },
           .required = Mode::Class, .selects = Mode::Class},
    Option{.name = "--from-csv", .values = "FILE.csv...", .modes = Mode::FromCsv,
           .read = [](Reader& v, Given& g) { g.csvFile = v.take(); },
           .required = Mode::FromCsv, .selects = Mode::FromCsv},
    Option{.name = "--interval", .values = "A B", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) {
             const double a = readNumber(v.take(), v.option() + " A");
             g.interval.emplace(a, readNumber(v.take(" B"), v.option() + " B"));
           },
           .required = Mode::Search},
    Option{.name = "--method", .values = "METHOD", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) { g.method = readMethod(v.take()); },
           .required = Mode::Search},
    Option{.name = "--param", .values = "V", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) { g.paramText = v.take(); }},
    Option{.name = "--methods", .values = "M1,M2,...|all", .modes = BatchModes,
           .read = [](Reader& v, Given& g) { g.methods = parseMethods(v.take()); }},
    Option{.name = "--param-", .values = "METHOD V", .modes = BatchModes, .read = readParamOfMethod, .family = true},
    Option{.name = "--eps-rel", .values = "E", .modes = Mode::Suite | Mode::FromCsv,
           .read = [](Reader& v, Given& g) { g.epsRel = positive(readNumber(v.take(), v.option()), v.option()); }},
    Option{.name = "--max-trials", .values = "N", .modes = ClassRunModes,
           .read = [](Reader& v, Given& g) { g.maxTrials = readCount(v.take(), v.option(), 2, Lab::MaxSteps + 2); }},
    Option{.name = "--delta", .values = "D", .modes = ClassRunModes,
           .read = [](Reader& v, Given& g) { g.delta = positive(readNumber(v.take(), v.option()), v.option()); }},
    Option{.name = "--steps", .values = "N", .modes = Mode::Search | Mode::Suite | Mode::FromCsv,
           .read = [](Reader& v, Given& g) { g.steps = readCount(v.take(), v.option(), 1, Lab::MaxSteps); },
           .required = Mode::Search, .group = "stop rule", .refusalReason = "its runs stop at --max-trials"},
    // As in the window, an eps the run cannot reach (0, negative, finer than
    // doubles resolve) is taken: the step bound ends the run and says so.
    Option{.name = "--eps", .values = "E", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) { g.eps = readNumber(v.take(), v.option()); },
           .required = Mode::Search, .group = "stop rule"},
    Option{.name = "--interval-eps", .values = "E", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) { g.intervalEps = readNumber(v.take(), v.option()); },
           .required = Mode::Search, .group = "stop rule"},
    Option{.name = "--params", .values = "P1,P2,...", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) { g.params = parseParams(v.take()); }},
    Option{.name = "--trials", .modes = Mode::Search, .read = [](Reader&, Given& g) { g.trials = true; }},
    Option{.name = "--jobs", .values = "N", .modes = BatchModes,
           .read = [](Reader& v, Given& g) { g.jobs = static_cast<unsigned>(readCount(v.take(), v.option(), 1, MaxJobs)); }},
    Option{.name = "--format", .modes = Mode::Search | BatchModes | Mode::FromCsv,
           .read = [](Reader& v, Given& g) { g.format = parseFormat(v.take()); }, .valuesIn = formatsIn},
    Option{.name = "--no-header", .modes = Mode::Class, .read = [](Reader&, Given& g) { g.noHeader = true; }},
    Option{.name = "--plot", .values = "FILE.png", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) { g.plotFile = fileName(v.take(), v.option()); }},
    Option{.name = "--steps-out", .values = "FILE.csv", .modes = Mode::Search,
           .read = [](Reader& v, Given& g) { g.stepsFile = fileName(v.take(), v.option()); }},
    Option{.name = "--seed", .values = "N", .modes = Mode::Search | BatchModes,
           .read = [](Reader& v, Given& g) { g.seed = readIndex(v.take(), v.option()); }, .group = "seed"},
    Option{.name = "--seeds", .values = "N", .modes = BatchModes,
           .read = [](Reader& v, Given& g) { g.seeds = readCount(v.take(), v.option(), 1, MaxSeeds); }, .group = "seed"},
    Option{.name = "--operational", .values = "FILE.png", .modes = BatchModes | Mode::FromCsv,
           .read = [](Reader& v, Given& g) { g.operationalFile = fileName(v.take(), v.option()); }},
    Option{.name = "--log-k", .modes = BatchModes | Mode::FromCsv, .read = [](Reader&, Given& g) { g.logK = true; },
           .needs = "--operational"},
    Option{.name = "--index", .values = "I", .modes = Mode::Class | Mode::Formulas,
           .read = [](Reader& v, Given& g) { g.index = readIndex(v.take(), v.option()); }, .listed = false},
    Option{.name = "--print-formula", .modes = Mode::Formulas, .read = [](Reader&, Given& g) { g.printFormula = true; },
           .selects = Mode::Formulas},
    Option{.name = "--help", .modes = Mode::Help, .read = [](Reader&, Given& g) { g.help = true; },
           .required = Mode::Help, .selects = Mode::Help},
};

}  // namespace

const std::string& OptionValueReader::take(std::string_view what) {
  if (next_ >= args_.size()) throw UsageError(option_ + std::string(what) + " needs a value");
  return args_[next_++];
}

std::span<const Option> options() { return Table; }

const Option& selector(Mode mode) {
  return *std::find_if(Table.begin(), Table.end(), [mode](const Option& o) { return o.selects == mode; });
}

}  // namespace Velmora::Cli
