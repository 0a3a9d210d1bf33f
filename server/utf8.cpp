#include "server/utf8.h"

namespace velmo::server {
namespace {

struct SequenceShape {
  size_t length;
  char32_t lead_bits;
  char32_t minimum;
};

bool lead_shape(unsigned char lead, SequenceShape& shape) {
  if ((lead & 0xE0) == 0xC0)
    shape = {2, lead & 0x1Fu, 0x80};
  else if ((lead & 0xF0) == 0xE0)
    shape = {3, lead & 0x0Fu, 0x800};
  else if ((lead & 0xF8) == 0xF0)
    shape = {4, lead & 0x07u, 0x10000};
  else
    return false;
  return true;
}

}  // namespace

char32_t next_code_point(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  SequenceShape shape{};
  if (!lead_shape(lead, shape) || pos + shape.length > text.size()) {
    ++pos;
    return replacement_character;
  }
  char32_t value = shape.lead_bits;
  for (size_t i = 1; i < shape.length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return replacement_character;
    }
    value = (value << 6) | (next & 0x3Fu);
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (value < shape.minimum || value > 0x10FFFF || surrogate) {
    ++pos;
    return replacement_character;
  }
  pos += shape.length;
  return value;
}

bool is_valid_utf8(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    if (next_code_point(text, pos) == replacement_character) {
      // A genuine U+FFFD (EF BF BD) is valid; a malformed byte advances by one.
      if (pos - start != 3) return false;
    }
  }
  return true;
}

std::string ascii_lower_utf8(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace velmo::server
