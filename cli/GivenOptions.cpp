#include "GivenOptions.h"

#include <set>

namespace Velmora::Cli {

namespace {

const Option* findOption(std::string_view arg) {
  for (const Option& option : options())
    if (option.family ? arg.starts_with(option.name) : arg == option.name) return &option;
  return nullptr;
}

// A search takes no option of the other modes; the message names the options
// that choose the modes it belongs to.
std::string refusedWithout(const Option& option) {
  std::vector<std::string_view> choosers;
  if (option.modes.has(Mode::Suite)) choosers.push_back(selector(Mode::Suite).name);
  if (option.modes.has(Mode::Class) || option.modes.has(Mode::Formulas)) choosers.push_back(selector(Mode::Class).name);
  return "without " + listed(choosers);
}

}  // namespace

GivenOptions readArguments(const std::vector<std::string>& args) {
  GivenOptions given;
  std::set<std::string> seen;
  bool optionsEnded = false;
  for (std::size_t next = 0; next < args.size() && !given.help;) {
    const std::string& arg = args[next++];
    if (optionsEnded || !arg.starts_with("--")) {
      if (arg == "-h") given.help = true;
      else given.positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else {
      const Option* option = findOption(arg);
      if (!seen.insert(arg).second) throw UsageError(arg + " is given more than once");
      if (!option) throw UsageError("unknown option " + arg);
      OptionValueReader values(args, next, arg);
      option->read(values, given);
      given.given.emplace_back(option, arg);
    }
  }
  return given;
}

const std::string* written(const GivenOptions& given, const Option& option) {
  for (const auto& [o, name] : given.given)
    if (o == &option) return &name;
  return nullptr;
}

void checkAgainstMode(const GivenOptions& given, Modes modes, Mode mode) {
  for (const Option& option : options()) {
    const std::string* name = written(given, option);
    if (!name || option.modes.meets(modes)) continue;
    std::string message = *name + " cannot be used " +
                          (mode == Mode::Search ? refusedWithout(option) : "with " + std::string(selector(mode).name));
    if (!option.refusalReason.empty()) message += " (" + std::string(option.refusalReason) + ")";
    throw UsageError(message);
  }
}

void refuseWithoutNeeded(const GivenOptions& given) {
  for (const Option& option : options())
    if (!option.needs.empty() && written(given, option) && !written(given, *findOption(option.needs)))
      throw UsageError(std::string(option.name) + " needs " + std::string(option.needs));
}

}  // namespace Velmora::Cli
