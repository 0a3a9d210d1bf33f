#pragma once
// Numbers as a JScript engine reads them from source text and writes them
// back: ECMAScript's Number-to-String rules (shortest digits that read back
// to the same double; exponent form from 1e21 up and below 1e-6).
#include <string>
#include <string_view>

namespace velmo {

// ECMAScript ToString(Number): "NaN", "Infinity", "-5", "0.1", "1e+21", "1.5e-7".
std::string number_to_js_text(double value);

// The value of a decimal literal's ASCII text (digits, "." and an exponent,
// no sign), rounded to nearest; beyond the double range it is Infinity or 0.
double decimal_literal_value(std::string_view text);

// The value of a run of digits in base 8 or 16, rounded to nearest.
double radix_literal_value(std::string_view digits, int radix);

}  // namespace velmo
