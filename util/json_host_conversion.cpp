#include "util/json_host_conversion.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "util/json_number_text.h"

namespace velmo {
namespace {

bool is_digit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

size_t skip_digits(std::u16string_view text, size_t i) {
  while (i < text.size() && is_digit(text[i])) ++i;
  return i;
}

std::u16string_view trim_blanks(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

// A decimal number with an optional sign, fraction and exponent, blanks
// around it allowed; nullopt for anything else.
std::optional<double> number_in_text(std::u16string_view text) {
  text = trim_blanks(text);
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) text.remove_prefix(1);
  size_t i = skip_digits(text, 0);
  bool digits = i > 0;
  if (i < text.size() && text[i] == u'.') {
    const size_t fraction_end = skip_digits(text, i + 1);
    digits = digits || fraction_end > i + 1;
    i = fraction_end;
  }
  if (!digits) return std::nullopt;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    size_t exponent = i + 1;
    if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-')) ++exponent;
    const size_t exponent_end = skip_digits(text, exponent);
    if (exponent_end == exponent) return std::nullopt;
    i = exponent_end;
  }
  if (i != text.size()) return std::nullopt;
  const double value = decimal_literal_value(std::string(text.begin(), text.end()));
  return negative ? -value : value;
}

bool equals_ignoring_ascii_case(std::u16string_view text, std::u16string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = (text[i] >= u'A' && text[i] <= u'Z') ? text[i] + 32 : text[i];
    if (unit != lower[i]) return false;
  }
  return true;
}

}  // namespace

std::u16string host_text(const JsonValue& value) {
  return value.type() == JsonValue::Type::string ? value.as_string() : std::u16string();
}

double host_number(const JsonValue& value) {
  switch (value.type()) {
    case JsonValue::Type::number:
      return value.as_number();
    case JsonValue::Type::boolean:
      return value.as_boolean() ? -1 : 0;
    case JsonValue::Type::string:
      return number_in_text(value.as_string()).value_or(0);
    default:
      return 0;
  }
}

bool host_truth(const JsonValue& value) {
  switch (value.type()) {
    case JsonValue::Type::boolean:
      return value.as_boolean();
    case JsonValue::Type::number:
      return value.as_number() != 0;
    case JsonValue::Type::string: {
      const std::u16string_view text = trim_blanks(value.as_string());
      if (equals_ignoring_ascii_case(text, u"true")) return true;
      if (equals_ignoring_ascii_case(text, u"false")) return false;
      return number_in_text(text).value_or(0) != 0;
    }
    default:
      return false;
  }
}

}  // namespace velmo
