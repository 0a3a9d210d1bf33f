#include "util/regex_matcher.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmo {
namespace {

// The pattern that splits a JSON path such as list[0].url into its segments.
constexpr std::string_view path_pattern = "(?:\\[.+?\\])|(?:[^\\.\\[.]+)";

std::vector<std::string> all_matches(const RegexMatcher& matcher) {
  std::vector<std::string> matches;
  for (int i = 1; i <= matcher.match_count(); ++i) matches.push_back(matcher.get_match(i));
  return matches;
}

struct Options {
  bool case_sensitive = false;
  bool multiline = true;
  bool global = true;
};

struct MatchCase {
  std::string_view pattern;
  std::string_view subject;
  std::vector<std::string> expected;
  Options options = {};
};

TEST(RegexMatcher, FindsTheMatchesAsTheWindowsObjectDoes) {
  const MatchCase cases[] = {
      {path_pattern, "list[0].url", {"list", "[0]", "url"}},
      {path_pattern, "a..b", {"a", "b"}},
      {path_pattern, "[]", {"]"}},
      {path_pattern, "['x.y'].z", {"['x.y']", "z"}},
      {path_pattern, "\xD6\xD0[1]", {"\xD6\xD0", "[1]"}},  // a GBK character is one character
      {"ABC", "xabcx", {"abc"}},                           // case-insensitive by default
      {"ABC", "xabcx", {}, {true}},
      {"[a-c]+", "ABCD", {"ABC"}},
      {"\\d+", "x123y45", {"123", "45"}},
      {"[^\\d\\s]+", "ab 12cd", {"ab", "cd"}},
      {"^b", "a\nb", {"b"}},  // multi-line by default
      {"^b", "a\nb", {}, {false, false}},
      {"a$", "a\rb", {"a"}},
      {"a.c", "a\nc a\rc", {"a\rc"}},             // "." is anything but a line feed
      {"a", "aaa", {"a"}, {false, true, false}},  // not global: the first only
      {"a+?", "aaa", {"a", "a", "a"}},
      {"a+", "aaa", {"aaa"}},
      {"a*", "baa", {"", "aa", ""}},  // empty matches advance by one
      {"a{2,3}", "aaaaa", {"aaa", "aa"}},
      {"a{2}", "aaaaa", {"aa", "aa"}},
      {"a{,2}", "a{,2}", {"a{,2}"}},  // no quantifier: literal braces
      {"x{", "x{", {"x{"}},
      {"]}", "]}", {"]}"}},
      {"(a)\\1", "aa a", {"aa"}},
      {"\\2(a)(b)", "ab", {"ab"}},  // a group not yet set matches empty
      {"a(?=b)", "ac ab", {"a"}},
      {"a(?!b)", "ab ac", {"a"}},
      {"\\bfoo\\b", "food foo", {"foo"}},
      {"(?:ab)+", "ababa", {"abab"}},
      {"(a*)*b", "aab", {"aab"}},
      {"(a|ab)(c|bcd)", "abcd", {"abcd"}},  // the first alternative that lets the rest match
      {"\\x41\\u0042\\103", "ABC", {"ABC"}},
      {"[\\]\\-]+", "a]-b", {"]-"}},
      {"[\\d-z]+", "1-z", {"1-z"}},
      {"\\cJ", "a\nb", {"\n"}},
  };
  for (const MatchCase& c : cases) {
    RegexMatcher matcher;
    const Options& o = c.options;
    ASSERT_TRUE(matcher.execute(c.pattern, c.subject, o.case_sensitive, o.multiline, o.global))
        << c.pattern;
    EXPECT_EQ(all_matches(matcher), c.expected) << c.pattern << " over " << c.subject;
  }
}

TEST(RegexMatcher, RejectedPatternsMakeExecuteFalse) {
  const std::string_view patterns[] = {"(abc", "abc)",    "[abc",  "*a",  "a**", "a{3,2}",
                                       "a\\",  "(?<x>a)", "[z-a]", "{1}", "^*",  "(?"};
  for (const std::string_view pattern : patterns) {
    RegexMatcher matcher;
    EXPECT_FALSE(matcher.execute(pattern, "abc")) << pattern;
    EXPECT_EQ(matcher.match_count(), 0) << pattern;
    EXPECT_EQ(matcher.get_match(1), "") << pattern;
    EXPECT_EQ(matcher.submatch_count(), 0) << pattern;
    EXPECT_EQ(matcher.replace("x"), "") << pattern;
  }
}

TEST(RegexMatcher, NoMatchIsTrueWithCountZero) {
  RegexMatcher matcher;
  EXPECT_TRUE(matcher.execute("z", "abc"));
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.get_match(1), "");
}

TEST(RegexMatcher, IndexesOutsideTheMatchesGiveEmptyText) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("(a)(x)?", "a a"));
  std::int64_t position = 7;
  EXPECT_EQ(matcher.get_match(3, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(matcher.get_match(0), "");
  EXPECT_EQ(matcher.get_submatch(1, 3), "");
  EXPECT_EQ(matcher.get_submatch(1, 2), "");  // took part in no match
  EXPECT_EQ(matcher.get_submatch(2, 1), "a");
  EXPECT_EQ(matcher.submatch_count(), 2);
}

TEST(RegexMatcher, QuotePlaceholderStandsForADoubleQuote) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("#\xD2\xFD\xBA\xC5", "say \"hi\"", false, true, true, true));
  EXPECT_EQ(all_matches(matcher), (std::vector<std::string>{"\"", "\""}));
  EXPECT_EQ(matcher.get_pattern(), "\"");
  ASSERT_TRUE(matcher.execute("#\xD2\xFD\xBA\xC5", "say \"hi\""));
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.get_pattern(), "#\xD2\xFD\xBA\xC5");
}

