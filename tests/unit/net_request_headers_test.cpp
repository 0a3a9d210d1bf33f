#include "net/request_headers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace velmo {
namespace {

constexpr char url[] = "http://127.0.0.1:8080/notes?key=k";
constexpr char chrome_agent[] =
    "User-Agent: Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/45.0.2454.101 Safari/537.36";
const std::string referer = std::string("Referer: ") + url;
constexpr char msie_agent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr char form_type[] = "Content-Type: application/x-www-form-urlencoded";

std::string lines(const std::vector<std::string>& each) {
  std::string text;
  for (const std::string& line : each) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

TEST(CompleteRequestHeaders, AddsTheMissingDefaultLinesInOrder) {
  struct Case {
    std::string headers;
    int method;
    std::string expected;
  } cases[] = {
      {"", 0, lines({"Accept: */*", referer, "Accept-Language: zh-cn", msie_agent})},
      {"", 1, lines({"Accept: */*", referer, "Accept-Language: zh-cn", msie_agent, form_type})},
      {chrome_agent, 1,
       lines({chrome_agent, "Accept: */*", referer, "Accept-Language: zh-cn", form_type})},
      {chrome_agent, 0, lines({chrome_agent, "Accept: */*", referer, "Accept-Language: zh-cn"})},
      // A caller's own Accept line stays alone and unchanged.
      {"Accept: text/html", 0,
       lines({"Accept: text/html", referer, "Accept-Language: zh-cn", msie_agent})},
      // The keys are searched case-sensitively: a lower-case line does not count.
      {"user-agent: mine", 0,
       lines({"user-agent: mine", "Accept: */*", referer, "Accept-Language: zh-cn", msie_agent})},
      // Methods outside the table count as GET: no Content-Type.
      {"", 8, lines({"Accept: */*", referer, "Accept-Language: zh-cn", msie_agent})},
      {"", -1, lines({"Accept: */*", referer, "Accept-Language: zh-cn", msie_agent})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(complete_request_headers(c.headers, url, c.method), c.expected)
        << "headers \"" << c.headers << "\", method " << c.method;
  }
}

TEST(RequestMethodName, MapsOutOfRangeIndexesToGet) {
  struct Case {
    int method;
    std::string expected;
  } cases[] = {{0, "GET"},     {1, "POST"},   {2, "HEAD"},  {3, "PUT"},
               {4, "OPTIONS"}, {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"},
               {8, "GET"},     {-1, "GET"},   {1000, "GET"}};
  for (const Case& c : cases) EXPECT_EQ(request_method_name(c.method), c.expected) << c.method;
}

TEST(RequestTimeout, GivesTheMillisecondsForEachTimeout) {
  struct Case {
    int seconds;
    std::optional<int> expected;
  } cases[] = {{0, 15000}, {-5, 15000},        {10, 10000},
               {1, 1000},  {-1, std::nullopt}, {3000000, 2147483647}};
  for (const Case& c : cases) EXPECT_EQ(request_timeout_ms(c.seconds), c.expected) << c.seconds;
}

TEST(HeaderLine, NameAndValueAreTheTrimmedPartsAroundTheFirstColon) {
  struct Case {
    std::string line, name, value;
  } cases[] = {
      {"Accept: */*", "Accept", "*/*"},
      {" Referer :  http://h:81/x ", "Referer", "http://h:81/x"},
      {"Referer=/", "", ""},
      {":x", "", "x"},
      {"X-Empty:", "X-Empty", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(header_line_name(c.line), c.name) << c.line;
    EXPECT_EQ(header_line_value(c.line), c.value) << c.line;
  }
}

TEST(RequestHeaderFields, TakesEveryNamedLineInOrder) {
  const std::vector<HeaderField> expected = {
      {"User-Agent", "UA"}, {"Accept", "*/*"}, {"Referer", "http://h/x"}};
  EXPECT_EQ(request_header_fields("User-Agent: UA\r\n\r\nAccept: */*\r\nno colon\r\n:x\r\n"
                                  "Referer: http://h/x\r\n"),
            expected);
}

}  // namespace
}  // namespace velmo
