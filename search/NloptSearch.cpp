#include "NloptSearch.h"

#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <stdexcept>

#include "Rules.h"

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
  const StopRule& rule;
  nlopt_opt opt;
  std::exception_ptr fault;
  std::optional<StopReason> end;
};

NloptSearch::NloptSearch(TOptFunc func, Algorithm algorithm) : func_(std::move(func)), algorithm_(algorithm) {}

void NloptSearch::SetParameter(double value) { population_ = static_cast<unsigned>(value); }

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

void NloptSearch::Start(double xmin, double xmax) {
  evaluations_.clear();
  precision_ = 0;
  bestX_ = xmin + (xmax - xmin) / 2;
  bestZ_ = std::numeric_limits<double>::quiet_NaN();
  result_ = 0;
  xmin_ = xmin;
  xmax_ = xmax;
}

// The ends are compared as the other engines compare theirs; each later
// trial takes the best point's place by the shared rule. DIRECT's scaling
// asks for points a rounding beyond [A, B]; F is asked at the nearest point
// of the interval, and that point is the trial.
double NloptSearch::Evaluate(double asked) {
  const double x = std::clamp(asked, xmin_, xmax_);
  const double z = func_(x);
  evaluations_.push_back({x, z});
  if (evaluations_.size() <= 2 ? IsLower(z, bestZ_) : TakesBestPlace(z, bestZ_)) {
    bestX_ = x;
    bestZ_ = z;
  }
  return z;
}

std::optional<StopReason> NloptSearch::Place(TStepRecord& record) {
  const double z = Evaluate(asked_);
  const double none = std::numeric_limits<double>::quiet_NaN();
  record = {0, 0, none, none, none, 0.0, evaluations_.back().x, z, 0.0};
  return std::nullopt;
}

double NloptSearch::Objective(unsigned, const double* x, double*, void* data) {
  RunState& run = *static_cast<RunState*>(data);
  NloptSearch& self = run.engine;
  // NLopt may ask once more before it sees the stop; that point is no trial.
  if (run.end) return std::numeric_limits<double>::quiet_NaN();
  const std::size_t before = self.evaluations_.size();
  // An exception must not unwind through NLopt's C frames.
  try {
    if (before < 2) return self.Evaluate(x[0]);
    self.asked_ = x[0];
    run.end = self.Step(run.rule);
  } catch (...) {
    run.fault = std::current_exception();
    run.end = StopReason::Fault;
    nlopt_force_stop(run.opt);
    return std::numeric_limits<double>::quiet_NaN();
  }
  // A budget used up is NLopt's maxeval too, which keeps NLopt's own result
  // code; any other end is forced.
  if (run.end && *run.end != StopReason::StepsDone) nlopt_force_stop(run.opt);
  // A run that ended before the step placed nothing, and the point is no trial.
  return self.evaluations_.size() > before ? self.evaluations_.back().z : std::numeric_limits<double>::quiet_NaN();
}

StopReason NloptSearch::Drive(const StopRule& rule) {
  if (rule.steps < 0) throw std::invalid_argument("the step count must not be negative");
  const Opt opt(nlopt_create(nloptAlgorithm(algorithm_), 1));
  if (!opt) throw std::runtime_error("NLopt could not make its optimiser");
  const Opt local(algorithm_ == Algorithm::Mlsl ? nlopt_create(NLOPT_LN_BOBYQA, 1) : nullptr);
  if (local) nlopt_set_local_optimizer(opt.get(), local.get());
  RunState run{*this, rule, opt.get(), nullptr, std::nullopt};
  nlopt_set_lower_bounds1(opt.get(), xmin_);
  nlopt_set_upper_bounds1(opt.get(), xmax_);
  nlopt_set_min_objective(opt.get(), Objective, &run);
  nlopt_set_maxeval(opt.get(), rule.steps + 2);
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
  return run.end.value_or(StopReason::StepsDone);
}

std::vector<TSearchInfo> NloptSearch::GetTrials() const {
  std::vector<int> order(evaluations_.size());
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return evaluations_[a - 1].x < evaluations_[b - 1].x; });
  std::vector<TSearchInfo> trials;
  trials.reserve(order.size());
  for (const int placed : order) {
    const Evaluation& e = evaluations_[placed - 1];
    trials.push_back({e.x, e.z, std::numeric_limits<double>::quiet_NaN(), placed});
  }
  return trials;
}

}  // namespace VELMORAALG
