#include "HandlerGuard.h"

#include <exception>

#include "MessageText.h"

namespace Velmora {

void HandlerGuard::run(const std::function<void()>& body) noexcept {
  if (depth_ == 0) reported_.clear();
  ++depth_;
  try {
    body();
  } catch (const std::exception& fault) {
    showFault(fault.what());
  } catch (...) {
    // A fault of no known kind has no text of its own.
    showFault("");
  }
  --depth_;
}

void HandlerGuard::mathReport(const std::string& text) {
  if (depth_ > 0 && !reported_.insert(text).second) return;
  dialogs_.showMathReport(QString::fromStdString(text));
}

void HandlerGuard::showFault(const std::string& message) noexcept {
  try {
    dialogs_.showError(QString::fromStdString(Lab::faultBoxText(message)));
  } catch (...) {
    // Nothing is left to report a failing report with.
  }
}

}  // namespace Velmora
