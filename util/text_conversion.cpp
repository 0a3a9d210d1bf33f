#include "util/gbk_text.h"
#include "util/text_codecs.h"

namespace velmo {

std::u16string multibyte_to_wide(std::string_view text, unsigned code_page) {
  return bytes_to_wide(text_before_nul(text), code_page);
}

std::string wide_to_multibyte(std::u16string_view wide, unsigned code_page) {
  return wide_to_bytes(wide.substr(0, wide.find(u'\0')), code_page);
}

std::string ansi_to_utf8(std::string_view text) {
  return wide_to_multibyte(multibyte_to_wide(text, code_page_gbk), code_page_utf8);
}

std::string utf8_to_ansi(std::string_view text) {
  return wide_to_multibyte(multibyte_to_wide(text, code_page_utf8), code_page_gbk);
}

}  // namespace velmo
