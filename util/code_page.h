#pragma once
// The one platform service that the portable core needs: conversion between
// bytes in a code page and wide (UTF-16) text. Both builds give the same
// result for every input, valid or not:
// - UTF-8 is converted by our own code (util/utf8.h).
// - GBK goes through the platform's code-page table (MultiByteToWideChar and
//   WideCharToMultiByte on Windows, iconv natively) for whole characters only;
//   splitting the bytes into characters, the replacements and the private-use
//   area are handled here, identically for both.
#include <string>
#include <string_view>

namespace velmo {

inline constexpr unsigned code_page_ansi = 0;  // the system's ANSI code page: GBK
inline constexpr unsigned code_page_gbk = 936;
inline constexpr unsigned code_page_utf8 = 65001;

// Bytes to UTF-16. Code page 65001 is UTF-8; every other code page is GBK
// (the system's only ANSI code page). Zero bytes are converted like any other.
// Invalid GBK: a byte that starts no character (0xFF, or a lead byte without
// its trail byte) becomes U+FFFD on its own, so the byte after it is read as
// a character of its own; a well-formed double-byte code that the table lacks,
// user-defined codes included, becomes one U+FFFD.
std::u16string bytes_to_wide(std::string_view bytes, unsigned code_page);

// UTF-16 to bytes. Towards GBK, every character that GBK lacks becomes "?"
// (one "?" for a surrogate pair, one for a lone surrogate, one for a
// private-use character), never a look-alike ("best fit") character.
// Towards UTF-8, a lone surrogate becomes U+FFFD.
std::string wide_to_bytes(std::u16string_view wide, unsigned code_page);

}  // namespace velmo
