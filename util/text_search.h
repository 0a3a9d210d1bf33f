#pragma once
// Byte-wise text helpers shared by several subsystems. Texts are GBK bytes;
// positions and lengths count bytes.
#include <string>
#include <string_view>

namespace velmo {

// Position of the last backslash that is a character of its own: a GBK trail
// byte may be 0x5C, so the text is walked character by character. npos when
// there is none.
size_t last_path_separator(std::string_view gbk_path);

// Lowers the ASCII letters A to Z only; other bytes stay as they are, and so
// do both bytes of a GBK double-byte character, even an ASCII-looking trail byte.
std::string ascii_lower(std::string_view text);

}  // namespace velmo
