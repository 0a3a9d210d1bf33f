// Limits, time-outs, logging and stopping.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "tests/server/server_fixture.h"

namespace velmo::server::testing {
namespace {

class OperationsTest : public ServerTest {};

// Reads until the server closes; false when the receive time-out came first.
bool server_closes(int fd) {
  char buffer[4096];
  while (true) {
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got == 0) return true;
    if (got < 0) return errno == ECONNRESET;
  }
}

TEST_F(OperationsTest, BodiesOverTheLimitGet413BeforeTheyAreSent) {
  start({"--max-body", "64K"});
  // 100 MB announced, none of it sent: the reply must not wait for it.
  const HttpReply announced = exchange(
      port(), "POST /api/update/check HTTP/1.1\r\nHost: x\r\nContent-Length: 104857600\r\n\r\n");
  EXPECT_EQ(announced.status, 413);

  std::string chunked =
      "POST /api/update/check HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (int i = 0; i < 8; ++i) chunked += "4000\r\n" + std::string(0x4000, 'a') + "\r\n";
  chunked += "0\r\n\r\n";
  EXPECT_EQ(exchange(port(), chunked).status, 413);

  const std::string within = updater_check_body(access_key, inventory_of(sample_release()));
  EXPECT_EQ(check(port(), within).state, 1);
}

TEST_F(OperationsTest, ASlowClientIsCutOff) {
  start({"--request-timeout", "1"});
  struct Case {
    const char* what;
    std::string sent;
  };
  const Case cases[] = {
      {"idle", ""},
      {"half a head", "POST /api/update/check HTTP/1.1\r\nHost: x\r\n"},
      {"half a body",
       "POST /api/update/check HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\nkey="},
  };
  for (const Case& c : cases) {
    const int fd = connect_loopback(port(), 15);
    ASSERT_GE(fd, 0);
    ::send(fd, c.sent.data(), c.sent.size(), MSG_NOSIGNAL);
    EXPECT_TRUE(server_closes(fd)) << c.what;
    ::close(fd);
  }
  EXPECT_EQ(get(port(), "/healthz").status, 200);
}

TEST_F(OperationsTest, OneAccessLinePerRequestWithTheKeyOnlyInPart) {
  start();
  check(port(), updater_check_body(access_key, {}));
  get(port(), "/api/update/notes?key=" + access_key);
  get(port(), "/files/app/Velmo.exe");
  get(port(), "/files/app/%0d%0aforged");
  server_->stop();
  const std::string log = server_->access_log();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
  EXPECT_EQ(log.find(access_key), std::string::npos) << log;
  EXPECT_NE(log.find(" 127.0.0.1 POST /api/update/check 200 "), std::string::npos) << log;
  EXPECT_NE(log.find(" 127.0.0.1 GET /api/update/notes 200 "), std::string::npos) << log;
  EXPECT_NE(log.find("key=c47e...b1f6"), std::string::npos) << log;
  EXPECT_NE(log.find(" GET /files/app/Velmo.exe 200 "), std::string::npos) << log;
  EXPECT_NE(log.find(" GET /files/app/%0d%0aforged 404 "), std::string::npos) << log;
}

TEST_F(OperationsTest, SigtermStopsCleanlyWithConnectionsOpen) {
  start();
  const int idle = connect_loopback(port(), 15);
  const int keep_alive = connect_loopback(port(), 15);
  const std::string request = "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n";
  ::send(keep_alive, request.data(), request.size(), MSG_NOSIGNAL);
  char buffer[1024];
  EXPECT_GT(::recv(keep_alive, buffer, sizeof buffer, 0), 0);

  EXPECT_EQ(server_->stop(), 0);
  EXPECT_NE(server_->event_log().find("update-server: stopped"), std::string::npos);
  EXPECT_TRUE(server_closes(idle));
  EXPECT_TRUE(server_closes(keep_alive));
  ::close(idle);
  ::close(keep_alive);
}

TEST(StartTest, UsageMistakesAndMissingReleasesEndWithTheirStatus) {
  TempTree tree;
  struct Case {
    std::vector<std::string> arguments;
    int status;
  };
  const Case cases[] = {
      {{"--bogus"}, 2},
      {{"--key", "k"}, 2},
      {{"--key", "k", "--release", tree.path("missing")}, 1},
      {{"--key", "k", "--release", tree.root(), "--listen", "not-an-ip"}, 1},
  };
  for (const Case& c : cases) {
    std::string command = std::string(UPDATE_SERVER_PATH) + " --port 0";
    for (const std::string& argument : c.arguments) command += " '" + argument + "'";
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(status), c.status) << command;
  }
}

}  // namespace
}  // namespace velmo::server::testing
