#include "server/http_server.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "server/request_head.h"

namespace velmo::server {
namespace {

namespace net = boost::asio;
namespace beast = boost::beast;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

constexpr size_t header_limit = 16 * 1024;
constexpr size_t head_read_size = 4096;
constexpr size_t file_chunk_size = 64 * 1024;
constexpr size_t large_read = 1024 * 1024;
constexpr size_t linger_limit = 4 * 1024 * 1024;
constexpr std::chrono::seconds linger_time{2};

class Session;

struct SharedState {
  SharedState(const Router& r, AccessLog& l, HttpLimits h) : router(r), log(l), limits(h) {}

  const Router& router;
  AccessLog& log;
  HttpLimits limits;
  std::atomic<bool> stopping{false};
  std::mutex mutex;
  std::unordered_map<const Session*, std::weak_ptr<Session>> sessions;

  size_t session_count() {
    std::lock_guard<std::mutex> lock(mutex);
    return sessions.size();
  }
};

std::string route_of(beast::string_view target) {
  const std::string_view text(target.data(), target.size());
  return std::string(text.substr(0, text.find('?')));
}

class Session : public std::enable_shared_from_this<Session> {
 public:
  Session(tcp::socket socket, SharedState& state) : stream_(std::move(socket)), state_(state) {
    beast::error_code ec;
    const tcp::endpoint peer = stream_.socket().remote_endpoint(ec);
    remote_ = ec ? "-" : peer.address().to_string();
    stream_.socket().set_option(tcp::no_delay(true), ec);
  }

  ~Session() {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.sessions.erase(this);
  }

  void start() {
    {
      std::lock_guard<std::mutex> lock(state_.mutex);
      state_.sessions.emplace(this, weak_from_this());
    }
    net::dispatch(stream_.get_executor(),
                  beast::bind_front_handler(&Session::read_head, shared_from_this()));
  }

  void close_if_idle() {
    net::post(stream_.get_executor(), [self = shared_from_this()] {
      if (self->idle_) self->stream_.socket().close();
    });
  }

 private:
  void read_head() {
    if (state_.stopping) return close();
    parser_.emplace();
    parser_->header_limit(header_limit);
    parser_->body_limit(state_.limits.max_body_bytes);
    record_ = AccessRecord{};
    record_.remote = remote_;
    idle_ = buffer_.size() == 0;
    stream_.expires_after(state_.limits.request_timeout);
    continue_head();
  }

  std::string_view received() const {
    return {static_cast<const char*>(buffer_.data().data()), buffer_.size()};
  }

  // Collects the head itself, so that malformed header lines can be dropped
  // before the parser sees them.
  void continue_head() {
    const size_t end = head_end(received());
    if (end != std::string_view::npos) return parse_head(end);
    if (buffer_.size() >= header_limit) {
      idle_ = false;
      started_ = Clock::now();
      return reject(http::status::request_header_fields_too_large);
    }
    stream_.async_read_some(buffer_.prepare(head_read_size), [self = shared_from_this()](
                                                                 beast::error_code ec, size_t n) {
      self->buffer_.commit(n);
      if (ec) {
        self->idle_ = false;
        self->started_ = Clock::now();
        return self->fail_read(ec == net::error::eof && self->buffer_.size() == 0
                                   ? beast::error_code(http::error::end_of_stream)
                                   : ec,
                               false);
      }
      self->idle_ = false;
      self->continue_head();
    });
  }

  void parse_head(size_t end) {
    const std::string head = drop_malformed_header_lines(received().substr(0, end));
    buffer_.consume(end);
    beast::error_code ec;
    parser_->put(net::buffer(head), ec);
    if (!ec && !parser_->is_header_done()) ec = http::error::partial_message;
    on_head(ec, head.size());
  }

