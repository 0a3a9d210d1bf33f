#pragma once
// The two pieces of ECMAScript that the server's messages go through, done
// directly instead of by a script engine: reading the content of a
// single-quoted string literal, and the global unescape() function.
#include <optional>
#include <string>
#include <string_view>

namespace velmo {

// The value of the literal '<content>' as JScript reads it: \b \t \n \v \f \r,
// \xHH, \uHHHH, octal escapes (\0 to \377), and any other escaped character
// standing for itself (\x or \u without their digits give "x" or "u"). Empty
// when the literal does not compile: an unescaped or escaped line terminator,
// or a trailing backslash, which would escape the closing quote.
std::optional<std::u16string> read_single_quoted_literal(std::u16string_view content);

// unescape(): %uXXXX gives U+XXXX, %XX gives U+00XX, any other "%" stays.
std::u16string ecmascript_unescape(std::u16string_view text);

}  // namespace velmo
