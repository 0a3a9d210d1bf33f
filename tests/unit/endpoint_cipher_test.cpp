#include "util/endpoint_cipher.h"

#include <gtest/gtest.h>

#include <cctype>

#include "tests/unit/hex_dump.h"
#include "util/endpoint_encipher.h"
#include "util/endpoint_key.h"
#include "util/md5_hex.h"
#include "util/message_pump.h"

namespace velmo {
namespace {

using test::hex_dump;

TEST(HexValue, ReadsTheLastSixteenDigits) {
  const struct {
    std::string_view text;
    std::uint64_t expected;
  } cases[] = {
      {"", 0},
      {"0", 0},
      {"ff", 0xFF},
      {"FF", 0xFF},
      {"7", 7},
      {"0123456789abcdef", 0x0123456789ABCDEFull},
      {"FF0123456789abcdef", 0x0123456789ABCDEFull},  // only the last 16 count
      {"G", 16},                                      // unchecked digits: "G" - 55
      {"g", 16},                                      // "g" - 87
      {"/", 0xFFFFFFFFu},  // "/" - 48 is -1 and wraps within the low half
      {"z0", 35 * 16},
      {"1FFFFFFFF", 0x1FFFFFFFFull},
  };
  for (const auto& c : cases) EXPECT_EQ(hex_value(c.text), c.expected) << c.text;
}

TEST(HexToBytes, TwoDigitsPerByteAndAnOddLastOne) {
  const struct {
    std::string_view text;
    std::string_view expected;
  } cases[] = {
      {"", ""},    {"4a4B", "JK"}, {"4A4b", "JK"}, {"41F", "A\x0F"}, {"00ff", {"\0\xFF", 2}},
      {"zz", "S"},  // 35 * 16 + 35 = 0x253, low eight bits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hex_dump(hex_to_bytes(c.text)), hex_dump(c.expected)) << c.text;
  }
}

int pumped = 0;
void count_pump() { ++pumped; }

TEST(HexToBytes, PumpsMessagesAfterEachByte) {
  pumped = 0;
  set_message_pump(count_pump);
  hex_to_bytes("0102030");
  set_message_pump(nullptr);
  EXPECT_EQ(pumped, 4);
  hex_to_bytes("01");
  EXPECT_EQ(pumped, 4);  // the default pump does nothing
}

constexpr std::string_view address = "http://127.0.0.1:47613/api/update/check";

TEST(DecipherEndpoint, RoundTripsWithTheKey) {
  const std::string stored = encipher_endpoint(address, endpoint_key);
  EXPECT_EQ(stored.size(), address.size() * 2 + 9);
  EXPECT_EQ(stored.find("http"), std::string::npos);
  EXPECT_EQ(decipher_endpoint(stored, endpoint_key), address);
}

TEST(DecipherEndpoint, TagIsDerivedFromTheKeyDigest) {
  const std::string expected = md5_hex(endpoint_key, true).substr(2, 9);
  EXPECT_EQ(endpoint_tag(endpoint_key), expected);
  const std::string stored = encipher_endpoint("a", endpoint_key);
  EXPECT_EQ(stored.substr(2), expected);
}

TEST(DecipherEndpoint, RefusesWhatDoesNotFit) {
  const std::string stored = encipher_endpoint(address, endpoint_key);
  const std::string tag = endpoint_tag(endpoint_key);
  const struct {
    std::string text;
    std::string_view key;
    std::string_view expected;
  } cases[] = {
      {encipher_endpoint(address, "other key!!"), endpoint_key, ""},  // made for another key
      {stored, "other key!!", ""},
      {stored.substr(0, stored.size() - 1), endpoint_key, ""},  // shortened
      {tag, endpoint_key, ""},                                  // nine characters: no bytes
      {tag.substr(1), endpoint_key, ""},
      {"", endpoint_key, ""},
      {[&] {
         std::string lower = stored.substr(0, stored.size() - 9);
         for (char& ch : lower)
           ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
         return lower + tag;
       }(),
       endpoint_key, address},  // lower-case digits are accepted
  };
  for (const auto& c : cases) EXPECT_EQ(decipher_endpoint(c.text, c.key), c.expected) << c.text;
}

TEST(DecipherEndpoint, LowerCaseTagIsRefused) {
  const std::string stored = encipher_endpoint(address, endpoint_key);
  std::string lower_tag = stored;
  for (size_t i = lower_tag.size() - 9; i < lower_tag.size(); ++i) {
    lower_tag[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower_tag[i])));
  }
  ASSERT_NE(lower_tag, stored);  // the tag holds letters
  EXPECT_EQ(decipher_endpoint(lower_tag, endpoint_key), "");
}

}  // namespace
}  // namespace velmo
