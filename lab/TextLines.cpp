#include "TextLines.h"

#include <filesystem>
#include <istream>

namespace Velmora::Lab {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

FileError lineFault(const std::string& fileName, int number, const std::string& message) {
  return FileError(fileName + ":" + std::to_string(number) + ": " + message);
}

}  // namespace

void eachTextLine(std::istream& in, const std::string& fileName,
                  const std::function<bool(const std::string& line, int number)>& take) {
  std::streambuf& bytes = *in.rdbuf();
  std::string line;
  for (int number = 1;; ++number) {
    line.clear();
    int c = bytes.sbumpc();
    if (c == std::char_traits<char>::eof()) return;
    for (; c != std::char_traits<char>::eof() && c != '\n'; c = bytes.sbumpc()) {
      if (line.size() == MaxLineBytes)
        throw lineFault(fileName, number, "the line is longer than " + std::to_string(MaxLineBytes) + " bytes");
      line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1 && line.starts_with(ByteOrderMark)) line.erase(0, ByteOrderMark.size());
    if (line.find('\0') != std::string::npos) throw lineFault(fileName, number, "the line holds a NUL byte");
    if (!take(line, number)) return;
  }
}

std::ifstream openDataFile(const std::string& fileName) {
  std::error_code ignored;
  if (std::filesystem::is_directory(fileName, ignored)) throw FileError(fileName + ": is a directory, not a file");
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw FileError(fileName + ": cannot open the file");
  return in;
}

}  // namespace Velmora::Lab
