#pragma once
// JSON string members for the updater's two readers.
//
// The update-check reply is read twice by the updater: state and msg from the
// raw reply, then the list from the reply after percent-decoding the WHOLE text
// and converting it from UTF-8 to GBK. A list string therefore carries "%" and
// every non-ASCII byte percent-encoded, so that the decoding restores exactly
// the UTF-8 text and the raw reply stays plain ASCII JSON.
//
// The release notes are read as GBK bytes without any decoding, so texts for
// msg carry every non-ASCII character as a \u escape.
#include <string>
#include <string_view>

namespace velmo::server {

// Appends a quoted JSON string whose content survives the whole-reply
// percent-decoding unchanged.
void append_decodable_json_string(std::string& out, std::string_view utf8);

// Appends a quoted JSON string in pure ASCII: non-ASCII characters as \u
// escapes (surrogate pairs beyond the basic plane); malformed UTF-8 as U+FFFD.
void append_ascii_json_string(std::string& out, std::string_view utf8);

}  // namespace velmo::server
