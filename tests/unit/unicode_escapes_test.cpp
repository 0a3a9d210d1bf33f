#include <gtest/gtest.h>

#include "tests/unit/hex_dump.h"
#include "util/ecmascript_text.h"
#include "util/text_codecs.h"

namespace velmo {
namespace {

using test::hex_dump;

struct Case {
  std::string_view input;
  std::string_view expected;
};

// Bytes as UTF-16LE, for the expected fallback results.
std::string fallback_of(std::string_view prepared) { return unicode_bytes_to_text(prepared); }

TEST(DecodeUnicodeEscapes, ResolvesTheLiteralThenUnescape) {
  const Case cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"\\u4e2d\\u6587", "\xD6\xD0\xCE\xC4"},  // U+4E2D U+6587
      {"\\u4E2D", "\xD6\xD0"},
      {"it's", "it's"},            // apostrophes survive
      {"a\r\nb", "a\r\nb"},        // so do CR LF line breaks
      {"a\\nb", "a\nb"},           // backslash n is a line feed
      {"a\\\\b", "a\\b"},          // two backslashes give one
      {"a{$}b", "a\r\nb"},         // an existing marker becomes CR LF
      {"\xA1\xAF", "'"},           // an existing typographic quote too
      {"\rabc", "abc"},            // a leading CR is dropped
      {"%41%u4E2D", "A\xD6\xD0"},  // unescape also takes %XX and %uXXXX
      {"100%", "100%"},
      {"%u12", "%u12"},
      {"\\u12", "%u12"},          // "\u" always becomes "%u"
      {"\\\\u4E2D", "\xD6\xD0"},  // even after a backslash
      {"\\x41\\x4", "Ax4"},       // \x without two digits is "x"
      {"\\101\\7", "A\x07"},      // octal escapes
      {"\\q\\%", "q%"},           // other escapes stand for themselves
      {"\\u00A6x", "?x"},         // GBK lacks U+00A6
      {"\\uD800", "?"},           // lone surrogate
      {"\\u20ac", "\x80"},
      {"\x81\\u", "\x81\\u"},  // 0x81 0x5C is one character, no backslash
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hex_dump(decode_unicode_escapes(c.input)), hex_dump(c.expected))
        << "input " << hex_dump(c.input);
  }
}

TEST(DecodeUnicodeEscapes, TakesTheFallbackWhenTheLiteralCannotCompile) {
  const Case cases[] = {
      {"a\nb", "a\nb"},  // a lone line feed ends the literal
      {"a\rb", "a\rb"},  // so does a carriage return after the first byte
      {"ab\\", "ab\\"},  // a trailing backslash would escape the closing quote
      {"x\\\nb", "x\\\nb"}, {"it's\n", "it\xA1\xAFs\n"},
  };
  for (const Case& c : cases) {
    const std::string expected = fallback_of(c.expected);
    EXPECT_EQ(hex_dump(decode_unicode_escapes(c.input)), hex_dump(expected))
        << "input " << hex_dump(c.input);
  }
  // The fallback reads the text's bytes as UTF-16LE: "a\nb" is U+0A61 and
  // an odd byte; GBK lacks U+0A61.
  EXPECT_EQ(decode_unicode_escapes("a\nb"), "?");
  EXPECT_EQ(decode_unicode_escapes("\xD6\xD0\n"), "?");
}

TEST(DecodeUnicodeEscapes, TextThatDecodesToNothingTakesTheFallback) {
  EXPECT_EQ(decode_unicode_escapes("%00"), fallback_of("%00"));
  EXPECT_EQ(decode_unicode_escapes("\\u0000x"), fallback_of("%u0000x"));
}

TEST(DecodeUnicodeEscapes, NeverLeavesTheLiteral) {
  // Text built to close the literal and run code gives text, not effects.
  EXPECT_EQ(decode_unicode_escapes("';alert(1);'"), "';alert(1);'");
  EXPECT_EQ(decode_unicode_escapes("\\';x"), "';x");
}

TEST(UnicodeBytesToText, ReadsUtf16le) {
  const Case cases[] = {
      {"", ""},
      {{"A\0B\0", 4}, "AB"},
      {{"\x2D\x4E", 2}, "\xD6\xD0"},
      {{"\xFF\xFE"
        "A\0",
        4},
       "A"},                     // byte-order mark skipped
      {{"A\0B", 3}, "A"},        // odd last byte ignored
      {{"A\0\0\0B\0", 6}, "A"},  // text ends at a zero unit
      {{"\x00\xD8"
        "A\0",
        4},
       "?A"},                          // lone surrogate
      {{"\x3D\xD8\x00\xDE", 4}, "?"},  // a character beyond GBK
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hex_dump(unicode_bytes_to_text(c.input)), hex_dump(c.expected))
        << "input " << hex_dump(c.input);
  }
}

struct LiteralCase {
  std::u16string_view content;
  std::optional<std::u16string_view> expected;
};

TEST(SingleQuotedLiteral, EscapesAndCompileErrors) {
  const LiteralCase cases[] = {
      {u"a\\tb", u"a\tb"},
      {u"\\b\\f\\v\\r\\n", u"\b\f\v\r\n"},
      {u"\\u0041\\u004", u"Au004"},
      {u"\\0", std::u16string_view(u"\0", 1)},
      {u"\\377\\400",
       u"\u00FF\u0020"
       "0"},
      {u"\\\"\\'", u"\"'"},
      {u"a\u2028", std::nullopt},
      {u"\\", std::nullopt},
      {u"\\\r", std::nullopt},
  };
  for (const LiteralCase& c : cases) {
    const std::optional<std::u16string> value = read_single_quoted_literal(c.content);
    ASSERT_EQ(value.has_value(), c.expected.has_value()) << hex_dump(c.content);
    if (value) {
      EXPECT_EQ(hex_dump(*value), hex_dump(*c.expected)) << hex_dump(c.content);
    }
  }
}

TEST(EcmascriptUnescape, FollowsTheStandardFunction) {
  const struct {
    std::u16string_view input;
    std::u16string_view expected;
  } cases[] = {
      {u"%41%u4e2D", u"A\u4E2D"}, {u"%", u"%"},     {u"%4", u"%4"},
      {u"%u004", u"%u004"},       {u"%%41", u"%A"}, {u"%uZZZZ", u"%uZZZZ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hex_dump(ecmascript_unescape(c.input)), hex_dump(c.expected)) << hex_dump(c.input);
  }
}

}  // namespace
}  // namespace velmo
