// Native implementation of the code-page interface, over glibc's iconv.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "util/code_page.h"

namespace velmo {
namespace {

const char* iconv_name(unsigned code_page) {
  return code_page == code_page_utf8 ? "UTF-8" : "CP936";
}

// Converts with iconv, replacing every byte sequence that cannot be converted
// by `replacement` (already in the target encoding) and going on after it.
std::string convert(std::string_view input, const char* from, const char* to,
                    std::string_view replacement, size_t unit) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out;
  out.reserve(input.size() * 2);
  char* in_ptr = const_cast<char*>(input.data());
  size_t in_left = input.size();
  char buffer[4096];
  while (in_left > 0) {
    char* out_ptr = buffer;
    size_t out_left = sizeof buffer;
    const size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer, static_cast<size_t>(out_ptr - buffer));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      const size_t skip = std::min(unit, in_left);
      in_ptr += skip;
      in_left -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::u16string bytes_to_wide(std::string_view bytes, unsigned code_page) {
  static const char replacement[] = {'\xFD', '\xFF'};  // U+FFFD, UTF-16LE
  const std::string utf16 =
      convert(bytes, iconv_name(code_page), "UTF-16LE", std::string_view(replacement, 2), 1);
  std::u16string wide(utf16.size() / 2, u'\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 * i]) |
                                    (static_cast<unsigned char>(utf16[2 * i + 1]) << 8));
  }
  return wide;
}

std::string wide_to_bytes(std::u16string_view wide, unsigned code_page) {
  std::string utf16;
  utf16.reserve(wide.size() * 2);
  for (char16_t unit : wide) {
    utf16.push_back(static_cast<char>(unit & 0xFF));
    utf16.push_back(static_cast<char>(unit >> 8));
  }
  return convert(utf16, "UTF-16LE", iconv_name(code_page), "?", 2);
}

}  // namespace velmo
