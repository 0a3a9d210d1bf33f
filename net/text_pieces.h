#pragma once
// Byte-wise text helpers of the HTTP clients: trimming, searching, cutting
// and splitting GBK texts. Positions count bytes; where a start position is
// taken it counts from 1, and 0 or less means the beginning.
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// Removes leading and trailing ASCII spaces and GBK full-width spaces (A1 A1).
// Tabs and line breaks stay. The text is walked character by character, so
// the trail byte of a double-byte character is never taken for a space.
std::string trim_spaces(std::string_view text);

// Removes every ASCII space and every GBK full-width space.
std::string remove_spaces(std::string_view text);

// Byte index of `needle` in `text` at or after byte index `from`, or npos.
// With `ignore_case` ASCII letters match in either case (GBK characters
// are compared as they are).
size_t find_text(std::string_view text, std::string_view needle, size_t from = 0,
                 bool ignore_case = false);

// The text before the first `marker` found from the 1-based position
// `start`; empty when the marker does not occur there.
std::string text_before(std::string_view text, std::string_view marker, int start = 1,
                        bool ignore_case = false);

// The text between the first `left` found from `start` and the next `right`
// after it; empty when either is missing. In both markers every "#引号" is
// first replaced by a double quotation mark.
std::string text_between(std::string_view text, std::string_view left, std::string_view right,
                         int start = 0, bool ignore_case = false);

// The pieces between successive separators. An empty text gives no pieces,
// a separator at the very end gives no empty last piece, and two separators
// in a row give an empty piece between them.
std::vector<std::string> split_text(std::string_view text, std::string_view separator);

// Every occurrence of `from` (found in any letter case when `ignore_case`)
// replaced by `to`.
std::string replace_all(std::string_view text, std::string_view from, std::string_view to,
                        bool ignore_case = false);

}  // namespace velmo
