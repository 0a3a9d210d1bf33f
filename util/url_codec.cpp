#include "util/gbk_text.h"
#include "util/text_codecs.h"

namespace velmo {
namespace {

constexpr char hex_digits[] = "0123456789ABCDEF";

bool is_unreserved(unsigned char byte) {
  return byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
         (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

int hex_digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string url_encode(std::string_view text, bool keep_unreserved, bool to_utf8) {
  text = text_before_nul(text);
  const std::string bytes = to_utf8 ? ansi_to_utf8(text) : std::string(text);
  std::string out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (keep_unreserved && is_unreserved(byte)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(hex_digits[byte >> 4]);
      out.push_back(hex_digits[byte & 0x0F]);
    }
  }
  return out;
}

std::string url_decode(std::string_view text, bool from_utf8) {
  text = text_before_nul(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? hex_digit_value(text[i + 1]) : -1;
    const int low = high >= 0 ? hex_digit_value(text[i + 2]) : -1;
    if (low < 0) {
      out.push_back(text[i]);
      continue;
    }
    if (high != 0 || low != 0) out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return from_utf8 ? utf8_to_ansi(out) : out;
}

}  // namespace velmo
