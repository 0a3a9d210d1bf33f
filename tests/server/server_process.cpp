#include "tests/server/server_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/server/temp_tree.h"

namespace velmo::server::testing {
namespace {

std::string read_line_from(int fd) {
  std::string line;
  char c = 0;
  while (::read(fd, &c, 1) == 1 && c != '\n') line.push_back(c);
  return line;
}

void send_all(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t sent = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (sent <= 0) return;
    done += static_cast<size_t>(sent);
  }
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Parses status line, headers and a Content-Length body from what was read.
HttpReply parse_reply(const std::string& raw, bool head_only) {
  HttpReply reply;
  const size_t head_end = raw.find("\r\n\r\n");
  if (raw.rfind("HTTP/1.", 0) != 0 || head_end == std::string::npos) return reply;
  reply.status = std::stoi(raw.substr(9, 3));
  size_t line_start = raw.find("\r\n") + 2;
  while (line_start < head_end) {
    const size_t line_end = raw.find("\r\n", line_start);
    const std::string line = raw.substr(line_start, line_end - line_start);
    const size_t colon = line.find(':');
    if (colon != std::string::npos) {
      reply.headers[lower(line.substr(0, colon))] =
          line.substr(line.find_first_not_of(' ', colon + 1));
    }
    line_start = line_end + 2;
  }
  const auto length = reply.headers.find("content-length");
  const size_t available = raw.size() - head_end - 4;
  const size_t wanted =
      head_only || length == reply.headers.end() ? available : std::stoul(length->second);
  reply.body = raw.substr(head_end + 4, std::min(wanted, available));
  return reply;
}

}  // namespace

int connect_loopback(int port, int receive_timeout_seconds) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  timeval timeout{receive_timeout_seconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

HttpReply exchange(int port, const std::string& raw) {
  const int fd = connect_loopback(port, 10);
  if (fd < 0) return {};
  send_all(fd, raw);
  std::string received;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return parse_reply(received, raw.rfind("HEAD ", 0) == 0);
}

HttpReply post(int port, const std::string& target, const std::string& body) {
  return exchange(port, "POST " + target +
                            " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body);
}

HttpReply get(int port, const std::string& target, const std::string& method) {
  return exchange(port,
                  method + " " + target +
                      " HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept:*/*\r\nConnection: close\r\n\r\n");
}

ServerProcess::ServerProcess(std::vector<std::string> arguments, const std::string& work_dir)
    : stderr_path_(work_dir + "/server.stderr"), access_log_path_(work_dir + "/access.log") {
  arguments.insert(arguments.end(), {"--port", "0", "--access-log", access_log_path_});
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    const int err = ::open(stderr_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(err, STDERR_FILENO);
    std::vector<char*> argv;
    static std::string program = UPDATE_SERVER_PATH;
    argv.push_back(program.data());
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  const std::string line = read_line_from(out[0]);
  ::close(out[0]);
  const size_t colon = line.rfind(':');
  if (line.rfind("update-server: listening on ", 0) != 0 || colon == std::string::npos) {
    stop();
    throw std::runtime_error("update-server did not start: " + event_log());
  }
  port_ = std::stoi(line.substr(colon + 1));
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) stop();
}

void ServerProcess::signal(int signal_number) const { ::kill(pid_, signal_number); }

int ServerProcess::stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  int status = 0;
  for (int i = 0; i < 300; ++i) {
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  return -1;
}

std::string ServerProcess::event_log() const { return read_file(stderr_path_); }
std::string ServerProcess::access_log() const { return read_file(access_log_path_); }

}  // namespace velmo::server::testing
