#pragma once
// The configuration file: INI sections [server] and one [product NAME] per
// product or channel, "name = value" lines, comments starting with # or ;.
#include <string>
#include <string_view>

#include "server/settings.h"

namespace velmo::server {

// Reads `text` into `settings`; relative paths are taken from `base_dir`.
// The result is an error text naming the line ("line 4: ..."), empty on success.
std::string read_config_text(std::string_view text, const std::string& base_dir,
                             Settings& settings);

// Reads the file; relative paths in it are taken from the file's directory.
std::string read_config_file(const std::string& path, Settings& settings);

}  // namespace velmo::server
