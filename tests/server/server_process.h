#pragma once
// Runs the real update-server on 127.0.0.1 with a free port, and talks to it
// over plain sockets so that a test can send anything a hostile client would.
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace velmo::server::testing {

class ServerProcess {
 public:
  // Starts update-server with these arguments plus --port 0 and a log file;
  // returns once it listens. Throws when it does not start.
  explicit ServerProcess(std::vector<std::string> arguments, const std::string& work_dir);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  void signal(int signal_number) const;
  // SIGTERM, then waits (bounded); the exit status, or -1 when it had to be killed.
  int stop();
  std::string event_log() const;  // standard error
  std::string access_log() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string stderr_path_;
  std::string access_log_path_;
};

struct HttpReply {
  int status = 0;                              // 0: no reply (connection closed or timed out)
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
};

// Sends `raw` on a new connection and reads one reply (up to 10 s).
HttpReply exchange(int port, const std::string& raw);

HttpReply post(int port, const std::string& target, const std::string& body);
HttpReply get(int port, const std::string& target, const std::string& method = "GET");

// A connected socket with a receive time-out; the caller closes it.
int connect_loopback(int port, int receive_timeout_seconds);

}  // namespace velmo::server::testing
