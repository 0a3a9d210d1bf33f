#pragma once
// Whether a response body arrived whole. WinHttp under Wine ends a body that
// the server cut short as if it were complete, so the received length is
// checked against the declared one.
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmo {

// The Content-Length of raw response headers ("\r\n"-separated, header
// names in any letter case); none when there is none or it is no number.
std::optional<std::int64_t> declared_content_length(std::string_view raw_headers);

// False when the response declares a length that the received body falls
// short of. Replies without a body (to HEAD, 1xx, 204, 304) are complete.
bool reply_body_complete(std::string_view raw_headers, bool head_request, int status,
                         std::int64_t received);

}  // namespace velmo
