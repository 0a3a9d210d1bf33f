#pragma once
// The header lines that the WinHttp client adds from one block of text.
#include <string_view>
#include <vector>

#include "net/request_headers.h"

namespace velmo {

// One field per "\r\n"-separated line: the name is the text before the
// line's first ":", trimmed; the value is the line with every "name:"
// removed, trimmed. Lines without a name are skipped.
std::vector<HeaderField> header_block_fields(std::string_view block);

}  // namespace velmo
