#pragma once
// Paths such as list[0].url and the member accesses they become: the path
// is cut into segments (a bracketed part "[...]" up to the nearest "]" with
// at least one character inside, or a run of characters without "." and
// "["), and each segment becomes ['name'] or, for an integer, [n].
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// No segments when the path is empty or blank (it addresses the root).
std::vector<std::u16string> path_segments(std::u16string_view path);

// ['name'] or [n]: quotes are removed, and brackets too when the segment
// holds a "["; the text inside keeps its spaces.
std::u16string segment_accessor(std::u16string_view segment);

// The member name that the segment's accessor reads, as the engine would
// read it: [n] reads the number n's text, ['name'] reads the single-quoted
// literal, backslash escapes included. nullopt when ['name'] is not a valid
// literal (a line break, a backslash before the closing quote).
std::optional<std::u16string> segment_member_name(std::u16string_view segment);

// The member names that the path reads one after the other; nullopt when a
// segment's accessor is not valid source.
std::optional<std::vector<std::u16string>> path_member_names(std::u16string_view path);

// True when the text, trimmed of spaces, is the decimal text of its own
// 64-bit integer value: "12" and "-1" yes; "012", "+5", "-0", "1.0", "" no.
bool is_integer_text(std::u16string_view text);

// Removes spaces (U+0020) and full-width spaces (U+3000) at both ends.
std::u16string_view trim_spaces(std::u16string_view text);

}  // namespace velmo
