#include "net/reply_length.h"

#include "net/text_pieces.h"
#include "util/text_search.h"

namespace velmo {
namespace {

constexpr std::string_view length_key = "content-length:";

std::optional<std::int64_t> parse_count(std::string_view text) {
  const std::string digits = trim_spaces(text);
  if (digits.empty() || digits.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<std::int64_t> declared_content_length(std::string_view raw_headers) {
  for (const std::string& line : split_text(raw_headers, "\r\n")) {
    if (ascii_lower(line.substr(0, length_key.size())) == length_key) {
      return parse_count(std::string_view(line).substr(length_key.size()));
    }
  }
  return std::nullopt;
}

bool reply_body_complete(std::string_view raw_headers, bool head_request, int status,
                         std::int64_t received) {
  if (head_request || (status >= 100 && status < 200) || status == 204 || status == 304) {
    return true;
  }
  const std::optional<std::int64_t> declared = declared_content_length(raw_headers);
  return !declared || received >= *declared;
}

}  // namespace velmo
