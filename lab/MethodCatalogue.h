// The methods Velmora offers, each described once: its id on the command line,
// its names, what its parameter means and how an entered value becomes the
// value the method works with, its defaults, and how to make it. The window
// and velmora-run both read them here.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "Rules.h"
#include "SearchEngine.h"

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
  // The local tunings with pessimistic and optimistic local improvement.
  GeomLtimp,
  GeomLtiap,
  GeomLtimap,
  GeomLtimo,
  GeomLtiao,
  GeomLtimao,
  InfLtimp,
  InfLtiap,
  InfLtimap,
  InfLtimo,
  InfLtiao,
  InfLtimao,
  // The information characteristic with a given Lipschitz estimate.
  InfAl,
  // For an f whose derivative is Lipschitz: the smooth auxiliary functions
  // with a global or a local-tuning estimate, each with or without local improvement.
  DGl,
  DLt,
  DGlLi,
  DLtLi,
  DAl,
  DAlLi,
#if VELMORA_PEERS
  // NLopt's global methods, for velmora-run and the core; the window has none of them.
  NloptDirect,
  NloptDirectL,
  NloptAgs,
  NloptCrs2,
  NloptEsch,
  NloptIsres,
  NloptMlsl,
#endif
};

enum class ParamMeaning {
  None,               ///< scanning takes no parameter
  LipschitzEstimate,  ///< the broken lines' constant L
  SlopeLipschitzEstimate,  ///< M, the Lipschitz constant of f' that the smooth auxiliary functions take
  Multiplier,         ///< r, the multiplier of the estimated slopes (Strongin's and the variants' reliability)
  Population,         ///< a stochastic NLopt method's population; 0 keeps NLopt's default
};

// The window's default for both the Lipschitz estimate and the multiplier.
inline constexpr double DefaultMethodParam = 1.5;

// Every multiplier in runs over many problems (test sets, class runs) unless
// told otherwise, as the literature runs them.
inline constexpr double BatchMultiplier = 2;

// Piyavsky's L "from the function" is its Lipschitz constant times this: the
// constant is the largest slope on a grid, which the true one may exceed a
// little, and an L below it lets the broken lines cut off the minimum.
inline constexpr double FromFunctionMargin = 1.1;

// The kind of a stop rule: steps, precision or interval length.
using StopKind = VELMORAALG::StopRule::Kind;

// A run by a precision or an interval rule stops here at the latest, and the
// window's step count goes no further.
inline constexpr int MaxSteps = VELMORAALG::StopRule::DefaultMaxSteps;

struct MethodInfo {
  MethodId id;
  std::string_view key;          ///< "scan", "piyavsky", "strongin", "geom-gl", ..., "inf-ltma"
  std::string_view englishName;
  // The engine for this method, on the objective; the parameter is handed
  // over before each run (SetParameter with effectiveParam).
  std::unique_ptr<VELMORAALG::SearchEngine> (*make)(VELMORAALG::TOptFunc objective) = nullptr;
  // Instead, for a method that uses f' beside f: the engine on F with its slope.
  std::unique_ptr<VELMORAALG::SearchEngine> (*makeWithSlope)(VELMORAALG::TSlopeFunc objective) = nullptr;

  ParamMeaning param = ParamMeaning::None;
  // The parameter in the messages' words: its noun ("Lipschitz estimate",
  // "multiplier", "population") and its symbol ("L", "r"; empty where it
  // has none); both empty for a method without a parameter.
  std::string_view paramNoun;
  std::string_view paramSymbol;
  // What a value of 0 leaves to the method, in words; empty where 0 is a value like any other.
  std::string_view paramZeroWords;
  double defaultParam = 0;
  // The parameter of a run over many problems when none is given: the
  // problem's own Lipschitz estimate where batchParamOfProblem, else batchDefault.
  bool batchParamOfProblem = false;
  double batchDefault = 0;
  // Neither: no problem gives it, so a run over many problems takes the method
  // only with a parameter given, and "all" leaves it out.
  bool batchNeedsParam = false;
  // Whether the window and the command line take an entered value at all.
  bool (*acceptsParam)(double entered) = nullptr;
  // acceptsParam in words, for messages ("greater than 1"); empty where every value is taken.
  std::string_view paramRule;
  // The value the method works with (0 for a method without a parameter).
  double (*effectiveParam)(double entered) = nullptr;

  // The window's face: its item in the method choice and its label of the
  // parameter (UTF-8); empty for a method the window does not offer.
  std::string_view windowName;
  std::string_view paramLabel;
  // The window's words before a step's constant in the trace ("Ломаная с L = ");
  // empty where the constant is no one's business.
  std::string_view stepConstantLabel;
  // For the replay: every characteristic of a step from that step's record
  // constant; null where no one constant explains them (the variants'
  // estimates differ from interval to interval).
  VELMORAALG::CharacteristicRule characteristic = nullptr;
  // Whether the method puts its point where lines of slopes +-constant through
  // the ends meet, so that a broken line under the trials explains it.
  bool brokenLine = false;
  // Whether its runs draw random numbers, so that a seed changes them.
  bool stochastic = false;
  // Whether this installation can run it; null where it always can. A
  // build of NLopt may lack some of its algorithms.
  bool (*installed)() = nullptr;
};

// Whether the method can run here (MethodInfo::installed).
bool isInstalled(const MethodInfo& method);

// Whether the method runs to a rule of this kind; its engine alone says
// which it takes (NLopt's peers take a budget of steps only).
bool takesStop(const MethodInfo& method, StopKind kind);

// The window's three methods, in the order of its method choice.
std::span<const MethodInfo> windowMethods();
// Every method: the window's three, the variants, the methods that use f',
// then NLopt's (in a build with the peers).
std::span<const MethodInfo> allMethods();
const MethodInfo& methodInfo(MethodId id);
// Null when no method has that key.
const MethodInfo* findMethod(std::string_view key);

// The parameter of a batch run when none is given for the method
// (MethodInfo::batchParamOfProblem, batchDefault).
double batchParam(MethodId id, double problemL);

// The parameter named: "Lipschitz estimate L", "multiplier r", "population".
std::string paramName(const MethodInfo& method);
// A value of it, short: "L = 1.5", "r = 2", "population 10".
std::string paramValueText(const MethodInfo& method, double value);
// A value of it, in full: "Lipschitz estimate L = 1.5", "population 10", "NLopt's population".
std::string paramInWords(const MethodInfo& method, double value);
// Python's name of what the parameter means: "lipschitz", "multiplier", "population"; empty for none.
std::string_view paramMeaningKey(ParamMeaning meaning);

}  // namespace Velmora::Lab
