#include "Output.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "NumberText.h"

namespace Velmora::Cli {

namespace {

std::string printed(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

std::string optionalNumber(const std::optional<double>& value) { return value ? shortest(*value) : ""; }

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
bool boundHit(const Lab::SearchOutcome& result) { return result.stop == Lab::StopReason::StepBoundHit; }
// Trials are listed only for a run that finished.
bool listsTrials(const SearchOptions& options, const Lab::SearchOutcome& result) {
  return options.trials && !result.fault && !result.trials.empty();
}

// JSON has no infinities or NaN: such a value is null as a number and keeps
// its exact identity in the _hex twin.
void jsonDouble(std::ostream& out, const char* key, const std::optional<double>& value, const char* indent) {
  out << indent << '"' << key << "\": " << (value && std::isfinite(*value) ? shortest(*value) : "null") << ",\n";
  out << indent << '"' << key << "_hex\": " << (value ? jsonString(hexFloat(*value)) : "null");
}

std::string paramText(MethodId method, double param) {
  return Lab::methodInfo(method).param == Lab::ParamMeaning::None ? "-" : shortest(param);
}

void writeSearchText(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result) {
  const auto line = [&out](const char* label, const std::string& value) {
    out << label << std::string(14 - std::string(label).size(), ' ') << value << '\n';
  };
  line("formula", options.formula);
  // Built by appending: GCC 12 warns falsely about "[" + std::string.
  std::string interval(1, '[');
  interval.append(shortest(options.xmin)).append(", ").append(shortest(options.xmax)).append("]");
  line("interval", interval);
  std::string method(methodName(options.method));
  const double given = options.param.value_or(Lab::DefaultMethodParam);
  switch (Lab::methodInfo(options.method).param) {
    case Lab::ParamMeaning::None: break;
    case Lab::ParamMeaning::LipschitzEstimate:
      method += ", Lipschitz estimate L = " + shortest(result.paramUsed);
      if (result.paramUsed != given) method += " (" + shortest(given) + " is not positive)";
      break;
    case Lab::ParamMeaning::Multiplier: method += ", multiplier r = " + shortest(result.paramUsed); break;
  }
  line("method", method);
  switch (options.stop) {
    case StopRule::Steps: line("stop rule", std::to_string(options.steps) + " steps"); break;
    case StopRule::Precision: line("stop rule", "precision " + shortest(options.eps)); break;
    case StopRule::IntervalLength: line("stop rule", "chosen interval no longer than " + shortest(options.eps)); break;
  }
  if (!result.fault) {
    line("best x", shortest(result.bestX));
    line("f(best x)", shortest(result.fBest));
  }
  if (const auto reached = precision(result)) line("precision", shortest(*reached));
  line("steps made", std::to_string(result.stepCount));
  line("trials", std::to_string(result.trials.size()));
  line("evaluations", std::to_string(result.evaluations.value_or(0)));
  line("time", printed("%.6f s", result.seconds));
  if (options.stop != StopRule::Steps)
    line("bound hit", boundHit(result) ? "yes: stopped at the bound of " + std::to_string(Lab::MaxSteps) + " steps" : "no");
  for (const std::string& report : result.reports) line("report", report);
  if (result.fault) line("fault", *result.fault + " (the run ended here)");
  if (listsTrials(options, result)) {
    out << "\ntrials in list order:\n";
    char header[128];
    std::snprintf(header, sizeof header, "%7s  %-24s  %-24s  %s\n", "#", "x", "f(x)", "charact");
    out << header;
    for (std::size_t i = 0; i < result.trials.size(); ++i) {
      const Lab::Trial& trial = result.trials[i];
      char row[160];
      std::snprintf(row, sizeof row, "%7zu  %-24s  %-24s  %s\n", i + 1, shortest(trial.x).c_str(), shortest(trial.f).c_str(),
                    shortest(trial.charact).c_str());
      out << row;
    }
  }
}

void writeSearchCsv(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result) {
  out << "best_x,f_best,precision,step_count,trial_count,evaluations,bound_hit,fault,reports,seconds\n";
  out << optionalNumber(bestX(result)) << ',' << optionalNumber(fBest(result)) << ',' << optionalNumber(precision(result))
      << ',' << result.stepCount << ',' << result.trials.size() << ',' << result.evaluations.value_or(0) << ','
      << (boundHit(result) ? "true" : "false") << ',' << csvField(result.fault.value_or("")) << ','
      << csvField(joined(result.reports, "; ")) << ',' << printed("%.6f", result.seconds) << '\n';
  if (listsTrials(options, result)) {
    out << "\nx,f,charact\n";
    for (const Lab::Trial& trial : result.trials)
      out << shortest(trial.x) << ',' << shortest(trial.f) << ',' << shortest(trial.charact) << '\n';
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
  out << "  \"evaluations\": " << result.evaluations.value_or(0) << ",\n";
  out << "  \"bound_hit\": " << (boundHit(result) ? "true" : "false") << ",\n";
  out << "  \"fault\": " << (result.fault ? jsonString(*result.fault) : "null") << ",\n";
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
      out << "\n    }";
    }
    out << (listed == 0 ? "]" : "\n  ]");
  }
  out << "\n}\n";
}

struct Means {
  std::size_t runs = 0, successes = 0, hits = 0, finished = 0;
  double trials = 0, firstHit = 0, error = 0, seconds = 0;
};

Means meansOf(const std::vector<SuiteRow>& rows, MethodId method) {
  Means means;
  for (const SuiteRow& row : rows) {
    if (row.method != method) continue;
    ++means.runs;
    means.trials += static_cast<double>(row.trials);
    means.seconds += row.seconds;
    if (row.success) ++means.successes;
    if (row.firstHit) {
      ++means.hits;
      means.firstHit += static_cast<double>(*row.firstHit);
    }
    if (!row.fault) {
      ++means.finished;
      means.error += row.error;
    }
  }
  if (means.runs) {
    means.trials /= static_cast<double>(means.runs);
    means.seconds /= static_cast<double>(means.runs);
  }
  if (means.hits) means.firstHit /= static_cast<double>(means.hits);
  if (means.finished) means.error /= static_cast<double>(means.finished);
  return means;
}

std::string meanParam(const SuiteOptions& options, MethodId method) {
  switch (Lab::methodInfo(method).param) {
    case Lab::ParamMeaning::None: return "-";
    case Lab::ParamMeaning::LipschitzEstimate: return options.piyavskyL ? shortest(*options.piyavskyL) : "L of the file";
    case Lab::ParamMeaning::Multiplier: return shortest(options.stronginR);
  }
  return "-";
}

std::string successText(const SuiteRow& row) { return row.fault ? "fault" : row.success ? "yes" : "no"; }

void writeSuiteMarkdown(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows) {
  std::size_t problems = 0;
  for (const SuiteRow& row : rows)
    if (row.method == rows.front().method) ++problems;
  out << "Test set " << options.file << ": " << problems << " problems; ";
  if (options.steps)
    out << options.steps.value() << " steps per run";
  else
    out << "each run stops when the chosen interval is no longer than eps = " << printed("%g", options.epsRel) << "·(b − a)";
  out << "; success: the best point lies within eps of a global minimiser.\n\n";
  out << "| id | method | param | trials | success | first_hit | error | seconds |\n";
  out << "|---:|:---|---:|---:|:---:|---:|---:|---:|\n";
  for (const SuiteRow& row : rows) {
    out << "| " << row.id << " | " << methodName(row.method) << " | " << paramText(row.method, row.param) << " | "
        << row.trials << " | " << successText(row) << " | " << (row.firstHit ? std::to_string(*row.firstHit) : "-") << " | "
        << (row.fault ? "-" : printed("%.2e", row.error)) << " | " << printed("%.3g", row.seconds) << " |\n";
  }
  out << "\nMeans over " << problems << " problems (first_hit over the runs that came within eps, error over the runs"
      << " that finished):\n\n";
  out << "| method | param | trials | success | first_hit | error | seconds |\n";
  out << "|:---|---:|---:|---:|---:|---:|---:|\n";
  for (MethodId method : options.methods) {
    const Means means = meansOf(rows, method);
    out << "| " << methodName(method) << " | " << meanParam(options, method) << " | " << printed("%.1f", means.trials)
        << " | " << means.successes << "/" << means.runs << " | " << (means.hits ? printed("%.1f", means.firstHit) : "-")
        << " | " << (means.finished ? printed("%.2e", means.error) : "-") << " | " << printed("%.3g", means.seconds)
        << " |\n";
  }
  bool noted = false;
  for (const SuiteRow& row : rows) {
    if (!row.fault && row.reports.empty()) continue;
    if (!noted) out << "\nFaults and mathematical-library reports:\n\n";
    noted = true;
    out << "- problem " << row.id << ", " << methodName(row.method) << ": ";
    std::vector<std::string> notes = row.reports;
    if (row.fault) notes.push_back("fault \"" + *row.fault + "\" ended the run");
    out << joined(notes, "; ") << '\n';
  }
}

void writeSuiteCsv(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows) {
  out << "id,method,param,trials,success,first_hit,error,seconds\n";
  const auto param = [](MethodId method, double value) {
    return Lab::methodInfo(method).param == Lab::ParamMeaning::None ? std::string() : shortest(value);
  };
  for (const SuiteRow& row : rows) {
    out << csvField(row.id) << ',' << methodName(row.method) << ',' << param(row.method, row.param) << ',' << row.trials
        << ',' << successText(row) << ',' << (row.firstHit ? std::to_string(*row.firstHit) : "") << ','
        << (row.fault ? "" : shortest(row.error)) << ',' << printed("%.6f", row.seconds) << '\n';
  }
  for (MethodId method : options.methods) {
    const Means means = meansOf(rows, method);
    std::string paramField = meanParam(options, method);
    if (paramField == "-") paramField.clear();
    if (Lab::methodInfo(method).param == Lab::ParamMeaning::LipschitzEstimate && !options.piyavskyL)
      paramField = "file";
    out << "mean," << methodName(method) << ',' << paramField << ',' << printed("%.1f", means.trials) << ','
        << means.successes << ',' << (means.hits ? printed("%.1f", means.firstHit) : "") << ','
        << (means.finished ? shortest(means.error) : "") << ',' << printed("%.6f", means.seconds) << '\n';
  }
}

}  // namespace

std::string hexFloat(double value) { return printed("%a", value); }

std::string jsonString(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          quoted += escape;
        } else {
          quoted += static_cast<char>(c);
        }
    }
  }
  return quoted + "\"";
}

void writeSearch(std::ostream& out, const SearchOptions& options, const Lab::SearchOutcome& result) {
  switch (options.format) {
    case Format::Text: writeSearchText(out, options, result); break;
    case Format::Csv: writeSearchCsv(out, options, result); break;
    case Format::Json: writeSearchJson(out, options, result); break;
  }
}

void writeSuite(std::ostream& out, const SuiteOptions& options, const std::vector<SuiteRow>& rows) {
  if (rows.empty()) return;
  if (options.format == Format::Csv)
    writeSuiteCsv(out, options, rows);
  else
    writeSuiteMarkdown(out, options, rows);
}

}  // namespace Velmora::Cli
