#include "MessageText.h"

#include <cctype>

namespace Velmora::Lab {

std::string applicationTitle(std::string_view executablePath) {
  const auto slash = executablePath.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  std::string title(name);
  for (std::size_t i = 1; i < title.size(); ++i)
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  return title;
}

std::string precisionNotReachedMessage(int stepBound) {
  return "Заданная точность поиска не достигнута за " + std::to_string(stepBound) + " шагов";
}

std::string fileNotWrittenMessage(std::string_view path) {
  return "Не удалось записать файл " + std::string(path);
}

std::string faultBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
  return text;
}

}  // namespace Velmora::Lab
