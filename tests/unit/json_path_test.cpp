// Paths turned into member accesses, and the integer test they rely on.
#include <gtest/gtest.h>

#include <string>

#include "util/json_document.h"

namespace velmo {
namespace {

TEST(JsonPath, TurnsPathsIntoAccessors) {
  struct Case {
    std::string path;
    std::string accessor;
  };
  const Case cases[] = {
      {"state", "['state']"},
      {"list[0].url", "['list'][0]['url']"},
      {"a.b", "['a']['b']"},
      {"['x.y']", "['x.y']"},
      {"[\"x.y\"]", "['x.y']"},
      {"", ""},
      {"   ", ""},
      {"\xA1\xA1 ", ""},  // full-width spaces are trimmed too
      {"007", "['007']"},
      {"-1", "[-1]"},
      {"[ 7 ]", "[ 7 ]"},
      {"a..b", "['a']['b']"},
      {"[]", "[']']"},
      {"...", ""},
      {"a[b", "['a']['b']"},
      {"a[\nb]", "['a']['\nb]']"},  // "." takes no line break: no bracketed segment
      {" a ", "[' a ']"},
      {"it's", "['its']"},
      {"\x81\x5B.x", "['\x81\x5B']['x']"},  // a GBK character whose trail byte is "["
      {"list[\x81\x5D]", "['list']['\x81\x5D']"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JsonDocument::path_to_accessor(c.path), c.accessor) << "path: " << c.path;
  }
}

TEST(JsonPath, TurnsSegmentsIntoAccessors) {
  struct Case {
    std::string segment;
    std::string accessor;
  };
  const Case cases[] = {
      {"state", "['state']"},
      {"[0]", "[0]"},
      {"['0']", "[0]"},
      {"[\"a\"]", "['a']"},
      {"[a]b]", "['ab']"},
      {"a]b", "['a]b']"},
      {"[12345678901234567890]", "['12345678901234567890']"},
      {"[a\x81\x5D]", "['a\x81\x5D']"},  // brackets are removed as characters, not bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JsonDocument::segment_to_accessor(c.segment), c.accessor) << "segment: " << c.segment;
  }
}

TEST(JsonPath, TellsIntegerTexts) {
  struct Case {
    std::string text;
    bool integer;
  };
  const Case cases[] = {
      {"12", true},
      {"0", true},
      {"-1", true},
      {" 12 ", true},
      {"\xA1\xA1"
       "12",
       true},
      {"012", false},
      {"+5", false},
      {"-0", false},
      {"1.0", false},
      {"", false},
      {"   ", false},
      {"abc", false},
      {"12abc", false},
      {"\t12", false},
      {"9223372036854775807", true},
      {"9223372036854775808", false},
      {"-9223372036854775808", true},
      {"-9223372036854775809", false},
      {"99999999999999999999", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JsonDocument::is_integer_text(c.text), c.integer) << "text: " << c.text;
  }
}

TEST(JsonPath, ReadsBigIntegerIndexesAsTheirNumber) {
  JsonDocument document;
  document.parse(R"({"9007199254740992":"a","1e+21":"b"})");
  EXPECT_EQ(document.get_text("[9007199254740993]"), "a");       // the same double
  EXPECT_EQ(document.get_text("[1000000000000000000000]"), "");  // beyond 64 bits: a name
}

}  // namespace
}  // namespace velmo
