// The GBK table of the native build: glibc's iconv, code page CP936.
#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "util/code_page_platform.h"

namespace velmo::platform {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

// Converts `input` in pieces of at most `window` bytes (a multiple of the
// unit size): glibc converts UTF-16 through an intermediate step that reads
// all the input it is given each time it stops at an unconvertible
// character, which would make many such characters cost quadratic time.
// Where iconv stops at something it cannot convert, the length that
// `unit_length` gives for that spot is skipped and `replacement` (already in
// the target encoding) is written instead.
template <typename UnitLength>
std::string convert(std::string_view input, const char* to, const char* from,
                    std::string_view replacement, UnitLength unit_length, size_t window) {
  Converter converter(to, from);
  std::string out;
  if (!converter.valid()) return out;
  out.reserve(input.size() * 2);
  char* in_ptr = const_cast<char*>(input.data());
  size_t in_left = input.size();
  char buffer[4096];
  while (in_left > 0) {
    size_t piece_left = std::min(in_left, window);
    const size_t piece = piece_left;
    char* out_ptr = buffer;
    size_t out_left = sizeof buffer;
    const size_t rc = iconv(converter.get(), &in_ptr, &piece_left, &out_ptr, &out_left);
    const int error = errno;
    in_left -= piece - piece_left;
    out.append(buffer, static_cast<size_t>(out_ptr - buffer));
    if (rc != static_cast<size_t>(-1) || error == E2BIG) continue;
    out.append(replacement);
    const size_t skip = std::min(unit_length(in_ptr, in_left), in_left);
    in_ptr += skip;
    in_left -= skip;
  }
  return out;
}

size_t gbk_character_length(const char* at, size_t left) {
  const auto byte = static_cast<unsigned char>(*at);
  return byte >= 0x81 && byte <= 0xFE && left >= 2 ? 2 : 1;
}

size_t utf16_unit_length(const char*, size_t) { return 2; }

}  // namespace

std::u16string gbk_chars_to_wide(std::string_view chars) {
  static const char replacement[] = {'\xFD', '\xFF'};  // U+FFFD in UTF-16LE
  const std::string utf16 = convert(chars, "UTF-16LE", "CP936", std::string_view(replacement, 2),
                                    gbk_character_length, chars.size());
  std::u16string wide(utf16.size() / 2, u'\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 * i]) |
                                    (static_cast<unsigned char>(utf16[2 * i + 1]) << 8));
  }
  return wide;
}

std::string wide_to_gbk_chars(std::u16string_view units) {
  std::string utf16;
  utf16.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    utf16.push_back(static_cast<char>(unit & 0xFF));
    utf16.push_back(static_cast<char>(unit >> 8));
  }
  return convert(utf16, "CP936", "UTF-16LE", "?", utf16_unit_length, 64);
}

}  // namespace velmo::platform
