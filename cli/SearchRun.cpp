#include "SearchRun.h"

#include <chrono>
#include <exception>

#include "FormulaFunction.h"
#include "Piyavsky_opt.h"
#include "Scan_opt.h"
#include "Strongin_opt.h"

namespace Velmora::Cli {

using VELMORAALG::TCharactOpt;

std::unique_ptr<TCharactOpt> makeMethod(Method method, VELMORAALG::TOptFunc func) {
  switch (method) {
    case Method::Scan: return std::make_unique<VELMORAALG::TScanOpt>(std::move(func));
    case Method::Piyavsky: return std::make_unique<VELMORAALG::TPiyavskyOpt>(std::move(func));
    case Method::Strongin: return std::make_unique<VELMORAALG::TStronginOpt>(std::move(func));
  }
  return nullptr;
}

double effectiveParam(Method method, double value) {
  switch (method) {
    case Method::Scan: return 0;
    case Method::Piyavsky: return value > 0 ? value : 1.0;
    case Method::Strongin: return value > 1 ? value : 1.5;
  }
  return 0;
}

SearchResult runSearch(const SearchOptions& options, FormulaFunction& func) {
  SearchResult result;
  MathReports reports;
  func.resetCount();
  std::unique_ptr<TCharactOpt> method = makeMethod(options.method, [&func](double x) { return func(x); });

  const double param = options.param.value_or(DefaultMethodParam);
  if (auto* piyavsky = dynamic_cast<VELMORAALG::TPiyavskyOpt*>(method.get())) piyavsky->SetLipschitz(param);
  if (auto* strongin = dynamic_cast<VELMORAALG::TStronginOpt*>(method.get())) strongin->SetMultiplier(param);
  result.paramUsed = effectiveParam(options.method, param);

  const auto start = std::chrono::steady_clock::now();
  try {
    double bestX = 0;
    switch (options.stop) {
      case StopRule::Steps: bestX = method->SearchBySteps(options.xmin, options.xmax, options.steps); break;
      case StopRule::Precision: bestX = method->SearchByPrecision(options.xmin, options.xmax, options.eps); break;
      case StopRule::IntervalLength: bestX = method->SearchByIntervalLength(options.xmin, options.xmax, options.eps); break;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.bestX = bestX;
    result.boundHit = options.stop != StopRule::Steps && method->PrecisionBoundHit();
  } catch (const std::exception& fault) {
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.fault = fault.what();
  }
  result.stepCount = method->GetStepCount();
  const std::vector<VELMORAALG::TSearchInfo> trials = method->GetTrials();
  result.trialCount = trials.size();
  result.evaluations = func.evaluations();

  if (!result.fault) {
    if (result.stepCount > 0) result.precision = method->GetPrecision();
    // Every trial, the best point included, was evaluated during the run, so
    // these evaluations repeat values already seen and cannot fault; the guard
    // keeps that an assumption rather than a crash.
    try {
      result.fBest = func(*result.bestX);
      if (options.trials || options.plotFile) {
        result.trials.reserve(trials.size());
        for (const auto& trial : trials) result.trials.push_back({trial.X, func(trial.X), trial.Charact});
      }
    } catch (const std::exception& fault) {
      result.fault = fault.what();
    }
  }
  result.reports = reports.distinct();
  return result;
}

}  // namespace Velmora::Cli
