#pragma once
// MD5 digests as hexadecimal text.
#include <string>
#include <string_view>

#include "util/md5.h"

namespace velmo {

// 32 hexadecimal digits, lower case unless `upper`; with `middle_only`, only
// the 16 digits from the 9th to the 24th.
std::string md5_hex(std::string_view bytes, bool upper = false, bool middle_only = false);

// The same form for a digest computed piecewise with Md5.
std::string digest_hex(const Md5Digest& digest, bool upper = false, bool middle_only = false);

}  // namespace velmo
