#pragma once
// The response side of the one-call web request: the header text that the
// caller gets back and the cookies that the response set.
#include <string>
#include <string_view>

namespace velmo {

// The response header text without its status line ("HTTP/1.1 200 OK"),
// as a caller of the web request gets it.
std::string headers_after_status_line(std::string_view raw_headers);

// Every "Set-Cookie", in any mix of letter case, spelled "Set-Cookie".
std::string canonical_set_cookie_names(std::string_view headers);

// The cookies that the Set-Cookie lines of `headers` set, joined by "; ":
// of a line with attributes the text between "Set-Cookie:" and the first
// ";", otherwise the line without its "Set-Cookie:"; each trimmed.
std::string response_cookies_from_headers(std::string_view headers);

}  // namespace velmo
