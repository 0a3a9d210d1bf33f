#include <gtest/gtest.h>

#include "server/logging.h"

namespace velmo::server {
namespace {

TEST(LoggingTest, KeysAreShownOnlyInPart) {
  struct Case {
    std::string key;
    std::string expected;
  };
  const Case cases[] = {
      {"c47e0f9a2d51b6e8f03a7c95d2e4b1f6", "c47e...b1f6"},
      {"abcdefghijkl", "abcd...ijkl"},
      {"abcdefghijk", "ab..."},
      {"abcd", "ab..."},
      {"abc", "..."},
      {"", "..."},
  };
  for (const Case& c : cases) EXPECT_EQ(masked_key(c.key), c.expected) << c.key;
}

TEST(LoggingTest, ClientTextCannotBreakALine) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"/files/app/a.dll", "/files/app/a.dll"},
      {"a b\r\nforged 200", "a\\x20b\\x0d\\x0aforged\\x20200"},
      {"back\\slash", "back\\x5cslash"},
      {"\xE4\xB8\xAD", "\\xe4\\xb8\\xad"},
      {std::string(300, 'x'), std::string(256, 'x') + "..."},
  };
  for (const Case& c : cases) EXPECT_EQ(log_safe(c.text), c.expected) << c.text;
}

TEST(LoggingTest, AccessLineHoldsTheFigures) {
  AccessRecord record{"127.0.0.1",
                      "POST",
                      "/api/update/check",
                      200,
                      153,
                      std::chrono::microseconds(1500),
                      "c47e0f9a2d51b6e8f03a7c95d2e4b1f6"};
  const std::string line = format_access_line(record);
  EXPECT_NE(line.find(" 127.0.0.1 POST /api/update/check 200 153 1.500ms key=c47e...b1f6\n"),
            std::string::npos)
      << line;
}

}  // namespace
}  // namespace velmo::server