  void on_head(beast::error_code ec, size_t) {
    idle_ = false;
    started_ = Clock::now();
    if (ec == http::error::partial_message) return reject(http::status::bad_request);
    if (ec) return fail_read(ec, false);
    const auto& header = parser_->get();
    record_.method = std::string(header.method_string());
    record_.route = route_of(header.target());
    const auto length = parser_->content_length();
    if (length && *length > state_.limits.max_body_bytes) {
      return reject(http::status::payload_too_large);
    }
    if (parser_->is_done()) return respond();
    // Beast reads as much as the buffer can take: room for the body (up to a
    // cap) turns a large check into a few reads instead of one per 512 bytes.
    buffer_.reserve(std::min<size_t>(length.value_or(large_read), large_read));
    http::async_read(stream_, buffer_, *parser_,
                     beast::bind_front_handler(&Session::on_body, shared_from_this()));
  }

  void on_body(beast::error_code ec, size_t) {
    if (ec) return fail_read(ec, true);
    respond();
  }

  void fail_read(beast::error_code ec, bool head_read) {
    if (ec == http::error::body_limit) return reject(http::status::payload_too_large);
    if (ec == http::error::header_limit)
      return reject(http::status::request_header_fields_too_large);
    if (ec == beast::error::timeout && head_read) {
      // Too slow to send its body: the stream is closed already.
      record_.status = 408;
      return log_exchange();
    }
    const bool closed_or_slow = ec == http::error::end_of_stream ||
                                ec == http::error::partial_message || ec == beast::error::timeout ||
                                ec == net::error::eof || ec == net::error::operation_aborted ||
                                ec == net::error::connection_reset ||
                                ec == net::error::bad_descriptor;
    if (closed_or_slow) return close();
    reject(http::status::bad_request);
  }

  void respond() {
    reply_ = state_.router.route(parser_->get());
    record_.key = reply_.key_seen;
    keep_alive_ = reply_.head.keep_alive() && !state_.stopping;
    reply_.head.keep_alive(keep_alive_);
    write_head();
  }

  // An error reply after which the connection ends; what the client still
  // sends is drained for a moment so that it can read the reply.
  void reject(http::status status) {
    reply_ = Reply{};
    reply_.head = error_response(status, 11, false);
    keep_alive_ = false;
    linger_ = true;
    write_head();
  }

  void write_head() {
    stream_.expires_after(state_.limits.send_timeout);
    http::async_write(stream_, reply_.head,
                      beast::bind_front_handler(&Session::on_written, shared_from_this()));
  }

  void on_written(beast::error_code ec, size_t bytes) {
    record_.bytes_sent += bytes;
    if (ec) return abandon();
    if (!reply_.file.is_open() || file_offset_ >= reply_.file_size) return finish_exchange();
    send_file_chunk();
  }

  void send_file_chunk() {
    chunk_.resize(file_chunk_size);
    const uint64_t left = reply_.file_size - file_offset_;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(left, chunk_.size()));
    const ssize_t got =
        ::pread(reply_.file.get(), chunk_.data(), wanted, static_cast<off_t>(file_offset_));
    // A file that shrank under us cannot keep its Content-Length: end the connection.
    if (got <= 0) return abandon();
    file_offset_ += static_cast<uint64_t>(got);
    stream_.expires_after(state_.limits.send_timeout);
    net::async_write(stream_, net::buffer(chunk_.data(), static_cast<size_t>(got)),
                     beast::bind_front_handler(&Session::on_written, shared_from_this()));
  }

  void finish_exchange() {
    log_exchange();
    reply_ = Reply{};
    file_offset_ = 0;
    if (buffer_.size() == 0) buffer_.shrink_to_fit();  // an idle connection keeps no large buffer
    if (keep_alive_ && !state_.stopping) return read_head();
    if (linger_) return linger();
    close();
  }

  void abandon() {
    log_exchange();
    stream_.close();
  }

  void log_exchange() {
    if (record_.status == 0) record_.status = reply_.head.result_int();
    record_.elapsed = Clock::now() - started_;
    state_.log.write(record_);
  }

  void linger() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    chunk_.resize(file_chunk_size);
    stream_.expires_after(linger_time);
    drain();
  }

  void drain() {
    stream_.async_read_some(net::buffer(chunk_),
                            [self = shared_from_this()](beast::error_code ec, size_t bytes) {
                              self->drained_ += bytes;
                              if (ec || self->drained_ > linger_limit) return self->stream_.close();
                              self->drain();
                            });
  }

