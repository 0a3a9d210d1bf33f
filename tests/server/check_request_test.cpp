#include <gtest/gtest.h>

#include "server/check_request.h"
#include "server/url_codec.h"

namespace velmo::server {
namespace {

const std::string digest = "d41d8cd98f00b204e9800998ecf8427e";

TEST(CheckBodyTest, KeyAndListAsTheUpdaterJoinsThem) {
  struct Case {
    std::string body;
    std::optional<std::string> key;
    std::optional<std::string> list;
  };
  const Case cases[] = {
      {"key=abc&list=[]", "abc", "[]"},
      {"key=abc&list=[{\"a\": 1}]&x", "abc", "[{\"a\": 1}]&x"},
      {"key=&list=[]", "", "[]"},
      {"key=abc", "abc", std::nullopt},
      {"key=abc&other=1&list=[]", "abc", std::nullopt},
      {"list=[]&key=abc", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"key=\"quoted'&list=[]", "\"quoted'", "[]"},
  };
  for (const Case& c : cases) {
    const CheckBody parts = split_check_body(c.body);
    EXPECT_EQ(parts.key ? std::optional<std::string>(*parts.key) : std::nullopt, c.key) << c.body;
    EXPECT_EQ(parts.list ? std::optional<std::string>(*parts.list) : std::nullopt, c.list)
        << c.body;
  }
}

TEST(InventoryTest, ReadsPathsAndDigests) {
  const auto inventory = read_inventory(
      R"([{"pathName": "%5CVelmo.exe","md5": "D41D8CD98F00B204E9800998ECF8427E"},)"
      R"({"pathName": "%5Cplugins%5C%E4%B8%AD%20x.dll","md5": "0123456789abcdef0123456789abcdef"},)"
      R"({"pathName": "%5Cvelmo.EXE","md5": "ffffffffffffffffffffffffffffffff"}])");
  ASSERT_TRUE(inventory);
  EXPECT_EQ(inventory->size(), 2u);
  EXPECT_EQ(inventory->at("velmo.exe"), digest);  // the first of two spellings wins
  EXPECT_EQ(inventory->at(u8"plugins/中 x.dll"), "0123456789abcdef0123456789abcdef");
}

TEST(InventoryTest, UnreadableListsAreRefusedWhole) {
  const std::string deep = std::string(5000, '[') + std::string(5000, ']');
  const std::string cases[] = {
      "",
      "[",
      "{}",
      "[1]",
      R"([{"pathName": "%5Ca"}])",
      R"([{"md5": ")" + digest + R"("}])",
      R"([{"pathName": 5,"md5": ")" + digest + R"("}])",
      R"([{"pathName": "%5Ca","md5": "xyz"}])",
      R"([{"pathName": "%5Ca","md5": "d41d8cd98f00b204e9800998ecf8427"}])",
      R"([{"pathName": "%zz","md5": ")" + digest + R"("}])",
      R"([{"pathName": "%5","md5": ")" + digest + R"("}])",
      R"([{"pathName": "a%00.dll","md5": ")" + digest + R"("}])",
      R"([{"pathName": "a\u0000.dll","md5": ")" + digest + R"("}])",
      R"([{"pathName": "a","md5": ")" + digest + R"("}] trailing)",
      "[{\"pathName\": \"\xFF\",\"md5\": \"" + digest + "\"}]",
      deep,
  };
  for (const std::string& list : cases) EXPECT_FALSE(read_inventory(list)) << list.substr(0, 80);
}

TEST(InventoryTest, EmptyListIsReadable) {
  const auto inventory = read_inventory("[]");
  ASSERT_TRUE(inventory);
  EXPECT_TRUE(inventory->empty());
}

TEST(PercentCodecTest, DecodesStrictly) {
  struct Case {
    std::string text;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"%5Ca%20b", "\\a b"},
      {"%e4%b8%ad", "\xE4\xB8\xAD"},
      {"a+b", "a+b"},
      {"100%", std::nullopt},
      {"%4", std::nullopt},
      {"%G0", std::nullopt},
      {"%00", std::string(1, '\0')},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(percent_decode(c.text), c.expected) << c.text;
}

TEST(PercentCodecTest, EncodesUrlPathsSegmentBySegment) {
  struct Case {
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {"a/b.dll", "a/b.dll"},
      {u8"中/a b", "%E4%B8%AD/a%20b"},
      {"_parent/x~y-z.dll", "_parent/x~y-z.dll"},
      {"100%/a+b&c?d#e", "100%25/a%2Bb%26c%3Fd%23e"},
  };
  for (const Case& c : cases) EXPECT_EQ(percent_encode_path(c.path), c.expected) << c.path;
}

}  // namespace
}  // namespace velmo::server
