#pragma once
// Whether a downloaded file's name stays inside the directory it is written to.
#include <string_view>

namespace velmo {

// True for a name of one path component: not empty, not made of dots and
// spaces only (".", ".."), without "\" (a GBK trail byte 0x5C is no
// separator), "/" or ":" (a drive or an alternate data stream).
bool is_plain_file_name(std::string_view name);

}  // namespace velmo
