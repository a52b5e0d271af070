#include "ProgressLine.h"

#include <ostream>

namespace Velmora::Cli {

void ProgressLine::show(const std::string& text) {
  // Blanks cover what a longer text before left on the line.
  err_ << '\r' << text << std::string(width_ > text.size() ? width_ - text.size() : 0, ' ') << std::flush;
  width_ = text.size();
}

void ProgressLine::wipe() {
  if (width_) err_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  width_ = 0;
}

}  // namespace Velmora::Cli
