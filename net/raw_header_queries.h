#pragma once
// Queries of the WinHttp client over a response's raw header text (status
// line and headers separated by "\r\n", GBK). Searches are case-sensitive.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmo {

// The value of the first "name:" in the headers: from the second character
// after the ":" up to the line end. An empty name, or a name that does not
// occur, gives the whole header text.
std::string raw_header_value(std::string_view headers, std::string_view name);

// The value after the first "Location" anywhere (so "Content-Location"
// counts too); empty when there is none.
std::string raw_header_location(std::string_view headers);

// The cookie piece ("name=value; ") of the first Set-Cookie line whose
// cookie has that name (with `value_only`, just the value), or every piece
// joined when none has it; then the last `cut` characters removed. A cookie
// without attributes ends at its line end.
std::string raw_header_cookie(std::string_view headers, std::string_view name,
                              bool value_only = false, int cut = 0);

// The number that a header value starts with: leading spaces, an optional
// sign, digits and an optional fraction; 0 when there is none.
double header_number(std::string_view value);

// A byte count from a header number: 0 for anything not positive, clamped
// to the largest 64-bit count.
std::int64_t byte_count(double number);

}  // namespace velmo
