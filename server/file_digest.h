#pragma once
// MD5 of a file's contents, read as a stream in bounded memory.
#include <optional>
#include <string>
#include <string_view>

namespace velmo::server {

// 32 lower-case hexadecimal digits, the form the updater compares with;
// nullopt when the file cannot be opened or read to its end.
std::optional<std::string> md5_of_file(const std::string& path);

std::string md5_of_bytes(std::string_view bytes);

}  // namespace velmo::server
