// The GBK table of the Windows builds: code page 936 of the system.
#include <windows.h>

#include "util/code_page_platform.h"

namespace velmo::platform {
namespace {

constexpr UINT gbk = 936;

// Converts strictly; false when a character is not in the table.
bool strict_to_wide(std::string_view chars, std::u16string& out) {
  const int length = static_cast<int>(chars.size());
  const int units =
      MultiByteToWideChar(gbk, MB_ERR_INVALID_CHARS, chars.data(), length, nullptr, 0);
  if (units <= 0) return false;
  const size_t old_size = out.size();
  out.resize(old_size + static_cast<size_t>(units));
  MultiByteToWideChar(gbk, MB_ERR_INVALID_CHARS, chars.data(), length,
                      reinterpret_cast<wchar_t*>(out.data() + old_size), units);
  return true;
}

// One character at a time, so that each one the table lacks becomes U+FFFD.
std::u16string each_to_wide(std::string_view chars) {
  std::u16string wide;
  wide.reserve(chars.size());
  for (size_t i = 0; i < chars.size();) {
    const auto byte = static_cast<unsigned char>(chars[i]);
    const size_t length = byte >= 0x81 && byte <= 0xFE && i + 1 < chars.size() ? 2 : 1;
    if (!strict_to_wide(chars.substr(i, length), wide)) wide.push_back(u'\xFFFD');
    i += length;
  }
  return wide;
}

}  // namespace

std::u16string gbk_chars_to_wide(std::string_view chars) {
  std::u16string wide;
  if (chars.empty() || strict_to_wide(chars, wide)) return wide;
  return each_to_wide(chars);
}

std::string wide_to_gbk_chars(std::u16string_view units) {
  if (units.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
  const int length = static_cast<int>(units.size());
  // No best fit: a character GBK lacks becomes "?", not a look-alike such as
  // "|" for U+00A6.
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int size = WideCharToMultiByte(gbk, flags, wide, length, nullptr, 0, "?", nullptr);
  if (size <= 0) return std::string(units.size(), '?');
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(gbk, flags, wide, length, bytes.data(), size, "?", nullptr);
  return bytes;
}

}  // namespace velmo::platform
