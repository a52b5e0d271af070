// A line of progress on a terminal: each text replaces the one before in
// place, and the line is wiped before the results are written.
#pragma once

#include <iosfwd>
#include <string>

namespace Velmora::Cli {

class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err) : err_(err) {}
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void show(const std::string& text);
  // Leaves the cursor at the start of an empty line; nothing when nothing was shown.
  void wipe();

 private:
  std::ostream& err_;
  std::size_t width_ = 0;
};

}  // namespace Velmora::Cli
