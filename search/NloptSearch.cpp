#include "NloptSearch.h"

#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <numeric>
#include <stdexcept>

namespace VELMORAALG {

namespace {

nlopt_algorithm nloptAlgorithm(NloptSearch::Algorithm algorithm) {
  switch (algorithm) {
    case NloptSearch::Algorithm::Direct: return NLOPT_GN_DIRECT;
    case NloptSearch::Algorithm::DirectL: return NLOPT_GN_DIRECT_L;
    case NloptSearch::Algorithm::Ags: return NLOPT_GN_AGS;
    case NloptSearch::Algorithm::Crs2: return NLOPT_GN_CRS2_LM;
    case NloptSearch::Algorithm::Esch: return NLOPT_GN_ESCH;
    case NloptSearch::Algorithm::Isres: return NLOPT_GN_ISRES;
    case NloptSearch::Algorithm::Mlsl: return NLOPT_G_MLSL_LDS;
  }
  return NLOPT_GN_DIRECT;
}

struct OptDeleter {
  void operator()(nlopt_opt opt) const { nlopt_destroy(opt); }
};
using Opt = std::unique_ptr<std::remove_pointer_t<nlopt_opt>, OptDeleter>;

}  // namespace

bool NloptSearch::Installed(Algorithm algorithm) {
  return std::string(nlopt_algorithm_name(nloptAlgorithm(algorithm))).find("NOT COMPILED") == std::string::npos;
}

// What the callback needs during one run; NLopt hands it back as void*.
struct NloptSearch::RunState {
  NloptSearch& engine;
  nlopt_opt opt;
  std::size_t budget;
  std::exception_ptr fault;
  bool stopping = false;
};

NloptSearch::NloptSearch(TOptFunc func, Algorithm algorithm) : func_(std::move(func)), algorithm_(algorithm) {}

void NloptSearch::SetParameter(double value) {
  population_ = Stochastic(algorithm_) && value >= 1 ? static_cast<unsigned>(value) : 0;
}

void NloptSearch::SetSeed(std::uint64_t seed) { seed_ = seed; }

std::string NloptSearch::RuleRefusal(StopRule::Kind kind) const {
  if (kind == StopRule::Kind::Steps) return {};
  return std::string("NLopt's methods stop at a budget of evaluations; the ") +
         (kind == StopRule::Kind::Precision ? "precision" : "interval") + " rule has no meaning for them";
}

std::optional<SearchEngine::EngineResult> NloptSearch::GetEngineResult() const {
  // Before any run, or after a refused rule, there is no code NLopt knows.
  const char* text = nlopt_result_to_string(static_cast<nlopt_result>(result_));
  return EngineResult{result_, text ? text : ""};
}

int NloptSearch::GetRefreshCount() const { return 0; }

double NloptSearch::Objective(unsigned, const double* x, double*, void* data) {
  RunState& run = *static_cast<RunState*>(data);
  NloptSearch& self = run.engine;
  // NLopt may ask once more before it sees the stop; that point is no trial.
  if (run.stopping) return std::numeric_limits<double>::quiet_NaN();
  double z;
  try {
    z = self.func_(x[0]);
  } catch (...) {
    // An exception must not unwind through NLopt's C frames.
    run.fault = std::current_exception();
    run.stopping = true;
    nlopt_force_stop(run.opt);
    return std::numeric_limits<double>::quiet_NaN();
  }
  self.evaluations_.push_back({x[0], z});
  const std::size_t placed = self.evaluations_.size();
  if (placed == 1 || z < self.bestZ_) {
    self.bestX_ = x[0];
    self.bestZ_ = z;
  }
  if (placed > 2) {
    self.stepCount_ = static_cast<int>(placed - 2);
    if (self.Observed()) {
      const double none = std::numeric_limits<double>::quiet_NaN();
      self.ReportStep({self.stepCount_, 0, none, none, none, 0.0, x[0], z, 0.0});
    }
  }
  // NLopt ends at its maxeval by itself, which keeps its own result code;
  // only a stop asked for forces it.
  if (placed >= run.budget) run.stopping = true;
  if (self.StopWasRequested()) {
    run.stopping = true;
    nlopt_force_stop(run.opt);
  }
  return z;
}

StopReason NloptSearch::RunToRule(double xmin, double xmax, const StopRule& rule) {
  evaluations_.clear();
  stepCount_ = 0;
  precision_ = 0;
  bestX_ = xmin + (xmax - xmin) / 2;
  bestZ_ = std::numeric_limits<double>::quiet_NaN();
  result_ = 0;
  if (!(xmin < xmax)) throw std::invalid_argument("the interval must have xmin < xmax");
  if (rule.steps < 0) throw std::invalid_argument("the step count must not be negative");

  const Opt opt(nlopt_create(nloptAlgorithm(algorithm_), 1));
  if (!opt) throw std::runtime_error("NLopt could not make its optimiser");
  const Opt local(algorithm_ == Algorithm::Mlsl ? nlopt_create(NLOPT_LN_BOBYQA, 1) : nullptr);
  if (local) nlopt_set_local_optimizer(opt.get(), local.get());
  RunState run{*this, opt.get(), static_cast<std::size_t>(rule.steps) + 2, nullptr};
  nlopt_set_lower_bounds1(opt.get(), xmin);
  nlopt_set_upper_bounds1(opt.get(), xmax);
  nlopt_set_min_objective(opt.get(), Objective, &run);
  nlopt_set_maxeval(opt.get(), static_cast<int>(run.budget));
  if (population_) nlopt_set_population(opt.get(), population_);
  // Debian's NLopt keeps its generator per thread, so seeding here, in the
  // thread that runs, makes the run's draws the same on any thread.
  if (Stochastic(algorithm_)) nlopt_srand(static_cast<unsigned long>(seed_));

  double x = bestX_;
  double z = 0;
  const nlopt_result result = nlopt_optimize(opt.get(), &x, &z);
  result_ = result;
  if (run.fault) std::rethrow_exception(run.fault);
  if (result < 0 && result != NLOPT_FORCED_STOP)
    throw std::runtime_error(std::string("NLopt ended the run with ") + nlopt_result_to_string(result) +
                             (Installed(algorithm_) ? "" : " (the installed NLopt was built without this algorithm)"));
  return StopReason::StepsDone;
}

std::vector<int> NloptSearch::GetTrialOrder() const {
  std::vector<int> order(evaluations_.size());
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return evaluations_[a - 1].x < evaluations_[b - 1].x; });
  return order;
}

std::vector<TSearchInfo> NloptSearch::GetTrials() const {
  std::vector<TSearchInfo> trials;
  trials.reserve(evaluations_.size());
  for (int placed : GetTrialOrder())
    trials.push_back({evaluations_[placed - 1].x, std::numeric_limits<double>::quiet_NaN()});
  return trials;
}

std::vector<double> NloptSearch::GetTrialValues() const {
  std::vector<double> values;
  values.reserve(evaluations_.size());
  for (int placed : GetTrialOrder()) values.push_back(evaluations_[placed - 1].z);
  return values;
}

}  // namespace VELMORAALG
