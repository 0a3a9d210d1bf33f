#include "tests/server/client_model.h"

#include "server/gbk_text.h"

namespace velmo::server::testing {
namespace {

int hex_digit(char c) {
  const std::string_view digits = "0123456789ABCDEF";
  const char upper = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
  const size_t at = digits.find(upper);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string to_gbk(std::string_view utf8) { return utf8_to_gbk(utf8).value_or("<not GBK>"); }
std::string to_utf8(std::string_view gbk) { return gbk_to_utf8(gbk).value_or("<not GBK>"); }

std::string updater_encode_path(std::string_view gbk_path) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : to_utf8(gbk_path)) {
    const auto byte = static_cast<unsigned char>(c);
    const bool keep = byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
                      (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
    if (keep) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(digits[byte >> 4]);
      out.push_back(digits[byte & 0xF]);
    }
  }
  return out;
}

std::string updater_decode_reply(std::string_view reply) {
  std::string out;
  for (size_t i = 0; i < reply.size(); ++i) {
    if (reply[i] != '%' || i + 2 >= reply.size() || hex_digit(reply[i + 1]) < 0 ||
        hex_digit(reply[i + 2]) < 0) {
      out.push_back(reply[i]);
      continue;
    }
    const char byte = static_cast<char>(hex_digit(reply[i + 1]) * 16 + hex_digit(reply[i + 2]));
    if (byte != '\0') out.push_back(byte);
    i += 2;
  }
  return out;
}

std::string updater_check_body(std::string_view key, const std::vector<InventoryFile>& files) {
  std::string body = "key=" + std::string(key) + "&list=[";
  for (size_t i = 0; i < files.size(); ++i) {
    if (i > 0) body += ",";
    body += "{\"pathName\": \"" + updater_encode_path(files[i].gbk_path) + "\",\"md5\": \"" +
            files[i].md5 + "\"}";
  }
  return body + "]";
}

}  // namespace velmo::server::testing
