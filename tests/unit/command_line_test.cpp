#include "updater/startup/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmo {
namespace {

struct Case {
  std::string line;
  std::vector<std::string> arguments;
};

std::ostream& operator<<(std::ostream& out, const Case& c) { return out << '[' << c.line << ']'; }

class SplitCommandLine : public testing::TestWithParam<Case> {};

TEST_P(SplitCommandLine, GivesTheArgumentsAfterTheProgram) {
  EXPECT_EQ(split_command_line(GetParam().line), GetParam().arguments);
}

const Case cases[] = {
    {"UpDate.exe", {}},
    {"", {}},
    {"   ", {}},
    {"UpDate.exe key", {"key"}},
    {"\"C:\\Program Files\\Velmo\\UpDate.exe\" key", {"key"}},
    {"\"C:\\Program Files\\Velmo\\UpDate.exe\"key", {"key"}},
    {"C:\\Velmo\\UpDate.exe c47e0f9a2d51b6e8f03a7c95d2e4b1f6 extra",
     {"c47e0f9a2d51b6e8f03a7c95d2e4b1f6", "extra"}},
    {"UpDate.exe \"a b\" c", {"a b", "c"}},
    {"UpDate.exe \"\" c", {"", "c"}},
    {"UpDate.exe \"unterminated arg", {"unterminated arg"}},
    {"UpDate.exe a\"b c", {"a\"b", "c"}},
    // Every byte below "!" separates: tabs, line breaks, control characters.
    {"UpDate.exe\ta\x01"
     "b\nc\x1f"
     "d",
     {"a", "b", "c", "d"}},
    {std::string("UpDate.exe a\0b", 14), {"a", "b"}},
    {"UpDate.exe    spaced    out  ", {"spaced", "out"}},
    // A double-byte character stays whole even when its second byte is a
    // blank or a quote.
    {"UpDate.exe \x81\x20x y", {"\x81\x20x", "y"}},
    {"UpDate.exe \"\x81\"x\" y", {"\x81\"x", "y"}},
    {"\xb8\xfc\xd0\xc2.exe \xc3\xdc\xd4\xbf", {"\xc3\xdc\xd4\xbf"}},
    {"UpDate.exe tail\x81", {"tail\x81"}},
    // The key is taken whatever its bytes.
    {"UpDate.exe !#$%&'()*+,-./:;<=>?@[]^_`{|}~", {"!#$%&'()*+,-./:;<=>?@[]^_`{|}~"}},
};

INSTANTIATE_TEST_SUITE_P(Table, SplitCommandLine, testing::ValuesIn(cases));

TEST(SplitCommandLineLong, TakesAKeyOfAnyLengthUnchanged) {
  const std::string key(100000, 'k');
  EXPECT_EQ(split_command_line("UpDate.exe " + key), std::vector<std::string>{key});
}

}  // namespace
}  // namespace velmo
