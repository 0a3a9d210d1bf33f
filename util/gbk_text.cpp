#include "util/gbk_text.h"

namespace velmo {

std::string_view text_before_nul(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\0'));
}

size_t gbk_character_length(std::string_view text, size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x81 || lead > 0xFE || pos + 1 >= text.size()) return 1;
  const auto trail = static_cast<unsigned char>(text[pos + 1]);
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

std::string replace_all_characters(std::string_view text, std::string_view from,
                                   std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    if (text.compare(pos, from.size(), from) == 0) {
      out.append(to);
      pos += from.size();
      continue;
    }
    const size_t length = gbk_character_length(text, pos);
    out.append(text.substr(pos, length));
    pos += length;
  }
  return out;
}

}  // namespace velmo
