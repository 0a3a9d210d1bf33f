#pragma once
// Conversions between the program's texts (GBK bytes) and the encodings of
// its HTTP traffic. Stateless; none reports an error. A "text" argument ends
// at its first zero byte, as the system's texts do; a byte-string argument is
// taken whole.
#include <string>
#include <string_view>

#include "util/code_page.h"

namespace velmo {

// RFC 4648 Base64 with "=" padding and no line breaks.
std::string base64_encode(std::string_view bytes);

// Percent-encodes every byte as "%XX" (upper-case digits). With
// keep_unreserved, "-", ".", digits and ASCII letters are kept as they are.
// With to_utf8, the GBK text is first converted to UTF-8.
std::string url_encode(std::string_view text, bool keep_unreserved = false, bool to_utf8 = false);

// Decodes "%XX" (either case of hex digit); "+" stays "+"; a decoded zero byte
// is dropped. A "%" not followed by two hex digits is kept as it is. With
// from_utf8, the decoded UTF-8 is then converted to GBK.
std::string url_decode(std::string_view text, bool from_utf8 = false);

std::string ansi_to_utf8(std::string_view text);
std::string utf8_to_ansi(std::string_view text);

// The text in `code_page` (65001 UTF-8, otherwise GBK) as UTF-16. The
// terminating zero unit is the string's own (c_str()).
std::u16string multibyte_to_wide(std::string_view text, unsigned code_page = code_page_utf8);

// The wide text, up to its first zero unit, in `code_page` (0 and 936 GBK,
// 65001 UTF-8).
std::string wide_to_multibyte(std::u16string_view wide, unsigned code_page = code_page_ansi);

// Turns "\u" escapes of a server message into characters: the text is read as
// the content of a single-quoted ECMAScript string literal and then goes
// through ECMAScript's unescape(). Apostrophes and "\r\n" line breaks survive;
// "{$}" becomes "\r\n". A text that cannot stand in such a literal (a lone
// line feed or carriage return, a trailing backslash) or that decodes to
// nothing gives the fallback: unicode_bytes_to_text of the prepared text.
// Nothing is ever evaluated as code.
std::string decode_unicode_escapes(std::string_view text);

// The bytes read as UTF-16LE (a leading byte-order mark skipped, an odd last
// byte ignored), as GBK text up to the first zero unit.
std::string unicode_bytes_to_text(std::string_view bytes);

}  // namespace velmo
