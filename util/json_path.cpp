#include "util/json_path.h"

#include <algorithm>

#include "util/json_lexer.h"
#include "util/json_literal_reader.h"
#include "util/json_number_text.h"

namespace velmo {
namespace {

bool is_space(char16_t unit) { return unit == u' ' || unit == 0x3000; }

// Where "[" .+? "]" ends when it matches at `open` ("." takes no line break).
std::optional<size_t> bracket_end(std::u16string_view path, size_t open) {
  size_t i = open + 1;
  if (i >= path.size() || is_js_line_terminator(path[i])) return std::nullopt;
  for (++i; i < path.size() && !is_js_line_terminator(path[i]); ++i) {
    if (path[i] == u']') return i;
  }
  return std::nullopt;
}

std::u16string without_units(std::u16string_view text, std::u16string_view units) {
  std::u16string kept;
  kept.reserve(text.size());
  for (char16_t unit : text) {
    if (units.find(unit) == std::u16string_view::npos) kept.push_back(unit);
  }
  return kept;
}

// The segment's text between the accessor's brackets or quotes.
std::u16string segment_inner_text(std::u16string_view segment) {
  std::u16string text = without_units(segment, u"\"'");
  if (text.find(u'[') != std::u16string::npos) text = without_units(text, u"[]");
  return text;
}

bool fits_int64(std::u16string_view digits, bool negative) {
  const std::u16string_view limit = negative ? u"9223372036854775808" : u"9223372036854775807";
  if (digits.size() != limit.size()) return digits.size() < limit.size();
  return digits <= limit;
}

std::u16string integer_member_name(std::u16string_view text) {
  text = trim_spaces(text);
  const bool negative = text[0] == u'-';
  const std::u16string_view digits = text.substr(negative ? 1 : 0);
  const double value = decimal_literal_value(std::string(digits.begin(), digits.end()));
  const std::string name = number_to_js_text(negative ? -value : value);
  return std::u16string(name.begin(), name.end());
}

}  // namespace

std::u16string_view trim_spaces(std::u16string_view text) {
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

bool is_integer_text(std::u16string_view text) {
  text = trim_spaces(text);
  const bool negative = !text.empty() && text[0] == u'-';
  const std::u16string_view digits = text.substr(negative ? 1 : 0);
  if (digits.empty()) return false;
  for (char16_t unit : digits) {
    if (!JsonLexer::is_digit(unit)) return false;
  }
  if (digits[0] == u'0' && (digits.size() > 1 || negative)) return false;
  return fits_int64(digits, negative);
}

std::vector<std::u16string> path_segments(std::u16string_view path) {
  std::vector<std::u16string> segments;
  if (trim_spaces(path).empty()) return segments;
  size_t i = 0;
  while (i < path.size()) {
    if (path[i] == u'[') {
      if (const std::optional<size_t> close = bracket_end(path, i)) {
        segments.emplace_back(path.substr(i, *close - i + 1));
        i = *close + 1;
      } else {
        ++i;  // a "[" that opens nothing belongs to no segment
      }
    } else if (path[i] == u'.') {
      ++i;
    } else {
      const size_t end = std::min(path.size(), path.find_first_of(u".[", i));
      segments.emplace_back(path.substr(i, end - i));
      i = end;
    }
  }
  return segments;
}

std::u16string segment_accessor(std::u16string_view segment) {
  const std::u16string text = segment_inner_text(segment);
  if (is_integer_text(text)) return u"[" + text + u"]";
  return u"['" + text + u"']";
}

std::optional<std::u16string> segment_member_name(std::u16string_view segment) {
  const std::u16string text = segment_inner_text(segment);
  if (is_integer_text(text)) return integer_member_name(text);
  return read_quoted_text(text, u'\'');
}

std::optional<std::vector<std::u16string>> path_member_names(std::u16string_view path) {
  std::vector<std::u16string> names;
  for (const std::u16string& segment : path_segments(path)) {
    std::optional<std::u16string> name = segment_member_name(segment);
    if (!name) return std::nullopt;
    names.push_back(std::move(*name));
  }
  return names;
}

}  // namespace velmo
