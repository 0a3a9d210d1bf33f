#include "util/utf8.h"

namespace velmo {
namespace {

constexpr char16_t replacement_character = 0xFFFD;

void append_code_point(std::u16string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
    return;
  }
  code_point -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
}

// The shape of a sequence that starts with `lead`: how many continuation
// bytes follow and the range allowed for the first of them (the ranges rule
// out overlong forms, surrogates and values above U+10FFFF).
struct SequenceShape {
  int continuation_bytes = 0;
  unsigned char first_low = 0x80;
  unsigned char first_high = 0xBF;
  char32_t lead_bits = 0;
};

bool shape_of(unsigned char lead, SequenceShape& shape) {
  if (lead >= 0xC2 && lead <= 0xDF) {
    shape = {1, 0x80, 0xBF, static_cast<char32_t>(lead & 0x1F)};
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    shape = {2, static_cast<unsigned char>(lead == 0xE0 ? 0xA0 : 0x80),
             static_cast<unsigned char>(lead == 0xED ? 0x9F : 0xBF),
             static_cast<char32_t>(lead & 0x0F)};
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    shape = {3, static_cast<unsigned char>(lead == 0xF0 ? 0x90 : 0x80),
             static_cast<unsigned char>(lead == 0xF4 ? 0x8F : 0xBF),
             static_cast<char32_t>(lead & 0x07)};
  } else {
    return false;
  }
  return true;
}

// Decodes the sequence at `pos`; returns the number of bytes used. A broken
// sequence uses its valid prefix only, so the byte that broke it is read again.
size_t decode_one(std::string_view bytes, size_t pos, std::u16string& out) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (lead < 0x80) {
    out.push_back(lead);
    return 1;
  }
  SequenceShape shape;
  if (!shape_of(lead, shape)) {
    out.push_back(replacement_character);
    return 1;
  }
  char32_t code_point = shape.lead_bits;
  unsigned char low = shape.first_low;
  unsigned char high = shape.first_high;
  size_t used = 1;
  for (int i = 0; i < shape.continuation_bytes; ++i, ++used) {
    if (pos + used >= bytes.size()) break;
    const auto next = static_cast<unsigned char>(bytes[pos + used]);
    if (next < low || next > high) break;
    code_point = (code_point << 6) | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  if (used != static_cast<size_t>(shape.continuation_bytes) + 1) {
    out.push_back(replacement_character);
    return used;
  }
  append_code_point(out, code_point);
  return used;
}

void append_utf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string utf8_to_utf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (size_t pos = 0; pos < bytes.size();) pos += decode_one(bytes, pos, out);
  return out;
}

std::string utf16_to_utf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (is_high_surrogate(unit) && i + 1 < units.size() && is_low_surrogate(units[i + 1])) {
      append_utf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (is_high_surrogate(unit) || is_low_surrogate(unit)) {
      append_utf8(out, replacement_character);
    } else {
      append_utf8(out, unit);
    }
  }
  return out;
}

}  // namespace velmo
