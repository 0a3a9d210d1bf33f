// What a server's response headers and cookies go through in the HTTP
// clients: the header queries, the Set-Cookie handling and merging of the
// web request, the length checks, and the URL parts of a redirect target.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/cookie_merge.h"
#include "net/header_block.h"
#include "net/raw_header_queries.h"
#include "net/reply_length.h"
#include "net/request_headers.h"
#include "net/url_parts.h"
#include "net/web_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The input is the raw headers, then after the first zero byte a name.
  const size_t zero = input.find('\0');
  const std::string_view headers = input.substr(0, zero);
  const std::string_view name = zero == std::string_view::npos ? "" : input.substr(zero + 1);

  velmo::WebRequest request;
  request.cookies = std::string(name);
  velmo::store_response(request, headers, 200);
  std::string cookies(headers);
  velmo::merge_cookies(cookies, name);

  velmo::raw_header_value(headers, name);
  velmo::raw_header_location(headers);
  velmo::raw_header_cookie(headers, name, size % 2 == 0, static_cast<int>(size % 7) - 2);
  velmo::byte_count(velmo::header_number(velmo::raw_header_value(headers, "Content-Length")));
  velmo::reply_body_complete(headers, false, 200, static_cast<std::int64_t>(size));
  velmo::header_block_fields(headers);
  velmo::request_header_fields(headers);
  velmo::complete_request_headers(headers, name, 1);

  const std::string location = velmo::raw_header_location(headers);
  velmo::url_host(location, true);
  velmo::url_port(location);
  velmo::url_path(location);
  return 0;
}
