// The real main window drawn offscreen for the window's benchmarks, with a
// box recorder: no box may open during a measured action.
#pragma once

#include <QString>
#include <benchmark/benchmark.h>

#include "Dialogs.h"
#include "Main.h"

namespace VelmoraBench {

inline constexpr int Steps = 100000;
inline const char* const MethodNames[] = {"scanning", "broken lines", "information-statistical"};

// Keeps the first box a measured action opened, for the report.
class SilentDialogs : public Velmora::Dialogs {
 public:
  void showMessage(const QString& text) override { note(text); }
  void showError(const QString& text) override { note(text); }
  void showMathReport(const QString& text) override { note(text); }
  QString chooseSaveFile(const QString&, const QString&) override { return {}; }
  QString first;

 private:
  void note(const QString& text) {
    if (first.isEmpty()) first = text;
  }
};

// Made by the benchmarks' main before any benchmark runs.
extern SilentDialogs* dialogs;
extern Velmora::TMainForm* form;

// Fails the benchmark when a box opened since dialogs->first was cleared.
void failOnBox(benchmark::State& state);

}  // namespace VelmoraBench
