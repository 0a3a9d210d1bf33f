#include "util/code_page.h"

#include <algorithm>
#include <vector>

#include "util/code_page_platform.h"
#include "util/utf8.h"

namespace velmo {
namespace {

constexpr char16_t replacement_character = 0xFFFD;
// Bounds each call into the platform, whose interfaces count in int.
constexpr size_t chunk_size = size_t{1} << 20;

bool is_gbk_lead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool is_gbk_trail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }
bool is_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
// Windows maps GBK's user-defined codes into the private-use area; iconv
// knows none of them. Neither side uses them, so both treat them as absent.
bool is_private_use(char16_t unit) { return unit >= 0xE000 && unit <= 0xF8FF; }

// Splits `bytes` into whole characters for the table. A byte that starts no
// character is replaced by "?" and its character index recorded.
struct GbkCharacters {
  std::string chars;
  std::vector<size_t> invalid;  // indexes of characters that stand for a bad byte
  size_t count = 0;
};

GbkCharacters split_gbk(std::string_view bytes) {
  GbkCharacters split;
  split.chars.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++split.count) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (is_gbk_lead(byte) && i + 1 < bytes.size() &&
        is_gbk_trail(static_cast<unsigned char>(bytes[i + 1]))) {
      split.chars.append(bytes.substr(i, 2));
      i += 2;
      continue;
    }
    if (byte <= 0x80) {
      split.chars.push_back(static_cast<char>(byte));
    } else {
      split.chars.push_back('?');
      split.invalid.push_back(split.count);
    }
    ++i;
  }
  return split;
}

// Length of a chunk of `chars` that ends on a character boundary.
size_t chunk_end(std::string_view chars, size_t begin) {
  size_t end = begin;
  while (end < chars.size() && end - begin < chunk_size) {
    end += is_gbk_lead(static_cast<unsigned char>(chars[end])) ? 2 : 1;
  }
  return std::min(end, chars.size());
}

std::u16string gbk_to_wide(std::string_view bytes) {
  const GbkCharacters split = split_gbk(bytes);
  std::u16string wide;
  wide.reserve(split.count);
  const std::string_view chars = split.chars;
  for (size_t begin = 0; begin < chars.size();) {
    const size_t end = chunk_end(chars, begin);
    wide += platform::gbk_chars_to_wide(chars.substr(begin, end - begin));
    begin = end;
  }
  for (const size_t index : split.invalid) {
    if (index < wide.size()) wide[index] = replacement_character;
  }
  std::replace_if(wide.begin(), wide.end(), is_private_use, replacement_character);
  return wide;
}

// Replaces what GBK cannot hold by "?" before the table sees it, so that the
// platform's handling of surrogates and private-use characters never matters.
std::u16string table_units(std::u16string_view wide) {
  std::u16string units;
  units.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    const char16_t unit = wide[i];
    if (is_high_surrogate(unit) && i + 1 < wide.size() && is_low_surrogate(wide[i + 1])) ++i;
    units.push_back(is_surrogate(unit) || is_private_use(unit) ? u'?' : unit);
  }
  return units;
}

std::string wide_to_gbk(std::u16string_view wide) {
  const std::u16string units = table_units(wide);
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (size_t begin = 0; begin < units.size(); begin += chunk_size) {
    bytes += platform::wide_to_gbk_chars(std::u16string_view(units).substr(begin, chunk_size));
  }
  return bytes;
}

}  // namespace

std::u16string bytes_to_wide(std::string_view bytes, unsigned code_page) {
  return code_page == code_page_utf8 ? utf8_to_utf16(bytes) : gbk_to_wide(bytes);
}

std::string wide_to_bytes(std::u16string_view wide, unsigned code_page) {
  return code_page == code_page_utf8 ? utf16_to_utf8(wide) : wide_to_gbk(wide);
}

}  // namespace velmo
