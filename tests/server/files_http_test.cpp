// Downloads, and what the server answers to anything that is not one of its routes.
#include <gtest/gtest.h>

#include "server/file_digest.h"
#include "tests/server/server_fixture.h"

namespace velmo::server::testing {
namespace {

class FilesTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    std::string large(5 * 1024 * 1024 + 3, '\0');
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i % 251);
    tree_.write("release/big/large.bin", large);
    large_md5_ = md5_of_bytes(large);
    start();
  }
  std::string large_md5_;
};

TEST_F(FilesTest, GetAndHeadTellTheLength) {
  struct Case {
    std::string target;
    std::string contents_md5;
    size_t length;
  };
  const Case cases[] = {
      {"/files/app/Velmo.exe", md5_of_bytes("the main program"), 16},
      {"/files/app/%E4%B8%AD%E6%96%87%20%E7%9B%AE%E5%BD%95/%E6%95%B0%E6%8D%AE%201.dat",
       md5_of_bytes("data with a Chinese path"), 24},
      {"/files/app/100%25/a%2Bb%26c.txt", md5_of_bytes("awkward characters"), 18},
      {"/files/app/_parent/x.dll", md5_of_bytes("beside the program directory"), 28},
      {"/files/app/big/large.bin?md5=ignored", large_md5_, 5 * 1024 * 1024 + 3},
  };
  for (const Case& c : cases) {
    HttpReply download = get(port(), c.target);
    EXPECT_EQ(download.status, 200) << c.target;
    EXPECT_EQ(download.headers["content-length"], std::to_string(c.length)) << c.target;
    EXPECT_EQ(md5_of_bytes(download.body), c.contents_md5) << c.target;
    HttpReply head = get(port(), c.target, "HEAD");
    EXPECT_EQ(head.status, 200) << c.target;
    EXPECT_EQ(head.headers["content-length"], std::to_string(c.length)) << c.target;
    EXPECT_EQ(head.body, "") << c.target;
  }
}

TEST_F(FilesTest, TheUpdatersOwnDownloadRequestIsServed) {
  // Its header block as it builds it, "Referer=/" turned into a line without a proper name.
  const HttpReply download = exchange(
      port(),
      "GET /files/app/Velmo.exe HTTP/1.1\r\nReferer=/:\r\nAccept:*/*\r\n"
      "Content-Type:application/x-www-form-urlencoded\r\n"
      "User-Agent:Mozilla/5.0 (Windows NT 6.1; WOW64; rv:23.0) Gecko/20100101 Firefox/23.0\r\n"
      "Host: 127.0.0.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(download.status, 200);
  EXPECT_EQ(download.body, "the main program");
}

TEST_F(FilesTest, PathsThatLeaveTheReleaseAreRefused) {
  struct Case {
    std::string target;
    int status;
  };
  const Case cases[] = {
      {"/files/app/../server.ini", 404},
      {"/files/app/%2e%2e/server.ini", 404},
      {"/files/app/..%2Fserver.ini", 404},
      {"/files/app/plugins/../Velmo.exe", 404},
      {"/files/app/_parent/../Velmo.exe", 404},
      {"/files/app/../x.dll", 404},  // the published name is not a file path
      {"/files/app//etc/passwd", 404},
      {"/files/app/%2Fetc%2Fpasswd", 404},
      {"/files/app/plugins%5C..%5C..%5Cserver.ini", 404},
      {"/files/app/Config.ini", 404},  // on disk, but excluded
      {"/files/app/UpDate.exe", 404},
      {"/files/app/velmo.exe", 404},  // file URLs name the release path exactly
      {"/files/app/plugins", 404},
      {"/files/app/", 404},
      {"/files/app", 404},
      {"/files/nope/Velmo.exe", 404},
      {"/files/app/Velmo.exe%00.txt", 400},
      {"/files/app/%zz", 400},
      {"/files/app/Velmo.exe%", 400},
  };
  for (const Case& c : cases) EXPECT_EQ(get(port(), c.target).status, c.status) << c.target;
  EXPECT_EQ(get(port(), "/files/app/Velmo.exe").status, 200);
}

TEST_F(FilesTest, RoutesAndMethods) {
  struct Case {
    std::string method;
    std::string target;
    int status;
  };
  const Case cases[] = {
      {"GET", "/healthz", 200},
      {"HEAD", "/healthz", 200},
      {"POST", "/healthz", 405},
      {"GET", "/api/update/check", 405},
      {"DELETE", "/files/app/Velmo.exe", 405},
      {"PUT", "/api/update/notes", 405},
      {"GET", "/", 404},
      {"GET", "/api/update/check/", 404},
      {"GET", "/API/UPDATE/NOTES", 404},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(get(port(), c.target, c.method).status, c.status) << c.method << " " << c.target;
  }
}

TEST_F(FilesTest, BrokenHttpGetsAnErrorAndTheServerGoesOn) {
  struct Case {
    std::string raw;
    int status;
  };
  const Case cases[] = {
      {"NONSENSE\r\n\r\n", 400},
      {"GET /healthz\r\n\r\n", 400},
      {"GET /healthz HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n", 200},
      {"GET / HTTP/9.9\r\n\r\n", 400},
      {"GET /healthz HTTP/1.1\r\nBad Header\r\n\r\n", 200},  // the line is dropped,
      {"GET /healthz HTTP/1.1\r\nX: " + std::string(20000, 'a') + "\r\n\r\n", 431},
      {"GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n", 431},
      {"POST /api/update/check HTTP/1.1\r\nContent-Length: -5\r\n\r\n", 400},
      {"POST /api/update/check HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n", 400},
  };
  for (const Case& c : cases)
    EXPECT_EQ(exchange(port(), c.raw).status, c.status) << c.raw.substr(0, 60);
  EXPECT_EQ(get(port(), "/healthz").status, 200);
}

}  // namespace
}  // namespace velmo::server::testing
