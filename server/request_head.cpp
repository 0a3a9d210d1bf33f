#include "server/request_head.h"

namespace velmo::server {
namespace {

// RFC 9110 token characters.
bool is_token_character(char c) {
  const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  return alnum || std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool is_header_line(std::string_view line) {
  const size_t colon = line.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  for (char c : line.substr(0, colon)) {
    if (!is_token_character(c)) return false;
  }
  return true;
}

}  // namespace

size_t head_end(std::string_view received) {
  const size_t at = received.find("\r\n\r\n");
  return at == std::string_view::npos ? at : at + 4;
}

std::string drop_malformed_header_lines(std::string_view head) {
  std::string kept;
  size_t start = 0;
  bool first = true;
  while (start < head.size()) {
    size_t end = head.find("\r\n", start);
    if (end == std::string_view::npos) end = head.size();
    const std::string_view line = head.substr(start, end - start);
    if (first || line.empty() || is_header_line(line)) {
      kept.append(line);
      kept.append("\r\n");
    }
    first = false;
    start = end + 2;
  }
  return kept;
}

}  // namespace velmo::server
