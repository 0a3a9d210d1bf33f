#pragma once
// Texts crossing between the system's GBK texts and a JSON document's UTF-16
// strings, converted with code page 936 as a COM boundary converts them. A
// text ends at its first NUL on either side, as the system's texts do.
#include <string>
#include <string_view>

namespace velmo {

std::u16string gbk_to_engine(std::string_view gbk);
std::string engine_to_gbk(std::u16string_view wide);

}  // namespace velmo
