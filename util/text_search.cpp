#include "util/text_search.h"

namespace velmo {

size_t last_path_separator(std::string_view gbk_path) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < gbk_path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(gbk_path[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < gbk_path.size()) {
      ++i;  // lead byte: the next byte belongs to the same character
    } else if (byte == '\\') {
      last = i;
    }
  }
  return last;
}

std::string ascii_lower(std::string_view text) {
  std::string lowered(text);
  for (size_t i = 0; i < lowered.size(); ++i) {
    const auto byte = static_cast<unsigned char>(lowered[i]);
    if (byte >= 0x81 && byte <= 0xFE) {
      ++i;  // a double-byte character is left alone, its trail byte included
    } else if (byte >= 'A' && byte <= 'Z') {
      lowered[i] = static_cast<char>(byte - 'A' + 'a');
    }
  }
  return lowered;
}

}  // namespace velmo
