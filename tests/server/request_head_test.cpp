#include <gtest/gtest.h>

#include "server/request_head.h"

namespace velmo::server {
namespace {

TEST(RequestHeadTest, MalformedHeaderLinesAreDropped) {
  struct Case {
    std::string head;
    std::string expected;
  };
  const Case cases[] = {
      {"GET /a HTTP/1.1\r\nHost: x\r\n\r\n", "GET /a HTTP/1.1\r\nHost: x\r\n\r\n"},
      {"GET /a HTTP/1.1\r\nReferer=/:\r\nAccept:*/*\r\n\r\n",
       "GET /a HTTP/1.1\r\nAccept:*/*\r\n\r\n"},
      {"GET /a HTTP/1.1\r\nno colon\r\n: empty name\r\nA B: c\r\nX-Ok_1: v\r\n\r\n",
       "GET /a HTTP/1.1\r\nX-Ok_1: v\r\n\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(drop_malformed_header_lines(c.head), c.expected) << c.head;
}

TEST(RequestHeadTest, HeadEndsAfterTheEmptyLine) {
  EXPECT_EQ(head_end("GET / HTTP/1.1\r\n\r\nbody"), 18u);
  EXPECT_EQ(head_end("GET / HTTP/1.1\r\nHost: x\r\n"), std::string::npos);
}

}  // namespace
}  // namespace velmo::server
