#pragma once
// Percent-encoding as the update server needs it: strict decoding of what
// clients send, and encoding of the URL paths that it hands out.
#include <optional>
#include <string>
#include <string_view>

namespace velmo::server {

// Decodes every %XX (either case of hex digit). A "%" that is not followed by
// two hexadecimal digits makes the whole text unreadable: nullopt. A plus sign
// stays a plus sign, as the updater never sends form-encoded blanks.
std::optional<std::string> percent_decode(std::string_view text);

// Encodes one path segment for a URL: ASCII letters, digits and "-._~" stay,
// every other byte becomes %XX with upper-case digits.
std::string percent_encode_segment(std::string_view segment);

// Encodes a "/"-separated relative path segment by segment; the separators stay.
std::string percent_encode_path(std::string_view path);

}  // namespace velmo::server
