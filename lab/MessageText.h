// Texts of the window's boxes: the messages about input it cannot use, and
// the rules for the boxes that report faults. No Qt here, so tests reach the
// rules without a window.
#pragma once

#include <string>
#include <string_view>

namespace Velmora::Lab {

// The title of every box: the executable's file name without its folder, cut
// before the first ".", every character after the first in lower case
// ("/opt/VelMora.bin" gives "Velmora").
std::string applicationTitle(std::string_view executablePath);

// A fault's text as the error box shows it: a full stop is added when the
// text ends in a character that sorts after "." ("Floating point overflow"
// gets one, "sqrt(-1)." and "Error!" do not).
std::string faultBoxText(std::string_view message);

// The messages about input, UTF-8, in the order Search checks its inputs.
namespace InputMessage {
inline constexpr std::string_view FunctionParameter = "Неверно введён один из параметров функции";
inline constexpr std::string_view Interval = "Неверно введён интервал поиска значения";
inline constexpr std::string_view MethodParameter = "Неверно задан параметр метода Пиявского или Стронгина";
// It begins with a blank.
inline constexpr std::string_view Multiplier = " Множитель константы Липшица в методе Стронгина должен быть > 1";
inline constexpr std::string_view Precision = "Неверно задана точность поиска минимума";
}  // namespace InputMessage

// After a precision run that met its step bound: "Заданная точность поиска не
// достигнута за 100000 шагов".
std::string precisionNotReachedMessage(int stepBound);

// When a chosen file cannot be written: "Не удалось записать файл /tmp/a.png".
std::string fileNotWrittenMessage(std::string_view path);

}  // namespace Velmora::Lab
