#pragma once
// An HTTP server for tests on 127.0.0.1 and a free port, in a thread of the
// test program. It records each request as it arrived (raw bytes, and split
// into request line, header lines and body) and answers it with the test's
// own responder, which may send anything: a proper reply, a reply in
// pieces, garbage, nothing at all, or an endless body. Every wait is bounded
// and the destructor ends every connection.
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace velmo::test {

struct RecordedRequest {
  std::string raw;           // every byte received for this request
  std::string request_line;  // "GET /path HTTP/1.1"
  std::string method;
  std::string target;
  std::vector<std::string> header_lines;  // "Name: value", in wire order
  std::string body;

  std::vector<std::string> header_names() const;
  // The value of the first header of that name (any letter case), trimmed;
  // empty when there is none.
  std::string header(std::string_view name) const;
  bool has_header(std::string_view name) const;
};

class LoopbackConnection {
 public:
  LoopbackConnection(SOCKET socket, const std::atomic<bool>& stopping, std::mutex& mutex,
                     std::condition_variable& wake)
      : socket_(socket), stopping_(stopping), mutex_(mutex), wake_(wake) {}

  // False when the peer has gone or the server is stopping.
  bool send(std::string_view bytes);
  // Sends in pieces with a pause after each.
  bool send_slowly(std::string_view bytes, size_t piece_size, unsigned pause_ms);
  // False when the server began stopping during the pause.
  bool pause(unsigned milliseconds);
  // Answers nothing until the peer goes, the server stops, or the bound ends.
  void hold(unsigned max_milliseconds = 60000);
  // Ends the connection once the responder returns.
  void close() { closing_ = true; }
  bool closing() const { return closing_; }

 private:
  SOCKET socket_;
  const std::atomic<bool>& stopping_;
  std::mutex& mutex_;
  std::condition_variable& wake_;
  bool closing_ = false;
};

using Responder = std::function<void(const RecordedRequest&, LoopbackConnection&)>;

class LoopbackServer {
 public:
  explicit LoopbackServer(Responder responder);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool listening() const { return listener_ != INVALID_SOCKET; }
  std::uint16_t port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by the path.
  std::string url(std::string_view path = "/") const;
  std::vector<RecordedRequest> requests() const;
  size_t request_count() const;
  // Ends every connection and waits for the server's threads.
  void stop();

 private:
  void accept_loop();
  void serve(SOCKET socket);

  Responder responder_;
  bool winsock_started_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<RecordedRequest> requests_;
  std::vector<SOCKET> open_sockets_;
  std::vector<std::thread> connection_threads_;
  std::thread accept_thread_;
};

// Replies for responders.
// A reply with a Content-Length; `headers` are extra lines, each ending in "\r\n".
std::string reply_with_length(std::string_view body, std::string_view headers = "",
                              std::string_view status = "200 OK");
// A chunked reply, one chunk per piece.
std::string reply_chunked(const std::vector<std::string>& pieces, std::string_view headers = "");
// A reply without length, its body ended by closing the connection.
std::string reply_until_close(std::string_view body, std::string_view headers = "");

// Responders.
Responder answer_with(std::string reply);  // the same reply to every request
Responder answer_and_close(std::string reply);
Responder answer_nothing(unsigned max_milliseconds = 60000);
// Sends the head, then body bytes without end until the peer stops taking
// them (bounded in bytes and time).
Responder answer_endlessly(std::string head);

}  // namespace velmo::test
