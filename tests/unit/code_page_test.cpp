// Both implementations of the code-page interface (iconv natively, Windows'
// tables under Wine) run these same tests, so they give the same bytes.
#include "util/code_page.h"

#include <gtest/gtest.h>

#include "tests/unit/hex_dump.h"
#include "util/md5_hex.h"

namespace velmo {
namespace {

using test::hex_dump;

struct ToWideCase {
  std::string_view bytes;
  std::u16string_view expected;
};

TEST(BytesToWide, GbkCharactersAndInvalidBytes) {
  const ToWideCase cases[] = {
      {"abc", u"abc"},
      {{"a\0b", 3}, {u"a\0b", 3}},
      {"\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {"\xA1\xA1", u"\u3000"},    // full-width space
      {"\xA1\xAF", u"\u2019"},    // right single quotation mark
      {"\x80", u"\u20AC"},        // euro sign
      {"\x81\x40", u"\u4E02"},    // first double-byte code
      {"\xFF", u"\uFFFD"},        // starts no character
      {"\xD6", u"\uFFFD"},        // lead byte at the end
      {"\xD6\x22", u"\uFFFD\""},  // the quote after it survives
      {"\xD6\x7F", u"\uFFFD\x7F"},
      {"\xD6\xFF"
       "a",
       u"\uFFFD\uFFFDa"},
      {"\xAA\xA1", u"\uFFFD"},  // user-defined areas
      {"\xA1\x40", u"\uFFFD"},
      {"\xF8\xA1", u"\uFFFD"},
      {"\xA2\xAB", u"\uFFFD"},  // unassigned code
      {"\x81\x5Cu",
       u"\u4E57"
       "u"},  // trail byte 0x5C is no backslash
  };
  for (const ToWideCase& c : cases) {
    EXPECT_EQ(hex_dump(bytes_to_wide(c.bytes, code_page_gbk)), hex_dump(c.expected))
        << "input " << hex_dump(c.bytes);
  }
}

TEST(BytesToWide, Utf8WithMaximalSubpartReplacement) {
  const ToWideCase cases[] = {
      {"\xE4\xB8\xAD", u"\u4E2D"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xC3", u"\uFFFD"},  // truncated
      {"\xE4\xB8", u"\uFFFD"},
      {"\xE4\xB8"
       "a",
       u"\uFFFDa"},
      {"\xF0\x9F\x98", u"\uFFFD"},
      {"\xC0\x80", u"\uFFFD\uFFFD"},  // overlong
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\x80\xBF", u"\uFFFD\uFFFD"},                      // lone continuation bytes
      {"\xFE\xFF", u"\uFFFD\uFFFD"},
      {"\xEF\xBB\xBF"
       "a",
       u"\uFEFF"
       "a"},  // a byte-order mark is a character
  };
  for (const ToWideCase& c : cases) {
    EXPECT_EQ(hex_dump(bytes_to_wide(c.bytes, code_page_utf8)), hex_dump(c.expected))
        << "input " << hex_dump(c.bytes);
  }
}

struct ToBytesCase {
  std::u16string_view wide;
  std::string_view expected;
};

TEST(WideToBytes, GbkReplacesWhatItLacksByOneQuestionMark) {
  const ToBytesCase cases[] = {
      {u"\u4E2D\u6587", "\xD6\xD0\xCE\xC4"},
      {u"\u20AC", "\x80"},
      {{u"a\0b", 3}, {"a\0b", 3}},
      {u"\u00A6", "?"},  // no best fit ("|")
      {u"\u00C0", "?"},
      {u"\uE000", "?"},  // private use
      {u"\uF8F5", "?"},
      {u"\U0001F600", "?"},  // a surrogate pair is one character
      {u"a\xD800"
       "b",
       "a?b"},  // lone surrogates
      {u"\xDC00\xD800", "??"},
      {u"\uFFFD", "?"},
  };
  for (const ToBytesCase& c : cases) {
    EXPECT_EQ(hex_dump(wide_to_bytes(c.wide, code_page_gbk)), hex_dump(c.expected))
        << "input " << hex_dump(c.wide);
    EXPECT_EQ(hex_dump(wide_to_bytes(c.wide, code_page_ansi)), hex_dump(c.expected))
        << "input " << hex_dump(c.wide);
  }
}

TEST(WideToBytes, Utf8ReplacesLoneSurrogates) {
  const ToBytesCase cases[] = {
      {u"\u4E2D", "\xE4\xB8\xAD"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"\xD800", "\xEF\xBF\xBD"},
      {u"\xDFFF"
       "a",
       "\xEF\xBF\xBD"
       "a"},
      {u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
  };
  for (const ToBytesCase& c : cases) {
    EXPECT_EQ(hex_dump(wide_to_bytes(c.wide, code_page_utf8)), hex_dump(c.expected))
        << "input " << hex_dump(c.wide);
  }
}

std::string utf16le_bytes(std::u16string_view wide) {
  std::string bytes;
  for (const char16_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

// Every lead byte with every second byte, each pair followed by a line feed.
std::string every_double_byte_sequence() {
  std::string bytes;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int second = 0; second <= 0xFF; ++second) {
      bytes += {static_cast<char>(lead), static_cast<char>(second), '\n'};
    }
  }
  for (int single = 0; single <= 0xFF; ++single) bytes += {static_cast<char>(single), '\n'};
  return bytes;
}

std::u16string every_unit() {
  std::u16string wide;
  for (int unit = 0; unit <= 0xFFFF; ++unit) wide += {static_cast<char16_t>(unit), u'\n'};
  return wide;
}

// The digests pin the whole table; the native and the Windows build must
// both reach them.
TEST(CodePageTable, WholeGbkTableIsTheSameOnEveryPlatform) {
  const std::u16string wide = bytes_to_wide(every_double_byte_sequence(), code_page_gbk);
  EXPECT_EQ(md5_hex(utf16le_bytes(wide)), "d54afd2a562b9cd7fc57b0f9144c4de6");
  EXPECT_EQ(md5_hex(wide_to_bytes(every_unit(), code_page_gbk)),
            "6841389a20bcbd941465336d30c6bc31");
}

TEST(CodePageTable, EveryMappedDoubleByteCodeRoundTrips) {
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string wide = bytes_to_wide(code, code_page_gbk);
      ASSERT_EQ(wide.size(), 1u) << hex_dump(code);
      if (wide[0] == 0xFFFD) continue;
      ++mapped;
      EXPECT_EQ(hex_dump(wide_to_bytes(wide, code_page_gbk)), hex_dump(code));
    }
  }
  EXPECT_EQ(mapped, 21791);  // GBK's assigned double-byte codes
}

}  // namespace
}  // namespace velmo
