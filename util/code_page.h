#pragma once
// The one platform service that the portable core needs: conversion between
// bytes in a code page and wide (UTF-16) text. Windows implements it with
// MultiByteToWideChar/WideCharToMultiByte, the native build with iconv; both
// must give the same bytes.
#include <string>
#include <string_view>

namespace velmo {

inline constexpr unsigned code_page_gbk = 936;
inline constexpr unsigned code_page_utf8 = 65001;

// Bytes that are not valid in the code page are replaced, never dropped
// silently; both implementations must agree on the replacement.
std::u16string bytes_to_wide(std::string_view bytes, unsigned code_page);

// Characters that the code page cannot hold become "?".
std::string wide_to_bytes(std::u16string_view wide, unsigned code_page);

}  // namespace velmo
