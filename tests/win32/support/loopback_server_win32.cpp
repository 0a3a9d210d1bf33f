#include "tests/win32/support/loopback_server_win32.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <optional>

namespace velmo::test {
namespace {

constexpr size_t max_head_bytes = size_t{1} << 20;
constexpr size_t max_request_body_bytes = size_t{64} << 20;
constexpr DWORD socket_timeout_ms = 20000;
constexpr size_t max_connections = 512;
constexpr int max_requests_per_connection = 1000;

std::string ascii_lower(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> split_lines(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t from = 0; from < text.size();) {
    const size_t end = std::min(text.find("\r\n", from), text.size());
    lines.emplace_back(text.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}

// Waits in short steps until the socket is readable, so that a stopping
// server is noticed (a blocked recv is not woken by shutdown under Wine).
bool wait_readable(SOCKET socket, const std::atomic<bool>& stopping) {
  constexpr long step_ms = 20;
  for (DWORD waited = 0; waited < socket_timeout_ms && !stopping; waited += step_ms) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval step{0, step_ms * 1000};
    const int ready = select(0, &readable, nullptr, nullptr, &step);
    if (ready != 0) return ready == 1;
  }
  return false;
}

// Receives more bytes into `pending`; false when the peer closed, the
// connection failed, the wait timed out or the server is stopping.
bool receive_more(SOCKET socket, std::string& pending, const std::atomic<bool>& stopping) {
  if (!wait_readable(socket, stopping)) return false;
  char buffer[16384];
  const int count = recv(socket, buffer, sizeof buffer, 0);
  if (count <= 0) return false;
  pending.append(buffer, static_cast<size_t>(count));
  return true;
}

void parse_head(std::string_view head, RecordedRequest& request) {
  std::vector<std::string> lines = split_lines(head);
  if (lines.empty()) return;
  request.request_line = lines.front();
  const size_t first_space = request.request_line.find(' ');
  request.method = request.request_line.substr(0, first_space);
  if (first_space != std::string::npos) {
    const size_t second_space = request.request_line.find(' ', first_space + 1);
    request.target = request.request_line.substr(first_space + 1, second_space - first_space - 1);
  }
  request.header_lines.assign(lines.begin() + 1, lines.end());
}

size_t declared_body_length(const RecordedRequest& request) {
  const std::string length = request.header("Content-Length");
  size_t value = 0;
  for (char c : length) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + static_cast<size_t>(c - '0'), max_request_body_bytes);
  }
  return value;
}

// One whole request from the connection, or none when it ended first.
std::optional<RecordedRequest> read_request(SOCKET socket, std::string& pending,
                                            const std::atomic<bool>& stopping) {
  size_t head_end;
  while ((head_end = pending.find("\r\n\r\n")) == std::string::npos) {
    if (pending.size() > max_head_bytes || !receive_more(socket, pending, stopping))
      return std::nullopt;
  }
  RecordedRequest request;
  parse_head(std::string_view(pending).substr(0, head_end), request);
  const size_t body_start = head_end + 4;
  const size_t body_length = declared_body_length(request);
  while (pending.size() - body_start < body_length) {
    if (!receive_more(socket, pending, stopping)) return std::nullopt;
  }
  request.body = pending.substr(body_start, body_length);
  request.raw = pending.substr(0, body_start + body_length);
  pending.erase(0, body_start + body_length);
  return request;
}

void set_timeouts(SOCKET socket) {
  const DWORD timeout = socket_timeout_ms;
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
             sizeof timeout);
  setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
             sizeof timeout);
}

// Whether the peer has closed its side (a read would give 0 bytes or fail).
bool peer_gone(SOCKET socket) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(socket, &readable);
  timeval no_wait{0, 0};
  if (select(0, &readable, nullptr, nullptr, &no_wait) != 1) return false;
  char byte;
  return recv(socket, &byte, 1, MSG_PEEK) <= 0;
}

SOCKET listen_on_loopback(std::uint16_t& port) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return listener;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // a free port
  int length = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, SOMAXCONN) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(listener);
    return INVALID_SOCKET;
  }
  port = ntohs(address.sin_port);
  return listener;
}

}  // namespace

std::vector<std::string> RecordedRequest::header_names() const {
  std::vector<std::string> names;
  for (const std::string& line : header_lines) names.push_back(line.substr(0, line.find(':')));
  return names;
}

std::string RecordedRequest::header(std::string_view name) const {
  const std::string wanted = ascii_lower(name);
  for (const std::string& line : header_lines) {
    const size_t colon = line.find(':');
    if (colon != std::string::npos && ascii_lower(line.substr(0, colon)) == wanted) {
      return trimmed(std::string_view(line).substr(colon + 1));
    }
  }
  return {};
}

bool RecordedRequest::has_header(std::string_view name) const {
  const std::string wanted = ascii_lower(name);
  for (const std::string& line : header_lines) {
    if (ascii_lower(line.substr(0, line.find(':'))) == wanted) return true;
  }
  return false;
}

