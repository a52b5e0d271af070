#include <gtest/gtest.h>

#include "MessageText.h"

namespace Velmora {
namespace {

TEST(MessageText, applicationTitleComesFromTheExecutableName) {
  const struct {
    const char* path;
    const char* title;
    const char* why;
  } cases[] = {
      {"/usr/bin/velmora", "velmora", "the first character keeps its case"},
      {"/opt/VelMora.bin", "Velmora", "cut before the first dot, the rest lower case"},
      {"C:\\Tools\\VELMORA.EXE", "Velmora", "a Windows path"},
      {"velmora.tar.gz", "velmora", "cut before the first of several dots"},
      {"/x/.hidden", "", "a name that starts with a dot leaves nothing"},
  };
  for (const auto& c : cases) EXPECT_EQ(Lab::applicationTitle(c.path), c.title) << c.why;
}

TEST(MessageText, faultTextGetsAFullStopAfterALetterOrDigit) {
  const struct {
    const char* message;
    const char* shown;
    const char* why;
  } cases[] = {
      {"Floating point division by zero", "Floating point division by zero.", "ends in a letter"},
      {"Error 42", "Error 42.", "ends in a digit"},
      {"Done.", "Done.", "already a full stop"},
      {"Stop!", "Stop!", "'!' sorts before '.'"},
      {"f(x)", "f(x)", "')' sorts before '.'"},
      {"a-", "a-", "'-' sorts before '.'"},
      {"a/", "a/.", "'/' sorts after '.'"},
      {"", "", "an empty message stays empty"},
      {"\xd0\x9e\xd1\x88\xd0\xb8\xd0\xb1\xd0\xba\xd0\xb0", "\xd0\x9e\xd1\x88\xd0\xb8\xd0\xb1\xd0\xba\xd0\xb0.",
       "a Russian word"},
  };
  for (const auto& c : cases) EXPECT_EQ(Lab::faultBoxText(c.message), c.shown) << c.why;
}

}  // namespace
}  // namespace Velmora
