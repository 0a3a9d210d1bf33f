#pragma once
// The HTTP/1.1 front of the server over Boost.Beast: keep-alive connections,
// a head size limit, a body limit answered with 413 before the body is read,
// a deadline for each request to arrive and for each write to progress, and a
// clean stop that lets the replies under way finish.
#include <boost/asio/io_context.hpp>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "server/logging.h"
#include "server/router.h"

namespace velmo::server {

struct HttpLimits {
  size_t max_body_bytes = 16 * 1024 * 1024;
  std::chrono::seconds request_timeout{20};
  std::chrono::seconds send_timeout{30};
  std::chrono::seconds stop_grace{10};  // how long a stop waits for replies under way
};

class HttpServer {
 public:
  HttpServer(const Router& router, AccessLog& log, HttpLimits limits);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds and listens; an error text, empty on success.
  std::string bind(const std::string& address, uint16_t port);
  uint16_t port() const;

  // Accepts and serves on `threads` threads until stop() has drained.
  void run(unsigned threads);

  // Safe from any thread: no new connections; idle ones are closed, busy ones
  // after their reply; run() returns when all are gone or the grace ends.
  void stop();

  boost::asio::io_context& io();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace velmo::server
