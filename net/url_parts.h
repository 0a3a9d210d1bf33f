#pragma once
// Host, port and path of the URLs that the WinHttp client opens: "http://",
// "https://" or no scheme at all, then the host, an optional ":port" and the
// path with its query.
#include <string>
#include <string_view>

namespace velmo {

// Whether the first five characters, lower-cased, are "https".
bool url_is_secure(std::string_view url);

// The host, lower-cased: after the scheme, up to the first "/"; cut before
// its first ":" unless `keep_port`.
std::string url_host(std::string_view url, bool keep_port = false);

// The number after the host's ":", or 443 for https and 80 otherwise when
// there is none. 0 when the text after the ":" is not a port from 1 to
// 65535: such a URL names no port that can be connected to.
int url_port(std::string_view url);

// From the first "/" after the host to the end, query included and case
// unchanged; "/" when there is none.
std::string url_path(std::string_view url);

}  // namespace velmo
