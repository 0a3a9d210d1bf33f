#pragma once
// Character-aware helpers for GBK texts. A double-byte character is a lead
// byte 0x81..0xFE followed by a trail byte 0x40..0x7E or 0x80..0xFE; the trail
// byte may look like ASCII ("\", "{", "}"), so searches that must not cut a
// character in two start only at character boundaries.
#include <string>
#include <string_view>

namespace velmo {

// A text ends at its first zero byte, as the system's NUL-terminated texts do.
std::string_view text_before_nul(std::string_view bytes);

// Bytes of the character that starts at `pos` (1 or 2).
size_t gbk_character_length(std::string_view text, size_t pos);

// Every occurrence of `from` (whole characters) that starts at a character
// boundary is replaced by `to`, left to right, without overlaps.
std::string replace_all_characters(std::string_view text, std::string_view from,
                                   std::string_view to);

}  // namespace velmo
