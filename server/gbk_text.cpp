#include "server/gbk_text.h"

#include <iconv.h>

namespace velmo::server {
namespace {

std::optional<std::string> convert(std::string_view input, const char* from, const char* to) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(input.size() * 2 + 4, '\0');
  char* in_ptr = const_cast<char*>(input.data());
  size_t in_left = input.size();
  char* out_ptr = out.data();
  size_t out_left = out.size();
  // GBK needs at most two bytes per UTF-8 character of two or more bytes, and
  // UTF-8 at most three per GBK pair, so the output always fits.
  const size_t rc = ::iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  ::iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || in_left != 0) return std::nullopt;
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace

std::optional<std::string> utf8_to_gbk(std::string_view utf8) {
  return convert(utf8, "UTF-8", "CP936");
}

std::optional<std::string> gbk_to_utf8(std::string_view gbk) {
  return convert(gbk, "CP936", "UTF-8");
}

}  // namespace velmo::server
