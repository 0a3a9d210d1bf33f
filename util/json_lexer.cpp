#include "util/json_lexer.h"

#include "util/json_number_text.h"

namespace velmo {
namespace {

int hex_digit_value(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

bool is_octal_digit(char16_t unit) { return unit >= u'0' && unit <= u'7'; }

std::string ascii_of(std::u16string_view units) {
  std::string text;
  text.reserve(units.size());
  for (char16_t unit : units) text.push_back(static_cast<char>(unit));
  return text;
}

}  // namespace

bool is_js_line_terminator(char16_t unit) {
  return unit == u'\n' || unit == u'\r' || unit == 0x2028 || unit == 0x2029;
}

bool is_js_blank(char16_t unit) {
  switch (unit) {
    case u'\t':
    case 0x0B:
    case 0x0C:
    case u' ':
    case 0xA0:
    case 0x1680:
    case 0x180E:
    case 0x202F:
    case 0x205F:
    case 0x3000:
    case 0xFEFF:
      return true;
    default:
      return unit >= 0x2000 && unit <= 0x200A;
  }
}

bool JsonLexer::is_identifier_start(char16_t unit) {
  if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z')) return true;
  if (unit == u'$' || unit == u'_') return true;
  // Letters outside ASCII; blanks and line breaks are the one exception
  // that matters where literals are read.
  return unit >= 0x80 && !is_js_blank(unit) && !is_js_line_terminator(unit);
}

bool JsonLexer::accept(char16_t unit) {
  if (at_end() || text_[position_] != unit) return false;
  ++position_;
  return true;
}

bool JsonLexer::skip_blanks(bool line_comment_may_end_text) {
  while (!at_end()) {
    const char16_t unit = text_[position_];
    if (is_js_blank(unit) || is_js_line_terminator(unit)) {
      ++position_;
    } else if (unit == u'/' && position_ + 1 < text_.size() &&
               (text_[position_ + 1] == u'/' || text_[position_ + 1] == u'*')) {
      if (!skip_comment(line_comment_may_end_text)) return false;
    } else {
      break;
    }
  }
  return true;
}

bool JsonLexer::skip_comment(bool line_comment_may_end_text) {
  const bool line_comment = text_[position_ + 1] == u'/';
  position_ += 2;
  if (peek() == u'@') return false;  // JScript conditional compilation
  if (line_comment) {
    while (!at_end() && !is_js_line_terminator(text_[position_])) ++position_;
    return !at_end() || line_comment_may_end_text;
  }
  const size_t end = text_.find(u"*/", position_);
  if (end == std::u16string_view::npos) return false;
  position_ = end + 2;
  return true;
}

std::optional<std::u16string> JsonLexer::read_string() {
  const char16_t quote = text_[position_++];
  std::u16string value;
  for (;;) {
    const size_t run_start = position_;
    const char16_t* units = text_.data();
    const size_t size = text_.size();
    size_t end = position_;
    while (end < size && units[end] != quote && units[end] != u'\\' && units[end] != u'\n' &&
           units[end] != u'\r' && units[end] != 0x2028 && units[end] != 0x2029) {
      ++end;
    }
    position_ = end;
    value.append(units + run_start, end - run_start);
    if (at_end() || is_js_line_terminator(text_[position_])) return std::nullopt;
    if (text_[position_++] == quote) return value;
    if (!read_escape(value)) return std::nullopt;
  }
}

// After a backslash. Malformed \x and \u escapes stand for their letter, as
// JScript reads them.
bool JsonLexer::read_escape(std::u16string& out) {
  if (at_end()) return false;
  const char16_t unit = text_[position_++];
  switch (unit) {
    case u'b':
      out.push_back(u'\b');
      return true;
    case u't':
      out.push_back(u'\t');
      return true;
    case u'n':
      out.push_back(u'\n');
      return true;
    case u'f':
      out.push_back(u'\f');
      return true;
    case u'r':
      out.push_back(u'\r');
      return true;
    case u'x':
      out.push_back(read_hex_units(2).value_or(u'x'));
      return true;
    case u'u':
      out.push_back(read_hex_units(4).value_or(u'u'));
      return true;
    case u'\r':
      accept(u'\n');
      return true;  // a line continuation
    case u'\n':
    case 0x2028:
    case 0x2029:
      return true;
    default:
      break;
  }
  if (!is_octal_digit(unit)) {
    out.push_back(unit);  // "\v" included: JScript has no vertical-tab escape
    return true;
  }
  int value = unit - u'0';
  int more = unit <= u'3' ? 2 : 1;
  while (more-- > 0 && !at_end() && is_octal_digit(text_[position_])) {
    value = value * 8 + (text_[position_++] - u'0');
  }
  out.push_back(static_cast<char16_t>(value));
  return true;
}

std::optional<char16_t> JsonLexer::read_hex_units(size_t count) {
  if (text_.size() - position_ < count) return std::nullopt;
  unsigned value = 0;
  for (size_t i = 0; i < count; ++i) {
    const int digit = hex_digit_value(text_[position_ + i]);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  position_ += count;
  return static_cast<char16_t>(value);
}

bool JsonLexer::skip_digits() {
  const size_t start = position_;
  while (!at_end() && is_digit(text_[position_])) ++position_;
  return position_ > start;
}

bool JsonLexer::number_end_is_clean() const {
  if (at_end()) return true;
  const char16_t unit = text_[position_];
  return !is_identifier_start(unit) && !is_digit(unit) && unit != u'\\';
}

std::optional<double> JsonLexer::read_number() {
  std::optional<double> value;
  const char16_t next = position_ + 1 < text_.size() ? text_[position_ + 1] : u'\0';
  if (text_[position_] == u'0' && (next == u'x' || next == u'X')) {
    position_ += 2;
    const size_t start = position_;
    while (!at_end() && hex_digit_value(text_[position_]) >= 0) ++position_;
    if (position_ == start) return std::nullopt;
    value = radix_literal_value(ascii_of(text_.substr(start, position_ - start)), 16);
  } else if (text_[position_] == u'0' && is_digit(next)) {
    value = read_legacy_octal_or_decimal();
  } else {
    value = read_decimal();
  }
  if (!value || !number_end_is_clean()) return std::nullopt;
  return value;
}

// "017" is octal; "019" (a digit above 7) is decimal and may go on as one.
std::optional<double> JsonLexer::read_legacy_octal_or_decimal() {
  const size_t start = position_;
  ++position_;
  skip_digits();
  const std::u16string_view digits = text_.substr(start + 1, position_ - start - 1);
  for (char16_t digit : digits) {
    if (!is_octal_digit(digit)) {
      position_ = start;
      return read_decimal();
    }
  }
  return radix_literal_value(ascii_of(digits), 8);
}

std::optional<double> JsonLexer::read_decimal() {
  const size_t start = position_;
  const bool integer_digits = skip_digits();
  if (accept(u'.')) {
    if (!skip_digits() && !integer_digits) return std::nullopt;
  } else if (!integer_digits) {
    return std::nullopt;
  }
  if (peek() == u'e' || peek() == u'E') {
    ++position_;
    if (peek() == u'+' || peek() == u'-') ++position_;
    if (!skip_digits()) return std::nullopt;
  }
  return decimal_literal_value(ascii_of(text_.substr(start, position_ - start)));
}

// Appends the run of plain identifier units from here; false when there is none.
bool JsonLexer::read_identifier_run(std::u16string& name, size_t max_length) {
  const char16_t* units = text_.data();
  // One unit beyond max_length is enough to see that the name is too long.
  const size_t room = max_length - name.size();
  const size_t size = text_.size() - position_ > room ? position_ + room + 1 : text_.size();
  size_t end = position_;
  for (; end < size; ++end) {
    const bool first = name.empty() && end == position_;
    if (!is_identifier_start(units[end]) && (first || !is_digit(units[end]))) break;
  }
  name.append(units + position_, end - position_);
  const bool read = end > position_;
  position_ = end;
  return read;
}

std::optional<JsonLexer::Identifier> JsonLexer::read_identifier(size_t max_length) {
  Identifier identifier;
  for (;;) {
    const bool first = identifier.name.empty();
    if (peek() == u'\\') {
      ++position_;
      if (!accept(u'u')) return std::nullopt;
      const std::optional<char16_t> unit = read_hex_units(4);
      if (!unit || !(is_identifier_start(*unit) || (!first && is_digit(*unit)))) {
        return std::nullopt;
      }
      identifier.name.push_back(*unit);
      identifier.escaped = true;
    } else if (!read_identifier_run(identifier.name, max_length)) {
      break;
    }
    if (identifier.name.size() > max_length) return std::nullopt;
  }
  if (identifier.name.empty()) return std::nullopt;
  return identifier;
}

}  // namespace velmo
