#include "net/response_cookies.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

TEST(CanonicalSetCookieNames, SpellsEveryLetterCaseAsSetCookie) {
  EXPECT_EQ(canonical_set_cookie_names("set-cookie: a=1; path=/\r\nSET-COOKIE: b=2\r\n"),
            "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n");
  EXPECT_EQ(canonical_set_cookie_names("X-Other: set-cookiex\r\n"), "X-Other: Set-Cookiex\r\n");
}

TEST(HeadersAfterStatusLine, DropsTheStatusLine) {
  EXPECT_EQ(headers_after_status_line("HTTP/1.1 200 OK\r\nA: 1\r\n\r\n"), "A: 1\r\n\r\n");
  EXPECT_EQ(headers_after_status_line(""), "");
  EXPECT_EQ(headers_after_status_line("garbage"), "");
}

TEST(ResponseCookiesFromHeaders, JoinsTheCookieOfEverySetCookieLine) {
  struct Case {
    std::string headers, expected;
  } cases[] = {
      {"Set-Cookie: a=1; path=/\r\n", "a=1"},
      {"Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n", "a=1; b=2"},
      {"Content-Type: text/plain\r\n", ""},
      {"", ""},
      {"Set-Cookie:  sid = x \r\n", "sid = x"},  // without attributes: trimmed as it is
      {"Set-Cookie: a=1;\r\nX: y\r\nSet-Cookie: c=3; HttpOnly\r\n\r\n", "a=1; c=3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(response_cookies_from_headers(c.headers), c.expected) << c.headers;
}

}  // namespace
}  // namespace velmo
