#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/CommandLine.h"

namespace {

struct SplitCase {
  const char* why;
  std::string line;
  std::vector<std::string> items;
};

TEST(CommandLine, SplitsAsTheProgramHasAlwaysReadIt) {
  const SplitCase cases[] = {
      {"program only", "zenpiko.exe", {"zenpiko.exe"}},
      {"nothing at all", "", {}},
      {"blanks only", " \t ", {}},
      {"quoted program path", "\"C:\\Program Files\\z.exe\" a.exe", {"C:\\Program Files\\z.exe", "a.exe"}},
      {"unquoted blanks cut the path", "z.exe C:\\My Files\\a.exe", {"z.exe", "C:\\My", "Files\\a.exe"}},
      {"quoted blanks kept", "z.exe \"C:\\My Files\\a.exe\"", {"z.exe", "C:\\My Files\\a.exe"}},
      {"the argument goes on after the closing quote", "z.exe C:\\\"My Files\"\\a.exe", {"z.exe", "C:\\My Files\\a.exe"}},
      {"an unclosed quote runs to the end", "z.exe \"C:\\My Files\\a", {"z.exe", "C:\\My Files\\a"}},
      {"every control byte separates", "z.exe\x01" "a\x1f" "b\x20" "c", {"z.exe", "a", "b", "c"}},
      {"runs of separators count once", "z.exe \t\r\n a", {"z.exe", "a"}},
      {"a pair of quotes before an argument is skipped", "z.exe \"\"a \"\" \"\"\"\"b", {"z.exe", "a", "b"}},
      {"no backslash escapes", "z.exe \"a\\\" b", {"z.exe", "a\\", "b"}},
      // 表 is 0x95 0x5C: its second byte is a backslash; 0x81 0x40 is the full-width blank.
      {"double-byte characters stay whole", "z.exe C:\\\x95\x5c\x81\x40.exe", {"z.exe", "C:\\\x95\x5c\x81\x40.exe"}},
      {"a NUL ends the line", std::string("z.exe a\0b", 9), {"z.exe", "a"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(SplitCommandLine(c.line), c.items);
  }
}

TEST(CommandLine, GivesTheFirstArgumentOnlyAndNoFixedLimit) {
  EXPECT_EQ(FirstArgument("z.exe"), std::nullopt);
  EXPECT_EQ(FirstArgument("z.exe   "), std::nullopt);
  EXPECT_EQ(FirstArgument("z.exe a b"), "a");
  const std::string longPath = "C:\\" + std::string(1000, 'd') + "\\a.exe";
  EXPECT_EQ(FirstArgument("z.exe \"" + longPath + "\""), longPath);
}

}  // namespace