  void close() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ec);
    stream_.close();
  }

  beast::tcp_stream stream_;
  SharedState& state_;
  std::string remote_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  bool idle_ = false;
  bool keep_alive_ = false;
  bool linger_ = false;
  Clock::time_point started_ = Clock::now();
  AccessRecord record_;
  Reply reply_;
  uint64_t file_offset_ = 0;
  size_t drained_ = 0;
  std::vector<char> chunk_;
};

}  // namespace

struct HttpServer::Impl {
  Impl(const Router& router, AccessLog& log, HttpLimits limits)
      : state(router, log, limits),
        control(net::make_strand(io)),
        acceptor(control),
        retry(control),
        drain_timer(control) {}

  void accept() {
    acceptor.async_accept(net::make_strand(io), [this](beast::error_code ec, tcp::socket socket) {
      if (!acceptor.is_open() || state.stopping) return;
      if (ec) {
        // Out of descriptors, most likely: try again shortly instead of spinning.
        log_event("accept failed: " + ec.message());
        retry.expires_after(std::chrono::milliseconds(100));
        retry.async_wait([this](beast::error_code) { accept(); });
        return;
      }
      std::make_shared<Session>(std::move(socket), state)->start();
      accept();
    });
  }

  void begin_stop() {
    if (state.stopping.exchange(true)) return;
    beast::error_code ec;
    acceptor.close(ec);
    retry.cancel();
    std::vector<std::shared_ptr<Session>> open;
    {
      std::lock_guard<std::mutex> lock(state.mutex);
      for (auto& entry : state.sessions) {
        if (auto session = entry.second.lock()) open.push_back(std::move(session));
      }
    }
    for (auto& session : open) session->close_if_idle();
    open.clear();
    stop_deadline = Clock::now() + state.limits.stop_grace;
    wait_for_sessions();
  }

  void wait_for_sessions() {
    if (state.session_count() == 0 || Clock::now() >= stop_deadline) return io.stop();
    drain_timer.expires_after(std::chrono::milliseconds(50));
    drain_timer.async_wait([this](beast::error_code) { wait_for_sessions(); });
  }

  net::io_context io;
  SharedState state;
  // Accepting and stopping share one strand, so that a stop never races an accept.
  net::strand<net::io_context::executor_type> control;
  tcp::acceptor acceptor;
  net::steady_timer retry;
  net::steady_timer drain_timer;
  Clock::time_point stop_deadline;
};

HttpServer::HttpServer(const Router& router, AccessLog& log, HttpLimits limits)
    : impl_(std::make_unique<Impl>(router, log, limits)) {}

HttpServer::~HttpServer() = default;

std::string HttpServer::bind(const std::string& address, uint16_t port) {
  beast::error_code ec;
  const net::ip::address ip = net::ip::make_address(address, ec);
  if (ec) return "listen address " + address + " is not an IP address";
  const tcp::endpoint endpoint(ip, port);
  tcp::acceptor& acceptor = impl_->acceptor;
  acceptor.open(endpoint.protocol(), ec);
  if (!ec) acceptor.set_option(net::socket_base::reuse_address(true), ec);
  if (!ec) acceptor.bind(endpoint, ec);
  if (!ec) acceptor.listen(net::socket_base::max_listen_connections, ec);
  if (ec) return "cannot listen on " + address + ":" + std::to_string(port) + ": " + ec.message();
  return {};
}

uint16_t HttpServer::port() const {
  beast::error_code ec;
  return impl_->acceptor.local_endpoint(ec).port();
}

void HttpServer::run(unsigned threads) {
  net::post(impl_->control, [this] { impl_->accept(); });
  std::vector<std::thread> helpers;
  for (unsigned i = 1; i < threads; ++i) helpers.emplace_back([this] { impl_->io.run(); });
  impl_->io.run();
  for (std::thread& helper : helpers) helper.join();
}

void HttpServer::stop() {
  net::post(impl_->control, [this] { impl_->begin_stop(); });
}

net::io_context& HttpServer::io() { return impl_->io; }

}  // namespace velmo::server
