#pragma once
// Wide text for Windows API calls, converted from the system's GBK texts.
#include <string>
#include <string_view>

#include "util/code_page.h"

namespace velmo {

inline std::wstring gbk_to_wstring(std::string_view gbk) {
  const std::u16string wide = bytes_to_wide(gbk, code_page_gbk);
  return std::wstring(wide.begin(), wide.end());
}

inline std::string wstring_to_gbk(std::wstring_view wide) {
  return wide_to_bytes(std::u16string(wide.begin(), wide.end()), code_page_gbk);
}

}  // namespace velmo
