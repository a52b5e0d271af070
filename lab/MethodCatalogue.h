// The methods Velmora offers, each described once: its id on the command line,
// its names, what its parameter means and how an entered value becomes the
// value the method works with, and how to make it. The window and velmora-run
// both read them here.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "AdaptiveLipschitzSearch.h"
#include "Charact_opt.h"
#include "NloptSearch.h"

namespace Velmora::Lab {

enum class MethodId {
  Scan,
  Piyavsky,
  Strongin,
  // The literature's variants: a geometric or an information characteristic
  // with a global or a local-tuning (maximum, additive, maximum-additive) estimate.
  GeomGl,
  GeomLtm,
  GeomLta,
  GeomLtma,
  InfGl,
  InfLtm,
  InfLta,
  InfLtma,
  // NLopt's global methods, for velmora-run and the core; the window has none of them.
  NloptDirect,
  NloptDirectL,
  NloptAgs,
  NloptCrs2,
  NloptEsch,
  NloptIsres,
  NloptMlsl,
};

enum class ParamMeaning {
  None,               ///< scanning takes no parameter
  LipschitzEstimate,  ///< the broken lines' constant L
  Multiplier,         ///< r, the multiplier of the estimated slopes (Strongin's and the variants' reliability)
  Population,         ///< a stochastic NLopt method's population; 0 keeps NLopt's default
};

// How the catalogue makes a method, and so which engine runs it.
enum class MethodFamily {
  CharacteristicScheme,  ///< TCharactOpt, with the window's rhythm: make and applyParam
  AdaptiveEstimate,      ///< AdaptiveLipschitzSearch, estimates refreshed after every trial: makeAdaptive
  // NloptSearch: makePeer. Every evaluation is a trial, the first two stand
  // for the ends, and the only stop rule is a budget of steps.
  Peer,
};

// The window's default for both the Lipschitz estimate and the multiplier.
inline constexpr double DefaultMethodParam = 1.5;

// A run by a precision or an interval rule stops here at the latest, and the
// window's step count goes no further.
inline constexpr int MaxSteps = VELMORAALG::TCharactOpt::MaxPrecisionSteps;

struct MethodInfo {
  MethodId id;
  std::string_view key;          ///< "scan", "piyavsky", "strongin", "geom-gl", ..., "inf-ltma"
  std::string_view windowName;   ///< the item of the window's method choice (UTF-8); empty for the variants
  std::string_view englishName;
  ParamMeaning param;
  std::string_view paramLabel;   ///< the window's label of the parameter (UTF-8); empty for none and the variants
  double defaultParam;
  // Whether the window and the command line take an entered value at all
  // (the multiplier must exceed 1; the broken lines take any estimate; a
  // variant's r must be finite and above 0).
  bool (*acceptsParam)(double entered);
  // acceptsParam in words, for messages ("greater than 1"); empty where every value is taken.
  std::string_view paramRule;
  // The value the method works with: an estimate that is not positive is 1,
  // a multiplier not above 1 is 1.5, a refused r is 2; 0 for a method
  // without a parameter.
  double (*effectiveParam)(double entered);
  MethodFamily family;
  // CharacteristicScheme only, null for the variants.
  std::unique_ptr<VELMORAALG::TCharactOpt> (*make)(VELMORAALG::TOptFunc objective);
  // Hands an entered value to a method object this entry made.
  void (*applyParam)(VELMORAALG::TCharactOpt& method, double entered);
  // AdaptiveEstimate only, null for the window's methods: the method with
  // effectiveParam(entered) as its r.
  std::unique_ptr<VELMORAALG::AdaptiveLipschitzSearch> (*makeAdaptive)(VELMORAALG::TOptFunc objective,
                                                                       double entered);
  // CharacteristicScheme only, null for the variants: the engine's own
  // characteristic of an interval, from its ends, their values and the
  // constant of a step (a step record's Constant).
  Velmora::Extended (*characteristic)(double leftX, double leftZ, double rightX, double rightZ, double constant);
  // Whether the method puts its point where lines of slopes +-constant through
  // the ends meet, so that a broken line under the trials explains it.
  bool brokenLine;
  // Peer only, null for the others: the method with its population and seed.
  std::unique_ptr<VELMORAALG::NloptSearch> (*makePeer)(VELMORAALG::TOptFunc objective, double entered,
                                                       std::uint64_t seed) = nullptr;
  // Whether its runs draw random numbers, so that a seed changes them.
  bool stochastic = false;
};

// The window's three methods, in the order of its method choice.
std::span<const MethodInfo> windowMethods();
// Every method: the window's three, the eight variants, then NLopt's seven.
std::span<const MethodInfo> allMethods();
const MethodInfo& methodInfo(MethodId id);
// Null when no method has that key.
const MethodInfo* findMethod(std::string_view key);

}  // namespace Velmora::Lab
