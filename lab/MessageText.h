// Texts of the boxes that report faults. No Qt here, so tests reach the rules
// without a window.
#pragma once

#include <string>
#include <string_view>

namespace Velmora {

// The title of every box: the executable's file name without its folder, cut
// before the first ".", every character after the first in lower case
// ("/opt/VelMora.bin" gives "Velmora").
std::string applicationTitle(std::string_view executablePath);

// A fault's text as the error box shows it: a full stop is added when the
// text ends in a character that sorts after "." ("Floating point overflow"
// gets one, "sqrt(-1)." and "Error!" do not).
std::string faultBoxText(std::string_view message);

}  // namespace Velmora
