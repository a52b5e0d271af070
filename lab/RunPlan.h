// What a run over many problems is asked to do, a test set's or a class's:
// the methods, their parameters and the seeds. How its rows are written is
// the front end's business.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MethodCatalogue.h"
#include "SearchEngine.h"

namespace Velmora::Lab {

// An engine of the caller's, made for one problem's objective (a method whose
// rules are written elsewhere, such as in Python).
using EngineMaker = std::function<std::unique_ptr<VELMORAALG::SearchEngine>(VELMORAALG::TOptFunc)>;

// A method of the caller's in a run over many problems. It takes no
// parameter and no seed: its rules hold their constant.
struct OwnMethod {
  std::string name;
  EngineMaker make;
};

// The most threads and seeds a run over many problems takes.
inline constexpr int MaxJobs = 256;
inline constexpr int MaxSeeds = 10000;

// A method by its key, as front ends take it; a method this installation
// cannot run is refused. Throws BadValue.
MethodId readMethod(std::string_view key);
// Every key of the catalogue: "scan, piyavsky, ... or nlopt-mlsl".
std::string methodKeys();

struct RunPlan {
  std::vector<MethodId> methods{MethodId::Scan, MethodId::Piyavsky, MethodId::Strongin};
  // After the catalogue's on each problem, in this order; make is called on
  // the run's threads.
  std::vector<OwnMethod> ownMethods;
  std::map<MethodId, double> params;  ///< as given; a method without one takes batchParam's
  std::uint64_t seed = 0;             ///< the one seed of each stochastic method's run
  // Each stochastic method runs with seeds 0 .. seeds - 1, the others once.
  std::optional<int> seeds;

  // The seeds a method runs with: one for a deterministic method (its seed
  // then means nothing), seed or 0 .. seeds - 1 for a stochastic one.
  std::vector<std::uint64_t> seedsFor(MethodId method) const;
  // Whether a method of the run is stochastic, so that its rows carry seeds.
  bool anyStochastic() const;
  // The parameter a method runs with on a problem whose own Lipschitz
  // estimate is problemL: the one given, else the catalogue's for runs over
  // many problems.
  double paramFor(MethodId method, double problemL) const;
  // The runs on one problem: every seed of every method, the own methods' once each.
  std::size_t runsPerProblem() const;
  // The first method that takes its parameter only as given
  // (MethodInfo::batchNeedsParam) and was given none; the plan cannot run then.
  std::optional<MethodId> methodLackingParam() const;
};

}  // namespace Velmora::Lab
