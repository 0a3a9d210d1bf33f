#include "net/web_request.h"

#include <climits>

#include "net/cookie_merge.h"
#include "net/request_headers.h"
#include "net/response_cookies.h"

namespace velmo {

std::string_view request_body(const WebRequest& request) {
  return request.body_bytes.empty() ? request.body_text : request.body_bytes;
}

std::string proxy_credentials(const WebRequest& request) {
  if (request.proxy.empty() || request.proxy_user.empty() || request.proxy_auth != 1) return {};
  return request.proxy_user + ":" + request.proxy_password;
}

std::optional<int> reply_deadline_ms(const WebRequest& request) {
  const std::optional<int> timeout = request_timeout_ms(request.timeout_seconds);
  if (!timeout) return std::nullopt;
  return *timeout > INT_MAX / 4 ? INT_MAX : *timeout * 4;
}

void store_response(WebRequest& request, std::string_view raw_headers, int status) {
  request.response_headers = canonical_set_cookie_names(headers_after_status_line(raw_headers));
  request.status = status;
  request.response_cookies = response_cookies_from_headers(request.response_headers);
  if (request.auto_merge && request.cookies) {
    request.response_cookies = merge_cookies(*request.cookies, request.response_cookies);
  }
}

}  // namespace velmo
