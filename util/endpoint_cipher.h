#pragma once
// The server addresses are stored as hexadecimal digits of the address's
// bytes, each combined with a mask, followed by a nine-character check tag
// derived from the endpoint key (util/endpoint_key.h). A stored text made for
// another key is refused.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmo {

// The address, or the empty text when the tag does not fit the key.
std::string decipher_endpoint(std::string_view stored, std::string_view key);

// Only the last 16 characters count, the text being padded on the left with
// "0" to 16. Each character c is the digit c - '0' below "A", c - 'A' + 10
// below "a", c - 'a' + 10 otherwise, unchecked; the first eight digits give
// the high 32 bits, the last eight the low 32 bits (each half wraps).
std::uint64_t hex_value(std::string_view text);

// Two characters per byte from the first, an odd last one alone; each byte is
// the low eight bits of the piece's hex_value. Processes pending window
// messages after each byte (util/message_pump.h).
std::string hex_to_bytes(std::string_view text);

// Shared with the build tool that makes the stored texts.
inline constexpr std::size_t endpoint_tag_length = 9;
std::string endpoint_tag(std::string_view key);
unsigned char endpoint_mask();

}  // namespace velmo
