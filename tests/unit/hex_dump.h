#pragma once
// Readable forms of byte strings and UTF-16 for test failure messages.
#include <cstdio>
#include <string>
#include <string_view>

namespace velmo::test {

inline std::string hex_dump(std::string_view bytes) {
  std::string out;
  char piece[4];
  for (const char c : bytes) {
    std::snprintf(piece, sizeof piece, "%02X ", static_cast<unsigned char>(c));
    out += piece;
  }
  return out;
}

inline std::string hex_dump(std::u16string_view units) {
  std::string out;
  char piece[6];
  for (const char16_t unit : units) {
    std::snprintf(piece, sizeof piece, "%04X ", static_cast<unsigned>(unit));
    out += piece;
  }
  return out;
}

}  // namespace velmo::test
