#include "server/logging.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace velmo::server {
namespace {

void write_all(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote <= 0) return;
    done += static_cast<size_t>(wrote);
  }
}

int open_target(const std::string& target) {
  if (target == "off") return -1;
  if (target == "-") return ::dup(STDERR_FILENO);
  return ::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}

}  // namespace

std::string utc_timestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm parts{};
  ::gmtime_r(&seconds, &parts);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                static_cast<int>(millis));
  return text;
}

void log_event(std::string_view text) {
  write_all(STDERR_FILENO, utc_timestamp() + " update-server: " + std::string(text) + "\n");
}

std::string masked_key(std::string_view key) {
  if (key.size() >= 12)
    return std::string(key.substr(0, 4)) + "..." + std::string(key.substr(key.size() - 4));
  if (key.size() >= 4) return std::string(key.substr(0, 2)) + "...";
  return "...";
}

std::string log_safe(std::string_view text, size_t limit) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (char c : text.substr(0, limit)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F && byte != '\\') {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(hex[byte >> 4]);
      out.push_back(hex[byte & 0xF]);
    }
  }
  if (text.size() > limit) out += "...";
  return out;
}

std::string format_access_line(const AccessRecord& record) {
  const double millis = std::chrono::duration<double, std::milli>(record.elapsed).count();
  char figures[80];
  std::snprintf(figures, sizeof figures, " %u %llu %.3fms", record.status,
                static_cast<unsigned long long>(record.bytes_sent), millis);
  std::string line = utc_timestamp() + " " + log_safe(record.remote) + " " +
                     log_safe(record.method.empty() ? "-" : record.method, 16) + " " +
                     log_safe(record.route.empty() ? "-" : record.route) + figures;
  line += record.key.empty() ? " key=-" : " key=" + log_safe(masked_key(record.key));
  line.push_back('\n');
  return line;
}

AccessLog::AccessLog(std::string target) : target_(std::move(target)), fd_(open_target(target_)) {}

AccessLog::~AccessLog() {
  if (fd_ >= 0) ::close(fd_);
}

void AccessLog::write(const AccessRecord& record) {
  if (fd_ >= 0) write_all(fd_, format_access_line(record));
}

void AccessLog::reopen() {
  if (target_ == "-" || target_ == "off") return;
  std::lock_guard<std::mutex> lock(reopen_mutex_);
  const int fresh = open_target(target_);
  if (fresh < 0) return;
  // dup2 swaps the file under concurrent writers without a moment of no log.
  ::dup2(fresh, fd_);
  ::close(fresh);
}

}  // namespace velmo::server
