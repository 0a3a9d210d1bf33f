#pragma once
// Simple case mapping for case-insensitive matching: the letters that GBK
// can hold (ASCII, Latin-1 and Latin Extended-A, Greek, Cyrillic, Roman
// numerals, full-width Latin). The same table on every platform, so matching
// does not depend on the C library's locale.
namespace velmo::regex {

char16_t lower_case(char16_t c);
char16_t upper_case(char16_t c);

}  // namespace velmo::regex
