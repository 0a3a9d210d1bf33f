#include "util/endpoint_cipher.h"

#include "util/gbk_text.h"
#include "util/md5_hex.h"
#include "util/message_pump.h"

namespace velmo {
namespace {

// The mask is the low byte of this constant, taken when it is needed.
constexpr std::uint32_t mask_source = 0x6B3D29C5u;

std::uint32_t digit_value(unsigned char c) {
  if (c < 'A') return c - std::uint32_t{'0'};
  if (c < 'a') return c - std::uint32_t{'A'} + 10;
  return c - std::uint32_t{'a'} + 10;
}

std::uint32_t fold_digits(std::string_view digits) {
  std::uint32_t value = 0;
  for (const char c : digits) value = value * 16 + digit_value(static_cast<unsigned char>(c));
  return value;
}

std::string upper_ascii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

std::uint64_t hex_value(std::string_view text) {
  text = text_before_nul(text);
  if (text.size() > 16) text.remove_prefix(text.size() - 16);
  std::string padded(16 - text.size(), '0');
  padded.append(text);
  const std::string_view digits = padded;
  return (std::uint64_t{fold_digits(digits.substr(0, 8))} << 32) | fold_digits(digits.substr(8));
}

std::string hex_to_bytes(std::string_view text) {
  text = text_before_nul(text);
  std::string bytes;
  bytes.reserve(text.size() / 2 + 1);
  for (size_t pos = 0; pos < text.size(); pos += 2) {
    bytes.push_back(static_cast<char>(hex_value(text.substr(pos, 2)) & 0xFF));
    pump_messages();
  }
  return bytes;
}

std::string endpoint_tag(std::string_view key) {
  return upper_ascii(md5_hex(text_before_nul(key)).substr(2, endpoint_tag_length));
}

unsigned char endpoint_mask() { return static_cast<unsigned char>(mask_source & 0xFF); }

std::string decipher_endpoint(std::string_view stored, std::string_view key) {
  stored = text_before_nul(stored);
  const size_t digits =
      stored.size() > endpoint_tag_length ? stored.size() - endpoint_tag_length : 0;
  if (stored.substr(digits) != endpoint_tag(key)) return {};
  std::string address = hex_to_bytes(stored.substr(0, digits));
  const unsigned char mask = endpoint_mask();
  for (char& byte : address) byte = static_cast<char>(static_cast<unsigned char>(byte) ^ mask);
  return std::string(text_before_nul(address));
}

}  // namespace velmo
