#pragma once
// The platform's GBK table, behind util/code_page.h. Implemented by
// code_page_win32.cpp and code_page_iconv.cpp; called by code_page.cpp only.
#include <string>
#include <string_view>

namespace velmo::platform {

// `chars` holds whole characters only: single bytes 0x00 to 0x80 and double
// bytes (lead 0x81..0xFE, trail 0x40..0x7E or 0x80..0xFE). The result has
// exactly one unit per character; a character that the table lacks gives
// U+FFFD.
std::u16string gbk_chars_to_wide(std::string_view chars);

// `units` holds no surrogates. A unit that the table lacks gives "?".
std::string wide_to_gbk_chars(std::u16string_view units);

}  // namespace velmo::platform
