#include "util/endpoint_encipher.h"

#include "util/endpoint_cipher.h"

namespace velmo {

std::string encipher_endpoint(std::string_view address, std::string_view key) {
  static constexpr char digits[] = "0123456789ABCDEF";
  const unsigned char mask = endpoint_mask();
  std::string stored;
  stored.reserve(address.size() * 2 + endpoint_tag_length);
  for (const char c : address) {
    const auto byte = static_cast<unsigned char>(static_cast<unsigned char>(c) ^ mask);
    stored.push_back(digits[byte >> 4]);
    stored.push_back(digits[byte & 0x0F]);
  }
  return stored + endpoint_tag(key);
}

}  // namespace velmo
