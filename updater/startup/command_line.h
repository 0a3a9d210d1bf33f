#pragma once
// Splitting of the updater's command line, the way the updater has always
// read it (not the Microsoft C runtime's rules: no backslash escapes).
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// The arguments after the program's own path. Arguments are separated by
// blanks (every byte below "!"); an argument that begins with a double quote
// runs to the next double quote and loses both quotes; a double-byte character
// (lead byte 0x80 or above) is kept whole and never splits.
std::vector<std::string> split_command_line(std::string_view command_line);

}  // namespace velmo
