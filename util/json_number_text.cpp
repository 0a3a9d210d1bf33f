#include "util/json_number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace velmo {
namespace {

struct ShortestDigits {
  std::string digits;  // no leading or trailing zeros
  int point = 0;       // the value is 0.digits times 10^point
};

// Shortest round-trip digits of a positive finite value.
ShortestDigits shortest_digits(double value) {
  char buffer[40];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<size_t>(written.ptr - buffer));
  const size_t e = text.find('e');
  ShortestDigits result;
  result.digits.push_back(text[0]);
  if (e > 2) result.digits.append(text.substr(2, e - 2));
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  exponent);
  result.point = exponent + 1;
  return result;
}

std::string exponent_suffix(int exponent) {
  return std::string(exponent < 0 ? "e-" : "e+") + std::to_string(std::abs(exponent));
}

// Beyond the double range: Infinity when the value's decimal order is
// positive, 0 when it is negative.
double out_of_range_value(std::string_view text) {
  long long order = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == '0') ++i;
  size_t integer_digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++integer_digits;
  order = static_cast<long long>(integer_digits);
  if (integer_digits == 0 && i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] == '0') ++i, --order;
  }
  const size_t e = text.find_first_of("eE");
  if (e != std::string_view::npos) {
    const bool negative = e + 1 < text.size() && text[e + 1] == '-';
    long long exponent = 0;
    for (size_t j = e + 1; j < text.size(); ++j) {
      if (text[j] >= '0' && text[j] <= '9' && exponent < 1000000000) {
        exponent = exponent * 10 + (text[j] - '0');
      }
    }
    order += negative ? -exponent : exponent;
  }
  return order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

// Base-8 digits rewritten as base-16 digits of the same value.
std::string octal_to_hex(std::string_view digits) {
  std::string bits;
  bits.reserve(digits.size() * 3 + 3);
  for (char digit : digits) {
    const int value = digit - '0';
    for (int shift = 2; shift >= 0; --shift) bits.push_back(((value >> shift) & 1) ? '1' : '0');
  }
  bits.insert(0, (4 - bits.size() % 4) % 4, '0');
  std::string hex;
  hex.reserve(bits.size() / 4);
  for (size_t i = 0; i < bits.size(); i += 4) {
    int value = 0;
    for (size_t j = 0; j < 4; ++j) value = value * 2 + (bits[i + j] - '0');
    hex.push_back("0123456789abcdef"[value]);
  }
  return hex;
}

}  // namespace

std::string number_to_js_text(double value) {
  if (std::isnan(value)) return "NaN";
  if (value == 0) return "0";
  if (value < 0) return "-" + number_to_js_text(-value);
  if (std::isinf(value)) return "Infinity";
  const ShortestDigits shortest = shortest_digits(value);
  const std::string& s = shortest.digits;
  const int k = static_cast<int>(s.size());
  const int n = shortest.point;
  if (k <= n && n <= 21) return s + std::string(static_cast<size_t>(n - k), '0');
  if (0 < n && n <= 21) return s.substr(0, static_cast<size_t>(n)) + "." + s.substr(n);
  if (-6 < n && n <= 0) return "0." + std::string(static_cast<size_t>(-n), '0') + s;
  if (k == 1) return s + exponent_suffix(n - 1);
  return s.substr(0, 1) + "." + s.substr(1) + exponent_suffix(n - 1);
}

double decimal_literal_value(std::string_view text) {
  double value = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (parsed.ec == std::errc::result_out_of_range) return out_of_range_value(text);
  return value;
}

double radix_literal_value(std::string_view digits, int radix) {
  const std::string hex = radix == 8 ? octal_to_hex(digits) : std::string(digits);
  double value = 0;
  const auto parsed =
      std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
  if (parsed.ec == std::errc::result_out_of_range) return std::numeric_limits<double>::infinity();
  return value;
}

}  // namespace velmo
