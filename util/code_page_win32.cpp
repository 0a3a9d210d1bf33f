#include <windows.h>

#include "util/code_page.h"

namespace velmo {

std::u16string bytes_to_wide(std::string_view bytes, unsigned code_page) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(code_page, 0, bytes.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(wide.data()),
                      units);
  return wide;
}

std::string wide_to_bytes(std::u16string_view wide, unsigned code_page) {
  if (wide.empty()) return {};
  const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(code_page, 0, units, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(code_page, 0, units, length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace velmo
