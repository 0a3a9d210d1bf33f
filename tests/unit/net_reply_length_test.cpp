#include "net/reply_length.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velmo {
namespace {

TEST(DeclaredContentLength, ReadsTheHeaderInAnyLetterCase) {
  struct Case {
    std::string headers;
    std::optional<std::int64_t> expected;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 1234\r\n\r\n", 1234},
      {"HTTP/1.1 200 OK\r\ncontent-length:0\r\n", 0},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n", std::nullopt},
      {"HTTP/1.1 200 OK\r\nContent-Length: 12x\r\n", std::nullopt},
      {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n", std::nullopt},
      {"HTTP/1.1 200 OK\r\nX-Content-Length: 5\r\n", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(declared_content_length(c.headers), c.expected) << c.headers;
}

TEST(ReplyBodyComplete, ComparesTheReceivedWithTheDeclaredLength) {
  const std::string declared = "HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n";
  struct Case {
    std::string headers;
    bool head_request;
    int status;
    std::int64_t received;
    bool expected;
  } cases[] = {
      {declared, false, 200, 10000, true},
      {declared, false, 200, 3000, false},
      {declared, false, 404, 3000, false},  // an error page counts like any body
      {declared, true, 200, 0, true},       // a reply to HEAD has no body
      {declared, false, 304, 0, true},
      {declared, false, 204, 0, true},
      {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", false, 200, 3, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(reply_body_complete(c.headers, c.head_request, c.status, c.received), c.expected)
        << c.headers << "HEAD " << c.head_request << ", status " << c.status << ", received "
        << c.received;
  }
}

}  // namespace
}  // namespace velmo
