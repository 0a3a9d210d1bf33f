#include "net/url_parts.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

TEST(UrlParts, SplitsHostPortAndPath) {
  struct Case {
    std::string url, host;
    int port;
    std::string path;
    bool secure;
  } cases[] = {
      {"HTTPS://FileHost:444/Path/File.bin?x=1", "filehost", 444, "/Path/File.bin?x=1", true},
      {"http://filehost", "filehost", 80, "/", false},
      {"https://filehost", "filehost", 443, "/", true},
      {"filehost:81/a", "filehost", 81, "/a", false},
      {"Http://Files.Example/A/B", "files.example", 80, "/A/B", false},
      // Hosts that also occur inside the scheme still give their own path.
      {"http://t/x", "t", 80, "/x", false},
      {"https://ps:8443/y", "ps", 8443, "/y", true},
      {"http://http/z", "http", 80, "/z", false},
      // A port that is no port from 1 to 65535 gives 0, which is not connected to.
      {"http://h:65536/", "h", 0, "/", false},
      {"http://h:99999999999999999999/", "h", 0, "/", false},
      {"http://h:abc/", "h", 0, "/", false},
      {"http://h:/", "h", 0, "/", false},
      {"http://h:65535/", "h", 65535, "/", false},
      {"http://", "", 80, "/", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(url_host(c.url), c.host) << c.url;
    EXPECT_EQ(url_port(c.url), c.port) << c.url;
    EXPECT_EQ(url_path(c.url), c.path) << c.url;
    EXPECT_EQ(url_is_secure(c.url), c.secure) << c.url;
  }
}

TEST(UrlHost, KeepsThePortWhenAsked) {
  EXPECT_EQ(url_host("http://Host:8080/x", true), "host:8080");
}

}  // namespace
}  // namespace velmo
