#include "net/text_pieces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmo {
namespace {

TEST(TrimSpaces, RemovesAsciiAndFullWidthSpacesAtBothEnds) {
  struct Case {
    std::string input;
    std::string expected;
  } cases[] = {
      {"  a b  ", "a b"},
      {"\xA1\xA1 a\xA1\xA1", "a"},  // "　 a　"
      {"\ta\r\n", "\ta\r\n"},       // tabs and line breaks stay
      {"   ", ""},
      {"", ""},
      // 0xB0 0xA1 is one character whose trail byte is 0xA1: the stray 0xA1
      // after it is no full-width space and both bytes stay.
      {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
  };
  for (const Case& c : cases) EXPECT_EQ(trim_spaces(c.input), c.expected) << c.input;
}

TEST(RemoveSpaces, RemovesEverySpaceButKeepsTabs) {
  EXPECT_EQ(remove_spaces(" a = b\xA1\xA1; c\t"), "a=b;c\t");
  EXPECT_EQ(remove_spaces("\xB0\xA1\xA1\xA1x"), "\xB0\xA1x");
}

TEST(TextBetween, FindsTheTextBetweenTwoMarkers) {
  struct Case {
    std::string text, left, right;
    int start;
    bool ignore_case;
    std::string expected;
  } cases[] = {
      {"Set-Cookie: a=1; path=/", "Set-Cookie:", ";", 0, false, " a=1"},
      {"<b>x</b><b>y</b>", "<b>", "</b>", 1, false, "x"},
      {"<b>x</b><b>y</b>", "<b>", "</b>", 2, false, "y"},  // searched from position 2
      {"<B>x</B>", "<b>", "</b>", 0, false, ""},
      {"<B>x</B>", "<b>", "</b>", 0, true, "x"},
      {"no left", "[", "]", 0, false, ""},
      {"[no right", "[", "]", 0, false, ""},
      {"[]", "[", "]", 0, false, ""},
      {"[x]", "[", "]", 99, false, ""},  // a start beyond the end finds nothing
      // "#引号" in a marker stands for a double quotation mark.
      {"name=\"v\"", "=#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", 0, false, "v"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text_between(c.text, c.left, c.right, c.start, c.ignore_case), c.expected)
        << c.text << " between " << c.left << " and " << c.right << " from " << c.start;
  }
}

TEST(TextBefore, GivesTheTextBeforeTheMarker) {
  struct Case {
    std::string text, marker;
    int start;
    bool ignore_case;
    std::string expected;
  } cases[] = {
      {"A: 1", ":", 1, false, "A"},
      {"no marker", ":", 1, false, ""},
      {":x", ":", 1, false, ""},
      {"a:b:c", ":", 3, false, "a:b"},  // found from position 3, cut from the beginning
      {"a:b:c", ":", 0, false, "a"},    // 0 or less counts as 1
      {"KeyXvalue", "x", 1, false, ""},
      {"KeyXvalue", "x", 1, true, "Key"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text_before(c.text, c.marker, c.start, c.ignore_case), c.expected)
        << c.text << " before " << c.marker << " from " << c.start;
  }
}

TEST(SplitText, KeepsInnerEmptyPiecesButNoEmptyLastOne) {
  struct Case {
    std::string text;
    std::vector<std::string> expected;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\na", {"", "a"}},
      {"\r\n", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(split_text(c.text, "\r\n"), c.expected) << c.text;
}

TEST(ReplaceAll, ReplacesEveryOccurrenceInAnyCase) {
  EXPECT_EQ(replace_all("set-cookie: a\r\nSET-COOKIE: b", "Set-Cookie", "Set-Cookie", true),
            "Set-Cookie: a\r\nSet-Cookie: b");
  EXPECT_EQ(replace_all("aXa", "x", "-"), "aXa");
  EXPECT_EQ(replace_all("aaa", "aa", "b"), "ba");
  EXPECT_EQ(replace_all("abc", "", "x"), "abc");
}

}  // namespace
}  // namespace velmo
