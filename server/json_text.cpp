#include "server/json_text.h"

#include "server/utf8.h"

namespace velmo::server {
namespace {

const char hex_digits[] = "0123456789abcdef";

void append_u_escape(std::string& out, unsigned unit) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(hex_digits[(unit >> shift) & 0xF]);
}

// The escapes that JSON requires of every string, whatever else is done.
bool append_json_escape(std::string& out, unsigned char byte) {
  if (byte == '"' || byte == '\\') {
    out.push_back('\\');
    out.push_back(static_cast<char>(byte));
    return true;
  }
  if (byte < 0x20) {
    append_u_escape(out, byte);
    return true;
  }
  return false;
}

void append_percent_escape(std::string& out, unsigned char byte) {
  static const char upper[] = "0123456789ABCDEF";
  out.push_back('%');
  out.push_back(upper[byte >> 4]);
  out.push_back(upper[byte & 0xF]);
}

}  // namespace

void append_decodable_json_string(std::string& out, std::string_view utf8) {
  out.push_back('"');
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (append_json_escape(out, byte)) continue;
    if (byte == '%' || byte >= 0x80) {
      append_percent_escape(out, byte);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

void append_ascii_json_string(std::string& out, std::string_view utf8) {
  out.push_back('"');
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      if (!append_json_escape(out, byte)) out.push_back(static_cast<char>(byte));
      ++pos;
      continue;
    }
    const char32_t code_point = next_code_point(utf8, pos);
    if (code_point < 0x10000) {
      append_u_escape(out, code_point);
    } else {
      const char32_t offset = code_point - 0x10000;
      append_u_escape(out, 0xD800 + (offset >> 10));
      append_u_escape(out, 0xDC00 + (offset & 0x3FF));
    }
  }
  out.push_back('"');
}

}  // namespace velmo::server
