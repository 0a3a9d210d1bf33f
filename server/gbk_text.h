#pragma once
// The updater names files in GBK (code page 936). Strict conversions, for
// telling whether a UTF-8 name can be spelled there at all.
#include <optional>
#include <string>
#include <string_view>

namespace velmo::server {

// nullopt when any character has no GBK form or the input is malformed.
std::optional<std::string> utf8_to_gbk(std::string_view utf8);
std::optional<std::string> gbk_to_utf8(std::string_view gbk);

}  // namespace velmo::server
