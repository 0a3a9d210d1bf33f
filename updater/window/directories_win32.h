#pragma once
#include <string>

namespace velmo {

// The user's temporary directory as GetTempPathA reports it into 255 bytes,
// ending in a backslash; empty when it cannot be had in that room.
std::string temp_directory();

// True when the path names a directory.
bool is_directory(const std::string& path);

// Creates the directory and every missing parent; a trailing backslash is
// added first, since the system call makes only what lies before the last one.
bool make_directory_path(std::string path);

}  // namespace velmo
