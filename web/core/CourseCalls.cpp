#include "CourseCalls.h"

#include <algorithm>
#include <optional>

#include <sstream>

#include "Minorant.h"
#include "SearchCsv.h"
#include "SearchTrace.h"

namespace Velmora::Web {

namespace {

class Course {
 public:
  Course(FormulaRequest search, const Lab::SearchOutcome& outcome)
      : search_(std::move(search)), steps_(outcome.stepRecords), best_(Lab::bestAfterEachStep(outcome)) {
    const Lab::MethodId method = *search_.request.method;
    // The window's methods explain every characteristic by their step's
    // constant, so any step's state comes from the finished run at once;
    // the others run again to the step before.
    if (Lab::methodInfo(method).characteristic) trace_.emplace(method, outcome);
  }

  int stepCount() const { return static_cast<int>(steps_.size()); }
  const std::vector<VELMORAALG::TStepRecord>& steps() const { return steps_; }
  const std::vector<double>& best() const { return best_; }

  val step(int k) {
    k = std::clamp(k, 0, stepCount());
    const int before = std::max(k - 1, 0);
    Lab::TraceState& state = before_;
    std::vector<Lab::TracePoint> minorant;
    if (trace_) {
      trace_->stateAfter(before, state);
      if (k > 0 && Lab::methodInfo(trace_->method()).brokenLine)
        minorant = trace_->brokenLineOfStep(k, state);
    } else {
      Lab::SearchRequest request = search_.request;
      request.stop = Lab::StopKind::Steps;
      request.steps = before;
      request.recordSteps = false;
      request.keepIntervalConstants = true;
      const Lab::SearchOutcome outcome = Lab::runSearch(request);
      state = Lab::TraceState();
      for (std::size_t i = 0; i < outcome.trials.size(); ++i) {
        state.trials.push_back({outcome.trials[i].x, outcome.trials[i].f});
        if (i + 1 < outcome.trials.size()) state.characts.push_back(outcome.trials[i].charact);
      }
      minorant = Lab::minorantOf(outcome);
    }
    val answer = val::object();
    answer.set("step", k);
    answer.set("trials", points(state.trials));
    answer.set("characts", float64Array(state.characts));
    answer.set("minorant", points(minorant));
    answer.set("best", best_[static_cast<std::size_t>(k)]);
    answer.set("error", val::null());
    return answer;
  }

 private:
  static val points(const std::vector<Lab::TracePoint>& list) {
    std::vector<double> x, f;
    x.reserve(list.size());
    f.reserve(list.size());
    for (const Lab::TracePoint& p : list) {
      x.push_back(p.x);
      f.push_back(p.f);
    }
    return pointsObject(x, f);
  }

  FormulaRequest search_;
  std::vector<VELMORAALG::TStepRecord> steps_;
  std::vector<double> best_;
  std::optional<Lab::SearchTrace> trace_;
  Lab::TraceState before_;  ///< the last state shown, which the next step builds on
};

struct KeptRun {
  std::vector<Lab::Trial> trials;
  std::optional<Course> course;
};

std::optional<KeptRun> kept;

}  // namespace

void keepRun(FormulaRequest search, const Lab::SearchOutcome& outcome) {
  kept.emplace();
  kept->trials = outcome.trials;
  if (!outcome.fault && !outcome.stepRecords.empty() && outcome.trials.size() == static_cast<std::size_t>(outcome.stepCount) + 2)
    kept->course.emplace(std::move(search), outcome);
}

std::string trialsCsv() {
  if (!kept) return {};
  std::ostringstream out;
  Lab::writeTrialsCsv(out, kept->trials);
  return out.str();
}

val courseStep(int k) {
  return answered([&] {
    if (!kept || !kept->course)
      return errorAnswer(errorObject("course", "no run to replay: search with recordSteps and keepRun first"));
    return kept->course->step(k);
  });
}

val courseBest() { return kept && kept->course ? float64Array(kept->course->best()) : val::null(); }

std::string courseStepsCsv(const std::string& header) {
  if (!kept || !kept->course) return {};
  std::ostringstream out;
  Lab::writeStepsCsv(out, header, kept->course->steps());
  return out.str();
}

}  // namespace Velmora::Web
