#pragma once
// Texts for WinHttp: UTF-16 from code page 936, whatever the system's own
// ANSI code page is; an empty text reaches WinHttp as a null pointer.
#include <string>
#include <string_view>

#include "util/wide_text_win32.h"

namespace velmo {

inline std::wstring to_wide(std::string_view gbk) { return gbk_to_wstring(gbk); }

inline const wchar_t* wide_or_null(const std::wstring& wide) {
  return wide.empty() ? nullptr : wide.c_str();
}

}  // namespace velmo
