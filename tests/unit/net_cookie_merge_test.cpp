#include "net/cookie_merge.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

TEST(MergeCookies, FoldsTheResponseCookiesIntoTheSentOnes) {
  struct Case {
    std::string cookies, new_cookies, expected;
  } cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1"},       // a newer value replaces the older one
      {"a=1; sid=x", "sid=deleted", "a=1"},  // a deleted cookie takes its old value along
      {"sid=x", "", "sid=x"},
      {"", "a=1; a=1", "a=1"},               // repeated items are dropped
      {"", "a=1; a=2", "a=1; a=2"},          // one name, two values: both stay
      {"", "sid=deleted2", "sid=deleted2"},  // only a value of exactly "deleted" deletes
      {"x=a b", "", "x=ab"},                 // every space goes, inside values too
      {"x=a\xA1\xA1"
       "b",
       "", "x=ab"},             // the full-width space as well
      {"a=1; a=2", "", "a=1"},  // of two old items with one name the first wins
      {"a=1; a=2", "b=1", "b=1; a=1"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    std::string cookies = c.cookies;
    EXPECT_EQ(merge_cookies(cookies, c.new_cookies), c.expected)
        << c.cookies << " merged with " << c.new_cookies;
    EXPECT_EQ(cookies, c.expected) << "cookies argument after merging " << c.cookies;
  }
}

TEST(CookieName, IsThePartBeforeTheFirstEqualsSignTrimmed) {
  struct Case {
    std::string item, expected;
  } cases[] = {
      {" sid =x=y", "sid"},
      {"flag", "flag"},
      {" flag ", "flag"},
      {"=x", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(cookie_name(c.item), c.expected) << c.item;
}

}  // namespace
}  // namespace velmo
