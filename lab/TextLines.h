// The lines of the data files Velmora reads (test sets, csv files of runs),
// read so that no file can make them grow without bound.
#pragma once

#include <cstddef>
#include <functional>
#include <fstream>
#include <iosfwd>
#include <stdexcept>
#include <string>

namespace Velmora::Lab {

// A file that cannot be used, a test set's or a csv of runs; what() names the file and line.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Far above any line a person writes (a formula of a few hundred kilobytes
// included), far below what exhausts memory.
inline constexpr std::size_t MaxLineBytes = std::size_t{1} << 20;

// Each line of in with its number, without its line break (\n or \r\n) and,
// on the first, without a UTF-8 byte-order mark, for as long as take returns
// true. Throws FileError naming fileName and the line for a line longer than
// MaxLineBytes or one that holds a NUL byte, which would end a text early.
void eachTextLine(std::istream& in, const std::string& fileName,
                  const std::function<bool(const std::string& line, int number)>& take);

// The file of that name, opened to read. Throws FileError when it is a directory or cannot be opened.
std::ifstream openDataFile(const std::string& fileName);

}  // namespace Velmora::Lab
