#pragma once
// Where the running executable lies, asked of the system each time.
#include <string>

namespace velmo {

// The full path of the running executable (GBK).
std::string executable_path();

// The directory that holds the running executable, without a trailing
// backslash ("C:" for a program in the root of drive C).
std::string run_directory();

// The file name, with extension, under which the executable was started.
std::string executable_file_name();

}  // namespace velmo
