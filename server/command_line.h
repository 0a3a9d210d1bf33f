#pragma once
// The flags of update-server. Flags that name a server setting override the
// configuration file; --key and --release (with --id, --notes, --updates,
// --download-base, --exclude) configure one more product, for the simple case.
#include <string>
#include <vector>

#include "server/settings.h"

namespace velmo::server {

struct CommandLine {
  bool show_help = false;
  std::string error;  // a usage error; the program ends with status 2
  Settings settings;
};

CommandLine parse_command_line(const std::vector<std::string>& arguments);

const char* help_text();

}  // namespace velmo::server
