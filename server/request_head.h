#pragma once
// Request heads as clients really send them. The updater's download adds a
// header line "Referer=/:" (a name that is not an HTTP token); a strict parser
// would refuse the whole request, so such lines are dropped first, as nginx
// does with its default ignore_invalid_headers.
#include <string>
#include <string_view>

namespace velmo::server {

// The position just after the "\r\n\r\n" that ends a request head, or npos.
size_t head_end(std::string_view received);

// `head` up to and including its terminating empty line; the request line and
// every well-formed "name: value" line are kept, other lines are dropped.
std::string drop_malformed_header_lines(std::string_view head);

}  // namespace velmo::server
