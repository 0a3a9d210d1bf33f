#include "util/text_codecs.h"

#include <gtest/gtest.h>

#include "tests/unit/hex_dump.h"

namespace velmo {
namespace {

using test::hex_dump;

struct Case {
  std::string_view input;
  std::string_view expected;
};

TEST(Base64Encode, Rfc4648Vectors) {
  const Case cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {{"\0\xFF\xFE", 3}, "AP/+"},  // byte strings may hold zeros
      {"user:pass", "dXNlcjpwYXNz"},
  };
  for (const Case& c : cases) EXPECT_EQ(base64_encode(c.input), c.expected) << c.input;
}

TEST(Base64Encode, LongInputHasNoLineBreaks) {
  const std::string encoded = base64_encode(std::string(1000, 'x'));
  EXPECT_EQ(encoded.size(), 4u * 334);
  EXPECT_EQ(encoded.find('\n'), std::string::npos);
}

struct UrlEncodeCase {
  std::string_view input;
  bool keep_unreserved;
  bool to_utf8;
  std::string_view expected;
};

TEST(UrlEncode, EscapesAsConfigured) {
  const UrlEncodeCase cases[] = {
      {"", true, true, ""},
      {"\xD6\xD0", true, true, "%E4%B8%AD"},  // GBK U+4E2D as UTF-8
      {"a\\b", true, true, "a%5Cb"},
      {"Az09-.", true, true, "Az09-."},
      {"_~/ ", true, true, "%5F%7E%2F%20"},
      {"A", false, false, "%41"},
      {"\xD6\xD0", true, false, "%D6%D0"},  // the GBK bytes themselves
      {"\x01\x7F", true, false, "%01%7F"},
      {"\xFF", true, true, "%EF%BF%BD"},  // invalid GBK becomes U+FFFD
      {{"a\0b", 3}, true, false, "a"},    // a text ends at its first zero
  };
  for (const UrlEncodeCase& c : cases) {
    EXPECT_EQ(url_encode(c.input, c.keep_unreserved, c.to_utf8), c.expected)
        << hex_dump(c.input) << " keep=" << c.keep_unreserved << " utf8=" << c.to_utf8;
  }
}

struct UrlDecodeCase {
  std::string_view input;
  bool from_utf8;
  std::string_view expected;
};

TEST(UrlDecode, DecodesEscapesAndKeepsMalformedOnes) {
  const UrlDecodeCase cases[] = {
      {"a+b", false, "a+b"},
      {"a%00b", false, "ab"},
      {"%41%4a%4A", false, "AJJ"},
      {"%E4%B8%AD", true, "\xD6\xD0"},
      {"%E4%B8%AD", false, "\xE4\xB8\xAD"},
      {"100%", false, "100%"},
      {"%4", false, "%4"},
      {"%zz", false, "%zz"},
      {"%%41", false, "%A"},
      {"%4%41", false, "%4A"},
      {"%E4%B8", true, "?"},  // truncated UTF-8
      {"%C0%80", true, "??"},
      {"%FF", true, "?"},
      {{"a\0%41", 5}, false, "a"},
  };
  for (const UrlDecodeCase& c : cases) {
    EXPECT_EQ(hex_dump(url_decode(c.input, c.from_utf8)), hex_dump(c.expected))
        << c.input << " utf8=" << c.from_utf8;
  }
}

TEST(UrlDecode, RoundTripsEveryByte) {
  std::string every;
  for (int b = 1; b < 256; ++b) every.push_back(static_cast<char>(b));
  EXPECT_EQ(url_decode(url_encode(every)), every);
  EXPECT_EQ(url_decode(url_encode(every, true)), every);
}

TEST(AnsiUtf8, ConvertThroughCodePage936) {
  const Case to_utf8[] = {
      {"abc", "abc"},
      {"\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"\x80", "\xE2\x82\xAC"},
      {"\xD6", "\xEF\xBF\xBD"},
  };
  for (const Case& c : to_utf8) {
    EXPECT_EQ(hex_dump(ansi_to_utf8(c.input)), hex_dump(c.expected)) << hex_dump(c.input);
  }
  const Case to_ansi[] = {
      {"\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
      {"\xF0\x9F\x98\x80", "?"},  // no such character in GBK
      {"\xC3\xA9", "\xA8\xA6"},   // e acute exists in GBK
      {"\xC2\xA6", "?"},          // broken bar does not: no look-alike
  };
  for (const Case& c : to_ansi) {
    EXPECT_EQ(hex_dump(utf8_to_ansi(c.input)), hex_dump(c.expected)) << hex_dump(c.input);
  }
}

TEST(MultibyteToWide, DefaultsAndTerminators) {
  EXPECT_EQ(multibyte_to_wide("\xE4\xB8\xAD"), u"\u4E2D");  // UTF-8 by default
  EXPECT_EQ(multibyte_to_wide("\xD6\xD0", 936), u"\u4E2D");
  EXPECT_EQ(multibyte_to_wide(std::string_view("a\0b", 3), 936), u"a");
  EXPECT_EQ(wide_to_multibyte(u"\u4E2D"), "\xD6\xD0");  // the ANSI code page by default
  EXPECT_EQ(wide_to_multibyte(u"\u4E2D", 65001), "\xE4\xB8\xAD");
  EXPECT_EQ(wide_to_multibyte(std::u16string_view(u"a\0b", 3)), "a");
}

TEST(Codecs, HugeInputsConvertWhole) {
  std::string gbk;
  for (int i = 0; i < 600000; ++i)
    gbk +=
        "\xD6\xD0"
        "a";  // crosses the platform chunk size
  const std::string utf8 = ansi_to_utf8(gbk);
  EXPECT_EQ(utf8.size(), 600000u * 4);
  EXPECT_EQ(utf8_to_ansi(utf8), gbk);
  const std::string bad(1200000, '\xFF');
  EXPECT_EQ(utf8_to_ansi(ansi_to_utf8(bad)), std::string(bad.size(), '?'));
}

}  // namespace
}  // namespace velmo