bool LoopbackConnection::send(std::string_view bytes) {
  while (!bytes.empty()) {
    if (stopping_) return false;
    const int piece = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20));
    const int sent = ::send(socket_, bytes.data(), piece, 0);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

bool LoopbackConnection::send_slowly(std::string_view bytes, size_t piece_size, unsigned pause_ms) {
  for (size_t offset = 0; offset < bytes.size(); offset += piece_size) {
    if (!send(bytes.substr(offset, piece_size)) || !pause(pause_ms)) return false;
  }
  return true;
}

bool LoopbackConnection::pause(unsigned milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                         [this] { return stopping_.load(); });
}

void LoopbackConnection::hold(unsigned max_milliseconds) {
  constexpr unsigned step_ms = 20;
  for (unsigned waited = 0; waited < max_milliseconds; waited += step_ms) {
    if (!pause(step_ms) || peer_gone(socket_)) return;
  }
}

LoopbackServer::LoopbackServer(Responder responder) : responder_(std::move(responder)) {
  WSADATA data;
  winsock_started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!winsock_started_) return;
  listener_ = listen_on_loopback(port_);
  if (listener_ != INVALID_SOCKET) accept_thread_ = std::thread(&LoopbackServer::accept_loop, this);
}

LoopbackServer::~LoopbackServer() {
  stop();
  if (winsock_started_) WSACleanup();
}

std::string LoopbackServer::url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

size_t LoopbackServer::request_count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.size();
}

void LoopbackServer::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    for (SOCKET socket : open_sockets_) shutdown(socket, SD_BOTH);
  }
  wake_.notify_all();
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (accept_thread_.joinable()) accept_thread_.join();
  for (std::thread& thread : connection_threads_) thread.join();
  connection_threads_.clear();
}

void LoopbackServer::accept_loop() {
  while (!stopping_) {
    const SOCKET socket = accept(listener_, nullptr, nullptr);
    if (socket == INVALID_SOCKET) {
      if (stopping_) return;
      continue;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || connection_threads_.size() >= max_connections) {
      closesocket(socket);
      continue;
    }
    set_timeouts(socket);
    open_sockets_.push_back(socket);
    connection_threads_.emplace_back(&LoopbackServer::serve, this, socket);
  }
}

void LoopbackServer::serve(SOCKET socket) {
  std::string pending;
  for (int i = 0; i < max_requests_per_connection && !stopping_; ++i) {
    std::optional<RecordedRequest> request = read_request(socket, pending, stopping_);
    if (!request) break;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(*request);
    }
    LoopbackConnection connection(socket, stopping_, mutex_, wake_);
    responder_(*request, connection);
    if (connection.closing()) break;
  }
  shutdown(socket, SD_SEND);
  std::lock_guard<std::mutex> lock(mutex_);
  open_sockets_.erase(std::remove(open_sockets_.begin(), open_sockets_.end(), socket),
                      open_sockets_.end());
  closesocket(socket);
}

std::string reply_with_length(std::string_view body, std::string_view headers,
                              std::string_view status) {
  return "HTTP/1.1 " + std::string(status) + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n" + std::string(headers) + "\r\n" + std::string(body);
}

std::string reply_chunked(const std::vector<std::string>& pieces, std::string_view headers) {
  char size[32];
  std::string reply =
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n" + std::string(headers) + "\r\n";
  for (const std::string& piece : pieces) {
    snprintf(size, sizeof size, "%zx\r\n", piece.size());
    reply += size + piece + "\r\n";
  }
  return reply + "0\r\n\r\n";
}

std::string reply_until_close(std::string_view body, std::string_view headers) {
  return "HTTP/1.1 200 OK\r\nConnection: close\r\n" + std::string(headers) + "\r\n" +
         std::string(body);
}

Responder answer_with(std::string reply) {
  return
      [reply](const RecordedRequest&, LoopbackConnection& connection) { connection.send(reply); };
}

Responder answer_and_close(std::string reply) {
  return [reply](const RecordedRequest&, LoopbackConnection& connection) {
    connection.send(reply);
    connection.close();
  };
}

Responder answer_nothing(unsigned max_milliseconds) {
  return [max_milliseconds](const RecordedRequest&, LoopbackConnection& connection) {
    connection.hold(max_milliseconds);
    connection.close();
  };
}

Responder answer_endlessly(std::string head) {
  return [head](const RecordedRequest&, LoopbackConnection& connection) {
    constexpr size_t max_bytes = size_t{2} << 30;
    const std::string piece(64 * 1024, 'e');
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    if (connection.send(head)) {
      for (size_t sent = 0; sent < max_bytes && std::chrono::steady_clock::now() < give_up;
           sent += piece.size()) {
        if (!connection.send(piece)) break;
      }
    }
    connection.close();
  };
}

}  // namespace velmo::test
