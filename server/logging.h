#pragma once
// The server's two outputs besides its replies: events (start, rebuilds,
// warnings) on standard error, and one access-log line per request.
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>

namespace velmo::server {

// "2024-05-01T12:00:00.123Z" for the current time.
std::string utc_timestamp();

void log_event(std::string_view text);

// A key shown only in part: its first four and last four characters of a long
// key, its first two of a short one, so that a log never holds a whole key.
std::string masked_key(std::string_view key);

// Printable ASCII stays; anything else (and a blank) becomes \xHH, so that a
// client cannot forge or break log lines. Long texts are cut.
std::string log_safe(std::string_view text, size_t limit = 256);

struct AccessRecord {
  std::string remote;
  std::string method;
  std::string route;  // the target path without its query, which may hold a key
  unsigned status = 0;
  uint64_t bytes_sent = 0;
  std::chrono::steady_clock::duration elapsed{};
  std::string key;  // empty when the request named none
};

std::string format_access_line(const AccessRecord& record);

class AccessLog {
 public:
  // "-": standard error; "off": nothing; otherwise a file, appended to.
  explicit AccessLog(std::string target);
  ~AccessLog();
  AccessLog(const AccessLog&) = delete;
  AccessLog& operator=(const AccessLog&) = delete;

  bool ok() const { return fd_ >= 0 || target_ == "off"; }
  void write(const AccessRecord& record);
  void reopen();  // after the file was rotated away

 private:
  std::string target_;
  std::mutex reopen_mutex_;
  int fd_ = -1;
};

}  // namespace velmo::server
