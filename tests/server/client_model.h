#pragma once
// What the updater does to the texts it exchanges with the server, written
// from its documented behaviour: the oracle that the server's replies must
// satisfy. Paths on the updater's side are GBK (this file is compiled with
// -fexec-charset=GBK, so plain literals are GBK bytes).
#include <string>
#include <string_view>
#include <vector>

namespace velmo::server::testing {

// The updater's url_encode(text, keep_unreserved, to_utf8): GBK to UTF-8,
// then every byte but "-", ".", digits and ASCII letters as %XX.
std::string updater_encode_path(std::string_view gbk_path);

// The updater's url_decode(reply, from_utf8) without the final conversion:
// every %XX decoded (either case), %00 dropped, "+" kept. The caller converts
// the strings it reads from UTF-8 to GBK.
std::string updater_decode_reply(std::string_view reply);

std::string to_gbk(std::string_view utf8);
std::string to_utf8(std::string_view gbk);

// The request body the updater builds from (GBK path, digest) pairs.
struct InventoryFile {
  std::string gbk_path;  // "\\plugins\\b.dll"
  std::string md5;
};
std::string updater_check_body(std::string_view key, const std::vector<InventoryFile>& files);

}  // namespace velmo::server::testing
