#pragma once
// Minimal UTF-8 reading for texts that vendors put into files.
#include <string>
#include <string_view>

namespace velmo::server {

inline constexpr char32_t replacement_character = 0xFFFD;

// Reads the code point at `pos` and advances `pos` past it. A malformed or
// overlong sequence, a surrogate or a value beyond U+10FFFF gives U+FFFD and
// advances by one byte.
char32_t next_code_point(std::string_view text, size_t& pos);

bool is_valid_utf8(std::string_view text);

// Lowers ASCII A to Z; every other byte, UTF-8 sequences included, stays.
std::string ascii_lower_utf8(std::string_view text);

}  // namespace velmo::server
