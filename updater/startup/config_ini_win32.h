#pragma once
#include <string>

namespace velmo {

// [SoftName] Name of Config.ini in the run directory; empty when the file,
// the section or the key is missing. Values longer than 10239 bytes are cut
// where the system's profile reader cuts them.
std::string read_main_program_name();

}  // namespace velmo
