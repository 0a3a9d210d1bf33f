#include "util/ecmascript_text.h"

namespace velmo {
namespace {

bool is_line_terminator(char16_t c) {
  return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

int hex_value(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The value of `count` hex digits at `pos`, or -1 when they are not all there.
long hex_run(std::u16string_view text, size_t pos, size_t count) {
  if (pos + count > text.size()) return -1;
  long value = 0;
  for (size_t i = 0; i < count; ++i) {
    const int digit = hex_value(text[pos + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

bool is_octal(char16_t c) { return c >= u'0' && c <= u'7'; }

// An octal escape at `pos` (just after the backslash): up to three digits
// when the first is 0 to 3, up to two otherwise. Returns the digits used.
size_t read_octal(std::u16string_view text, size_t pos, char16_t& value) {
  const size_t most = text[pos] <= u'3' ? 3 : 2;
  size_t used = 0;
  unsigned number = 0;
  while (used < most && pos + used < text.size() && is_octal(text[pos + used])) {
    number = number * 8 + (text[pos + used] - u'0');
    ++used;
  }
  value = static_cast<char16_t>(number);
  return used;
}

char16_t simple_escape(char16_t c) {
  switch (c) {
    case u'b':
      return 0x08;
    case u't':
      return 0x09;
    case u'n':
      return 0x0A;
    case u'v':
      return 0x0B;
    case u'f':
      return 0x0C;
    case u'r':
      return 0x0D;
    default:
      return c;
  }
}

// Reads the escape after the backslash at `pos - 1`; returns the characters used.
size_t read_escape(std::u16string_view text, size_t pos, std::u16string& out) {
  const char16_t c = text[pos];
  const size_t digits = c == u'x' ? 2 : c == u'u' ? 4 : 0;
  if (digits != 0) {
    const long value = hex_run(text, pos + 1, digits);
    out.push_back(value < 0 ? c : static_cast<char16_t>(value));
    return value < 0 ? 1 : 1 + digits;
  }
  if (is_octal(c)) {
    char16_t value = 0;
    const size_t used = read_octal(text, pos, value);
    out.push_back(value);
    return used;
  }
  out.push_back(simple_escape(c));
  return 1;
}

}  // namespace

std::optional<std::u16string> read_single_quoted_literal(std::u16string_view content) {
  std::u16string value;
  value.reserve(content.size());
  for (size_t pos = 0; pos < content.size();) {
    const char16_t c = content[pos];
    if (is_line_terminator(c)) return std::nullopt;
    if (c != u'\\') {
      value.push_back(c);
      ++pos;
      continue;
    }
    if (pos + 1 >= content.size() || is_line_terminator(content[pos + 1])) return std::nullopt;
    pos += 1 + read_escape(content, pos + 1, value);
  }
  return value;
}

std::u16string ecmascript_unescape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] != u'%') {
      out.push_back(text[pos]);
      continue;
    }
    const bool wide_form = pos + 1 < text.size() && text[pos + 1] == u'u';
    const long value = wide_form ? hex_run(text, pos + 2, 4) : hex_run(text, pos + 1, 2);
    if (value < 0) {
      out.push_back(u'%');
      continue;
    }
    out.push_back(static_cast<char16_t>(value));
    pos += wide_form ? 5 : 2;
  }
  return out;
}

}  // namespace velmo
