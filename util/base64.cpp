#include <cstdint>

#include "util/text_codecs.h"

namespace velmo {

std::string base64_encode(std::string_view bytes) {
  static constexpr char alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t left = bytes.size() - i;
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (left > 1) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
    out.push_back(alphabet[(group >> 18) & 0x3F]);
    out.push_back(alphabet[(group >> 12) & 0x3F]);
    out.push_back(left > 1 ? alphabet[(group >> 6) & 0x3F] : '=');
    out.push_back(left > 2 ? alphabet[group & 0x3F] : '=');
  }
  return out;
}

}  // namespace velmo