struct PositionCase {
  std::string_view pattern;
  std::string_view subject;
  int match;
  int group;  // 0: the whole match
  std::int64_t expected;
};

TEST(RegexMatcher, PositionsCountBytes) {
  const PositionCase cases[] = {
      {path_pattern, "list[0].url", 1, 0, 0},
      {path_pattern, "list[0].url", 2, 0, 4},
      {path_pattern, "list[0].url", 3, 0, 8},
      {"[^.]+", "\xD6\xD0\xCE\xC4.abc", 2, 0, 5},  // character 3, byte 5
      // The search starts at the character position and may find an earlier
      // occurrence of the same text, as described: the second "a" is at 8.
      {"a",
       "\xD6\xD0\xD6\xD0\xD6\xD0"
       "a a",
       2, 0, 6},
      {"(\\d+)", "x12 y34", 2, 1, 5},
      {".", "\xFF", 1, 0, -2},  // the match ("?") is not in the subject's bytes
  };
  for (const PositionCase& c : cases) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute(c.pattern, c.subject)) << c.pattern;
    std::int64_t position = 99;
    matcher.get_submatch(c.match, c.group, &position);
    EXPECT_EQ(position, c.expected) << c.pattern << " over " << c.subject << " #" << c.match;
  }
}

struct ReplaceCase {
  std::string_view pattern;
  std::string_view subject;
  std::string_view replacement;
  std::string_view expected;
  bool global = true;
};

TEST(RegexMatcher, ReplaceExpandsTheReplacement) {
  const ReplaceCase cases[] = {
      {"(\\w+) (\\w+)", "hello world", "$2 $1", "world hello"},
      {"o", "foo", "0", "f00"},
      {"o", "foo", "0", "f0o", false},
      {"b", "abc", "[$&|$`|$'|$$|$3|$]", "a[b|a|c|$|$3|$]c"},
      {"(a)", "a", "$01$10", "aa0"},
      {"x*", "ab", "-", "-a-b-"},
      {"\xD6\xD0", "\xD6\xD0\xCE\xC4", "A", "A\xCE\xC4"},
  };
  for (const ReplaceCase& c : cases) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute(c.pattern, c.subject, false, true, c.global)) << c.pattern;
    EXPECT_EQ(matcher.replace(c.replacement), c.expected) << c.pattern << " with " << c.replacement;
  }
}

TEST(RegexMatcher, CopySharesTheMatchesOfItsTime) {
  RegexMatcher original;
  ASSERT_TRUE(original.execute("a", "aa"));
  const RegexMatcher copy = original;
  ASSERT_TRUE(original.execute("b", "abc"));
  EXPECT_EQ(copy.match_count(), 2);
  EXPECT_EQ(copy.get_pattern(), "a");
  EXPECT_EQ(copy.replace("x"), "xx");
  EXPECT_EQ(original.match_count(), 1);
}

TEST(RegexMatcher, ExecuteReplacesEarlierResults) {
  RegexMatcher matcher;
  EXPECT_EQ(matcher.get_pattern(), "");
  ASSERT_TRUE(matcher.execute("a", "aaa"));
  EXPECT_FALSE(matcher.execute("(", "aaa"));
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.get_pattern(), "(");
}

TEST(RegexMatcher, LongSubjectsNeitherOverflowTheStackNorHang) {
  RegexMatcher matcher;
  const std::string long_segment(1000000, 'a');
  ASSERT_TRUE(matcher.execute(path_pattern, long_segment + ".b"));
  EXPECT_EQ(matcher.match_count(), 2);
  EXPECT_EQ(matcher.get_match(1).size(), long_segment.size());
  ASSERT_TRUE(matcher.execute("(?:a|b)*c", std::string(300000, 'a') + "c"));
  EXPECT_EQ(matcher.match_count(), 1);
  // Work without end (quadratic, or exponential backtracking) is cut off:
  // execute reports failure instead of running on.
  EXPECT_FALSE(matcher.execute(path_pattern, std::string(20000, '[')));
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_FALSE(matcher.execute("(a*)*b", std::string(40, 'a')));
}

TEST(RegexMatcher, OversizedPatternsAreRejected) {
  RegexMatcher matcher;
  EXPECT_FALSE(matcher.execute(std::string(300, '(') + "a" + std::string(300, ')'), "a"));
  EXPECT_TRUE(matcher.execute(std::string(100, '(') + "a" + std::string(100, ')'), "a"));
  EXPECT_EQ(matcher.submatch_count(), 100);
  EXPECT_FALSE(matcher.execute("a{1000000}", "a"));
  EXPECT_FALSE(matcher.execute("(?:a{1000}){1000}", "a"));
}

}  // namespace
}  // namespace velmo
