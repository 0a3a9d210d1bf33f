#pragma once
// UTF-8 <-> UTF-16 in our own code, so that every platform replaces invalid
// input the same way: each maximal invalid subsequence of UTF-8 becomes one
// U+FFFD, and a lone surrogate becomes the UTF-8 of U+FFFD.
#include <string>
#include <string_view>

namespace velmo {

std::u16string utf8_to_utf16(std::string_view bytes);

std::string utf16_to_utf8(std::u16string_view units);

}  // namespace velmo
