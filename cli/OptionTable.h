// Every option of velmora-run, each described once: its name, its values,
// the modes it belongs to and how its values are read and checked. Reading
// the arguments, refusing an option outside its modes and --help all follow
// from this table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "OptionValues.h"

namespace Velmora::Cli {

// What velmora-run does, each mode chosen by an option of its own (Formulas
// by --print-formula beside --class); a search when none of them is given.
enum class Mode : unsigned { Search = 1, Suite = 2, Class = 4, Formulas = 8, FromCsv = 16, Help = 32 };

class Modes {
 public:
  constexpr Modes() = default;
  constexpr Modes(Mode mode) : bits_(static_cast<unsigned>(mode)) {}
  constexpr Modes with(Modes other) const { return Modes(bits_ | other.bits_); }
  constexpr bool has(Mode mode) const { return (bits_ & static_cast<unsigned>(mode)) != 0; }
  constexpr bool meets(Modes other) const { return (bits_ & other.bits_) != 0; }

 private:
  constexpr explicit Modes(unsigned bits) : bits_(bits) {}
  unsigned bits_ = 0;
};

constexpr Modes operator|(Modes a, Modes b) { return a.with(b); }
constexpr Modes operator|(Mode a, Mode b) { return Modes(a).with(b); }

inline constexpr Modes BatchModes = Mode::Suite | Mode::Class;
inline constexpr Modes ClassRunModes = Mode::Class | Mode::FromCsv;

struct GivenOptions;

// The values after an option: the tokens that follow it, whatever they look
// like, so "--interval -10 10" reads two numbers.
class OptionValueReader {
 public:
  OptionValueReader(const std::vector<std::string>& args, std::size_t& next, std::string option)
      : args_(args), next_(next), option_(std::move(option)) {}
  const std::string& option() const { return option_; }
  // The next value; what names the missing one after the option's name (" B").
  const std::string& take(std::string_view what = {});

 private:
  const std::vector<std::string>& args_;
  std::size_t& next_;
  std::string option_;
};

struct Option {
  std::string_view name{};  ///< for a family (--param-), what precedes the method's key
  // Its values as --help shows them ("A B", "N"); empty for a flag.
  std::string_view values{};
  Modes modes{};
  // Reads its values into the given options, checking what can be checked
  // without the mode; throws UsageError.
  void (*read)(OptionValueReader& values, GivenOptions& given) = nullptr;
  Modes required{};  ///< the modes that need it; --help shows it without brackets there
  // Options of one group are alternatives, shown in --help as one bracket.
  std::string_view group{};
  // The option it needs, in whose bracket --help shows it.
  std::string_view needs{};
  // Added to the message that refuses it: why a mode has no use for it.
  std::string_view refusalReason{};
  std::optional<Mode> selects{};  ///< the mode it chooses
  bool family = false;            ///< one option per method: --param-METHOD
  bool listed = true;             ///< false: --help shows it in its mode's own line
  // Its values in --help when they depend on the mode; else values.
  std::string (*valuesIn)(Mode mode) = nullptr;
};

std::span<const Option> options();
// The option that chooses a mode (--print-formula for Formulas).
const Option& selector(Mode mode);

}  // namespace Velmora::Cli
