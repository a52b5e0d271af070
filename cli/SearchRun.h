// One search from the command line, run as the window's Search runs it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Charact_opt.h"
#include "CommandLine.h"

namespace Velmora::Cli {

class FormulaFunction;

struct TrialRow {
  double x;
  double f;
  double charact;
};

struct SearchResult {
  double paramUsed = 0;               ///< L or r as the method holds it; 0 for scanning
  std::optional<double> bestX;        ///< empty when a fault ended the run
  std::optional<double> fBest;
  std::optional<double> precision;    ///< empty when no step was made or a fault ended the run
  int stepCount = 0;
  std::size_t trialCount = 0;
  std::size_t evaluations = 0;
  bool boundHit = false;
  std::optional<std::string> fault;
  std::vector<std::string> reports;
  std::vector<TrialRow> trials;       ///< filled only for --trials and --plot
  double seconds = 0;
};

std::unique_ptr<VELMORAALG::TCharactOpt> makeMethod(Method method, VELMORAALG::TOptFunc func);

// The method's parameter after the window's rules: a Lipschitz estimate that is not
// positive becomes 1, a multiplier not above 1 becomes 1.5.
double effectiveParam(Method method, double value);

// Runs the search with the options' formula already compiled into func; faults and
// math-library reports end up in the result, never as exceptions.
SearchResult runSearch(const SearchOptions& options, FormulaFunction& func);

}  // namespace Velmora::Cli
