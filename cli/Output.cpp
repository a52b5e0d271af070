#include "Output.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "CsvSchema.h"
#include "NumberText.h"

namespace Velmora::Cli {

namespace {

std::string optionalNumber(const std::optional<double>& value) { return value ? Lab::shortest(*value) : ""; }

// What a run leaves to show: a fault leaves no best point, and a run without
// steps no precision.
std::optional<double> bestX(const Lab::SearchOutcome& result) {
  return result.fault ? std::nullopt : std::optional(result.bestX);
}
std::optional<double> fBest(const Lab::SearchOutcome& result) {
  return result.fault ? std::nullopt : std::optional(result.fBest);
}
std::optional<double> precision(const Lab::SearchOutcome& result) {
  return result.fault || result.stepCount == 0 ? std::nullopt : std::optional(result.precision);
}
std::optional<double> firstStepOutside(const Lab::SearchOutcome& result) {
  return result.firstStepOutside ? std::optional<double>(result.firstStepOutside) : std::nullopt;
}
bool boundHit(const Lab::SearchOutcome& result) { return result.stop == Lab::StopReason::StepBoundHit; }
const char* faultSource(const Lab::SearchOutcome& result) { return result.faultInMethod ? "method" : "function"; }
// A method that uses f' evaluates it with F at every point.
std::size_t slopeEvaluations(const Lab::SearchOutcome& result) {
  return result.slopes.empty() ? 0 : result.evaluations.value_or(0);
}
// f' at the i-th trial in list order, for a method that used it.
std::optional<double> slopeAt(const Lab::SearchOutcome& result, std::size_t i) {
  return result.slopes.empty() ? std::nullopt : std::optional(result.slopes[i]);
}
// Trials are listed only for a run that finished.
bool listsTrials(const SearchOptions& options, const Lab::SearchOutcome& result) {
  return options.trials && !result.fault && !result.trials.empty();
}

// JSON has no infinities or NaN: such a value is null as a number and keeps
// its exact identity in the _hex twin.
void jsonDouble(std::ostream& out, const char* key, const std::optional<double>& value, const char* indent) {
  out << indent << '"' << key << "\": " << (value && std::isfinite(*value) ? Lab::shortest(*value) : "null") << ",\n";
  out << indent << '"' << key << "_hex\": " << (value ? jsonString(hexFloat(*value)) : "null");
}

// A peer's trials have no characteristic: the field stays empty.
std::string charactText(const Lab::Trial& trial) { return std::isnan(trial.charact) ? "" : Lab::shortest(trial.charact); }

void writeSearchText(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result) {
  const auto line = [&out](const char* label, const std::string& value) {
    out << label << std::string(14 - std::string(label).size(), ' ') << value << '\n';
  };
  line("formula", options.formula);
  // Built by appending: GCC 12 warns falsely about "[" + std::string.
  std::string interval(1, '[');
  interval.append(Lab::shortest(options.request.xmin)).append(", ").append(Lab::shortest(options.request.xmax)).append("]");
  line("interval", interval);
  const Lab::MethodInfo& info = Lab::methodInfo(*options.request.method);
  std::string method(info.key);
  const double given = options.request.param.value_or(info.defaultParam);
  if (info.param != Lab::ParamMeaning::None) method += ", " + Lab::paramInWords(info, result.paramUsed);
  // The broken lines alone correct a value where the others refuse it.
  if (info.param == Lab::ParamMeaning::LipschitzEstimate && result.paramUsed != given)
    method += " (" + Lab::shortest(given) + " is not positive)";
  if (info.stochastic) method += ", seed " + std::to_string(options.request.seed);
  line("method", method);
  switch (options.request.stop) {
    case StopKind::Steps: line("stop rule", std::to_string(options.request.steps) + " steps"); break;
    case StopKind::Precision: line("stop rule", "precision " + Lab::shortest(options.request.eps)); break;
    case StopKind::IntervalLength: line("stop rule", "chosen interval no longer than " + Lab::shortest(options.request.eps)); break;
  }
  if (!result.fault) {
    line("best x", Lab::shortest(result.bestX));
    line("f(best x)", Lab::shortest(result.fBest));
  }
  if (const auto reached = precision(result)) line("precision", Lab::shortest(*reached));
  line("steps made", std::to_string(result.stepCount));
  line("trials", std::to_string(result.trials.size()));
  line("outside", result.trialsOutside ? std::to_string(result.trialsOutside) + " trials, the first at step " +
                                             std::to_string(result.firstStepOutside)
                                       : "none");
  line("evaluations", std::to_string(result.evaluations.value_or(0)) +
                          (result.slopes.empty() ? "" : ", each of F and of f'"));
  line("time", printed("%.6f s", result.seconds));
  line("stop", std::string(Lab::stopReasonText(result.stop)));
  if (result.engineResult)
    line("NLopt result", std::to_string(*result.engineResult) + " " + result.engineResultText);
  if (options.request.stop != StopKind::Steps)
    line("bound hit", boundHit(result) ? "yes: stopped at the bound of " + std::to_string(Lab::MaxSteps) + " steps" : "no");
  if (result.firstNonFinite) line("not finite", Lab::nonFiniteText(*result.firstNonFinite));
  for (const std::string& report : result.reports) line("report", report);
  if (result.fault)
    line("fault", *result.fault + (result.faultInMethod ? " in the method's own arithmetic" : "") + " (the run ended here)");
  if (listsTrials(options, result)) {
    out << "\ntrials in list order:\n";
    char header[128];
    std::snprintf(header, sizeof header, "%7s  %-24s  %-24s  %s\n", "#", "x", "f(x)", "charact");
    out << header;
    for (std::size_t i = 0; i < result.trials.size(); ++i) {
      const Lab::Trial& trial = result.trials[i];
      char row[160];
      std::snprintf(row, sizeof row, "%7zu  %-24s  %-24s  %s\n", i + 1, Lab::shortest(trial.x).c_str(), Lab::shortest(trial.f).c_str(),
                    charactText(trial).c_str());
      out << row;
    }
  }
}

void writeSearchCsv(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result) {
  out << Lab::csvHeader(Lab::SearchCsvKind) << '\n';
  out << optionalNumber(bestX(result)) << ',' << optionalNumber(fBest(result)) << ',' << optionalNumber(precision(result))
      << ',' << result.stepCount << ',' << result.trials.size() << ',' << result.trialsOutside << ','
      << optionalNumber(firstStepOutside(result)) << ',' << result.evaluations.value_or(0) << ','
      << slopeEvaluations(result) << ','
      << (boundHit(result) ? "true" : "false") << ',';
  out << Lab::stopReasonKey(result.stop) << ',';
  out << (result.engineResult ? std::to_string(*result.engineResult) : "") << ',' << csvField(result.engineResultText)
      << ',';
  if (const auto& first = result.firstNonFinite)
    out << first->placed << ',' << Lab::shortest(first->x) << ',' << Lab::shortest(first->f) << ',';
  else
    out << ",,,";
  out << csvField(result.fault.value_or("")) << ',' << (result.fault ? faultSource(result) : "") << ','
      << csvField(joined(result.reports, "; ")) << ',' << printed("%.6f", result.seconds) << '\n';
  if (listsTrials(options, result)) {
    out << "\nx,f,charact,df\n";
    for (std::size_t i = 0; i < result.trials.size(); ++i) {
      const Lab::Trial& trial = result.trials[i];
      out << Lab::shortest(trial.x) << ',' << Lab::shortest(trial.f) << ',' << charactText(trial) << ','
          << optionalNumber(slopeAt(result, i)) << '\n';
    }
  }
}

void writeSearchJson(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result) {
  out << "{\n";
  jsonDouble(out, "best_x", bestX(result), "  ");
  out << ",\n";
  jsonDouble(out, "f_best", fBest(result), "  ");
  out << ",\n";
  jsonDouble(out, "precision", precision(result), "  ");
  out << ",\n";
  out << "  \"step_count\": " << result.stepCount << ",\n";
  out << "  \"trial_count\": " << result.trials.size() << ",\n";
  out << "  \"trials_outside\": " << result.trialsOutside << ",\n";
  out << "  \"first_step_outside\": " << (result.firstStepOutside ? std::to_string(result.firstStepOutside) : "null")
      << ",\n";
  out << "  \"evaluations\": " << result.evaluations.value_or(0) << ",\n";
  out << "  \"slope_evaluations\": " << slopeEvaluations(result) << ",\n";
  out << "  \"bound_hit\": " << (boundHit(result) ? "true" : "false") << ",\n";
  out << "  \"stop\": \"" << Lab::stopReasonKey(result.stop) << "\",\n";
  out << "  \"nlopt_result\": " << (result.engineResult ? std::to_string(*result.engineResult) : "null") << ",\n";
  out << "  \"nlopt_result_text\": " << (result.engineResult ? jsonString(result.engineResultText) : "null") << ",\n";
  out << "  \"first_non_finite\": ";
  if (const auto& first = result.firstNonFinite) {
    out << "{\n    \"trial\": " << first->placed << ",\n";
    jsonDouble(out, "x", first->x, "    ");
    out << ",\n";
    jsonDouble(out, "f", first->f, "    ");
    out << "\n  },\n";
  } else {
    out << "null,\n";
  }
  out << "  \"fault\": " << (result.fault ? jsonString(*result.fault) : "null") << ",\n";
  out << "  \"fault_source\": " << (result.fault ? jsonString(faultSource(result)) : "null") << ",\n";
  out << "  \"reports\": [";
  for (std::size_t i = 0; i < result.reports.size(); ++i) out << (i ? ", " : "") << jsonString(result.reports[i]);
  out << ']';
  if (options.trials) {
    const std::size_t listed = listsTrials(options, result) ? result.trials.size() : 0;
    out << ",\n  \"trials\": [";
    for (std::size_t i = 0; i < listed; ++i) {
      const Lab::Trial& trial = result.trials[i];
      out << (i ? ",\n" : "\n") << "    {\n";
      jsonDouble(out, "x", trial.x, "      ");
      out << ",\n";
      jsonDouble(out, "f", trial.f, "      ");
      out << ",\n";
      jsonDouble(out, "charact", trial.charact, "      ");
      out << ",\n";
      jsonDouble(out, "df", slopeAt(result, i), "      ");
      out << "\n    }";
    }
    out << (listed == 0 ? "]" : "\n  ]");
  }
  out << "\n}\n";
}

}  // namespace

void writeSearch(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result) {
  switch (options.format) {
    case Format::Text: writeSearchText(out, options, result); break;
    case Format::Csv: writeSearchCsv(out, options, result); break;
    case Format::Json: writeSearchJson(out, options, result); break;
  }
}

}  // namespace Velmora::Cli
