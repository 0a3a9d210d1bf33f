#include "util/text_codecs.h"

namespace velmo {

std::string unicode_bytes_to_text(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') bytes.remove_prefix(2);
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return wide_to_multibyte(units, code_page_gbk);
}

}  // namespace velmo
