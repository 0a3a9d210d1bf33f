#include "net/url_parts.h"

#include "net/text_pieces.h"
#include "util/text_search.h"

namespace velmo {
namespace {

constexpr int highest_port = 65535;

size_t host_start(std::string_view lowered_url) {
  if (lowered_url.substr(0, 7) == "http://") return 7;
  if (lowered_url.substr(0, 8) == "https://") return 8;
  return 0;
}

int parse_port(std::string_view digits) {
  int port = 0;
  size_t count = 0;
  for (; count < digits.size() && digits[count] >= '0' && digits[count] <= '9'; ++count) {
    port = port * 10 + (digits[count] - '0');
    if (port > highest_port) return 0;
  }
  return count == 0 ? 0 : port;
}

}  // namespace

bool url_is_secure(std::string_view url) { return ascii_lower(url.substr(0, 5)) == "https"; }

std::string url_host(std::string_view url, bool keep_port) {
  const std::string lowered = ascii_lower(url);
  const size_t start = host_start(lowered);
  std::string host = lowered.substr(start, lowered.find('/', start) - start);
  if (!keep_port) host = host.substr(0, host.find(':'));
  return host;
}

int url_port(std::string_view url) {
  const std::string host = url_host(url, true);
  const size_t colon = host.find(':');
  if (colon == std::string::npos) return url_is_secure(url) ? 443 : 80;
  return parse_port(std::string_view(host).substr(colon + 1));
}

std::string url_path(std::string_view url) {
  // The host is looked for where it starts, not from the beginning of the
  // URL: a host such as "t" or "ps" also occurs inside the scheme.
  const size_t start = host_start(ascii_lower(url));
  const size_t host = find_text(url, url_host(url), start, true);
  const size_t slash = url.find('/', host == std::string_view::npos ? start : host);
  return slash == std::string_view::npos ? std::string("/") : std::string(url.substr(slash));
}

}  // namespace velmo
