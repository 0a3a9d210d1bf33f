#include "net/request_headers.h"

#include <climits>
#include <iterator>

#include "net/text_pieces.h"

namespace velmo {
namespace {

constexpr std::string_view method_names[] = {"GET",     "POST",   "HEAD",  "PUT",
                                             "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int method_count = static_cast<int>(std::size(method_names));
constexpr int default_timeout_ms = 15000;

void append_when_missing(std::string& headers, std::string_view key, std::string_view line) {
  if (headers.find(key) == std::string::npos) headers.append("\r\n").append(line);
}

}  // namespace

int request_method_index(int method) { return method >= 0 && method < method_count ? method : 0; }

std::string_view request_method_name(int method) {
  return method_names[request_method_index(method)];
}

std::optional<int> request_timeout_ms(int timeout_seconds) {
  if (timeout_seconds == -1) return std::nullopt;
  if (timeout_seconds <= 0) return default_timeout_ms;
  if (timeout_seconds > INT_MAX / 1000) return INT_MAX;
  return timeout_seconds * 1000;
}

std::string complete_request_headers(std::string_view headers, std::string_view url, int method) {
  std::string completed(headers);
  if (completed.empty()) {
    completed = "Accept: */*";
  } else {
    append_when_missing(completed, "Accept:", "Accept: */*");
  }
  append_when_missing(completed, "Referer:", "Referer: " + std::string(url));
  append_when_missing(completed, "Accept-Language:", "Accept-Language: zh-cn");
  append_when_missing(
      completed, "User-Agent:", "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
  if (request_method_index(method) == method_post) {
    append_when_missing(completed,
                        "Content-Type:", "Content-Type: application/x-www-form-urlencoded");
  }
  return completed;
}

std::string header_line_name(std::string_view line) {
  const size_t colon = line.find(':');
  return colon == std::string_view::npos ? std::string() : trim_spaces(line.substr(0, colon));
}

std::string header_line_value(std::string_view line) {
  const size_t colon = line.find(':');
  return colon == std::string_view::npos ? std::string() : trim_spaces(line.substr(colon + 1));
}

std::vector<HeaderField> request_header_fields(std::string_view headers) {
  std::vector<HeaderField> fields;
  for (const std::string& line : split_text(headers, "\r\n")) {
    HeaderField field{header_line_name(line), header_line_value(line)};
    if (!field.name.empty()) fields.push_back(std::move(field));
  }
  return fields;
}

}  // namespace velmo
