#include "net/raw_header_queries.h"

#include <gtest/gtest.h>

#include <string>

#include "net/header_block.h"
#include "net/plain_file_name.h"

namespace velmo {
namespace {

constexpr char headers[] =
    "HTTP/1.1 200 OK\r\n"
    "Content-Location: /mirror/a.bin\r\n"
    "Location: /elsewhere\r\n"
    "Content-Length: 1234\r\n"
    "Set-Cookie: a=1; path=/\r\n"
    "Set-Cookie: sid=xyz; HttpOnly\r\n"
    "Set-Cookie: bare=2\r\n"
    "\r\n";

TEST(RawHeaderValue, GivesTheValueOfTheFirstMatchingLine) {
  struct Case {
    std::string name, expected;
  } cases[] = {
      {"Content-Length", "1234"},
      {"Location", "/mirror/a.bin"},  // found inside "Content-Location:" first
      {"content-length", headers},    // names are case-sensitive; a miss gives everything
      {"", headers},
  };
  for (const Case& c : cases) EXPECT_EQ(raw_header_value(headers, c.name), c.expected) << c.name;
}

TEST(RawHeaderValue, StaysInsideTheTextAtItsEnd) {
  EXPECT_EQ(raw_header_value("HTTP/1.1 200 OK\r\nX:", "X"), "");
  EXPECT_EQ(raw_header_value("HTTP/1.1 200 OK\r\nX: 5", "X"), "5");
}

TEST(RawHeaderLocation, TakesTheFirstLocationAnywhere) {
  EXPECT_EQ(raw_header_location(headers), "/mirror/a.bin");
  EXPECT_EQ(raw_header_location("HTTP/1.1 302 Found\r\nLocation: /b\r\n"), "/b");
  EXPECT_EQ(raw_header_location("HTTP/1.1 200 OK\r\n"), "");
  EXPECT_EQ(raw_header_location("Location"), "");
}

TEST(RawHeaderCookie, FindsTheCookieByName) {
  struct Case {
    std::string name;
    bool value_only;
    int cut;
    std::string expected;
  } cases[] = {
      {"sid", false, 0, "sid=xyz; "},
      {"sid", true, 0, "xyz"},
      {"sid", false, 2, "sid=xyz"},
      {"bare", false, 0, "bare=2"},  // no attributes: the piece ends with its line
      {"bare", true, 0, "2"},
      {"none", false, 0, "a=1; sid=xyz; bare=2"},
      {"none", false, 2, "a=1; sid=xyz; bare"},
      {"sid", false, 100, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(raw_header_cookie(headers, c.name, c.value_only, c.cut), c.expected)
        << c.name << " value_only " << c.value_only << " cut " << c.cut;
  }
  EXPECT_EQ(raw_header_cookie("Set-Cookie", "a"), "");
}

TEST(HeaderNumber, ReadsTheLeadingNumber) {
  struct Case {
    std::string value;
    double expected;
  } cases[] = {{"1234", 1234},  {" 42 ", 42}, {"-5", -5},    {"3.5", 3.5},
               {"HTTP/1.1", 0}, {"", 0},      {"12abc", 12}, {"inf", 0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(header_number(c.value), c.expected) << c.value;
}

TEST(ByteCount, IsZeroOrAPositiveCountThatFitsIn64Bits) {
  EXPECT_EQ(byte_count(1234), 1234);
  EXPECT_EQ(byte_count(0.5), 0);
  EXPECT_EQ(byte_count(-1), 0);
  EXPECT_EQ(byte_count(1e300), 9200000000000000000);
  EXPECT_EQ(byte_count(header_number(std::string(400, '9'))), 9200000000000000000);
}

TEST(HeaderBlockFields, SkipsLinesWithoutAName) {
  const std::vector<HeaderField> expected = {{"A", "1"}, {"B", "2"}};
  EXPECT_EQ(header_block_fields("A: 1\r\nB:2\r\n:x"), expected);
  const std::vector<HeaderField> colon_in_value = {{"User-Agent", "Mozilla/5.0 (rv:23.0)"}};
  EXPECT_EQ(header_block_fields("User-Agent:Mozilla/5.0 (rv:23.0)\r\n"), colon_in_value);
  EXPECT_TRUE(header_block_fields("Referer=/\r\n\r\n").empty());
}

TEST(PlainFileName, RefusesNamesThatLeaveTheirDirectory) {
  struct Case {
    std::string name;
    bool expected;
  } cases[] = {
      {"Velmo.exe", true},   {"\xCE\xC4\xBC\xFE.txt", true},  // "文件.txt"
      {"\x81\\x.dll", true},  // 0x81 0x5C is one character, not a separator
      {"..\\x.dll", false},  {"a/b", false},
      {"C:x", false},        {"x:stream", false},
      {"..", false},         {".", false},
      {" . ", false},        {"", false},
      {"sub\\x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(is_plain_file_name(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace velmo
