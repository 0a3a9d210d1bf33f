#include "util/md5_hex.h"

namespace velmo {

std::string digest_hex(const Md5Digest& digest, bool upper, bool middle_only) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string hex;
  hex.reserve(32);
  for (const unsigned char byte : digest) {
    hex.push_back(digits[byte >> 4]);
    hex.push_back(digits[byte & 0x0F]);
  }
  return middle_only ? hex.substr(8, 16) : hex;
}

std::string md5_hex(std::string_view bytes, bool upper, bool middle_only) {
  return digest_hex(md5_digest(bytes), upper, middle_only);
}

}  // namespace velmo
