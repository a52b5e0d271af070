// Runs the body of every event handler: a fault that escapes it is shown in
// the error box and goes no further, so no exception crosses a Qt frame and
// the window stays usable. Mathematical-library reports pass through here too.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "Dialogs.h"

namespace Velmora {

class HandlerGuard {
 public:
  explicit HandlerGuard(Dialogs& dialogs) : dialogs_(dialogs) {}

  // Handlers may start one another (the combo box writes the formula edit);
  // the outermost run is the user's action.
  void run(const std::function<void()>& body) noexcept;

  // Shows each distinct report once per user action: a graph that takes the
  // square root of 251 negative samples would otherwise open 251 boxes.
  void mathReport(const std::string& text);

  // The general fault handler: the error box for a fault that ended a handler.
  void showFault(const std::string& message) noexcept;

 private:
  Dialogs& dialogs_;
  int depth_ = 0;
  std::set<std::string> reported_;
};

}  // namespace Velmora
