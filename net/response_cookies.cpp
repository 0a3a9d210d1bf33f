#include "net/response_cookies.h"

#include "net/text_pieces.h"

namespace velmo {
namespace {

constexpr std::string_view set_cookie = "Set-Cookie";
constexpr std::string_view cookie_separator = "; ";

std::string cookie_of_line(std::string_view line) {
  if (line.find(';') != std::string_view::npos) {
    return trim_spaces(text_between(line, "Set-Cookie:", ";"));
  }
  return trim_spaces(replace_all(line, "Set-Cookie:", "", true));
}

}  // namespace

std::string headers_after_status_line(std::string_view raw_headers) {
  const size_t line_end = raw_headers.find("\r\n");
  if (line_end == std::string_view::npos) return {};
  return std::string(raw_headers.substr(line_end + 2));
}

std::string canonical_set_cookie_names(std::string_view headers) {
  return replace_all(headers, set_cookie, set_cookie, true);
}

std::string response_cookies_from_headers(std::string_view headers) {
  std::string cookies;
  for (const std::string& line : split_text(headers, "\r\n")) {
    if (line.find(set_cookie) == std::string::npos) continue;
    cookies.append(cookie_of_line(line)).append(cookie_separator);
  }
  if (!cookies.empty()) cookies.resize(cookies.size() - cookie_separator.size());
  return cookies;
}

}  // namespace velmo
