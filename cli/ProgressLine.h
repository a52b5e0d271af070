// A line of progress on a terminal: each text replaces the one before in
// place, and the line is wiped before the results are written.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

namespace Velmora::Cli {

class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err) : err_(err) {}
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void show(const std::string& text);
  // "[done/runs runs] 1.2 s, about 3.4 s left", the time counted from the line's making.
  void showRuns(std::size_t done, std::size_t runs);
  // Leaves the cursor at the start of an empty line; nothing when nothing was shown.
  void wipe();

 private:
  std::ostream& err_;
  std::size_t width_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace Velmora::Cli
