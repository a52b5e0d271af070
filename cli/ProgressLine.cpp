#include "ProgressLine.h"

#include <ostream>

#include "Spelling.h"

namespace Velmora::Cli {

void ProgressLine::show(const std::string& text) {
  // Blanks cover what a longer text before left on the line.
  err_ << '\r' << text << std::string(width_ > text.size() ? width_ - text.size() : 0, ' ') << std::flush;
  width_ = text.size();
}

void ProgressLine::showRuns(std::size_t done, std::size_t runs) {
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  // Built by appending: GCC 12 warns falsely about "[" + std::string.
  std::string text(1, '[');
  text.append(std::to_string(done)).append("/").append(std::to_string(runs)).append(" runs] ");
  text.append(printed("%.1f", elapsed)).append(" s");
  if (done > 0 && done < runs)
    text += ", about " + printed("%.1f", elapsed * static_cast<double>(runs - done) / static_cast<double>(done)) + " s left";
  show(text);
}

void ProgressLine::wipe() {
  if (width_) err_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  width_ = 0;
}

}  // namespace Velmora::Cli
