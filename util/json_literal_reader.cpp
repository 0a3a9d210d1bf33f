#include "util/json_literal_reader.h"

#include <array>
#include <limits>

#include "util/json_lexer.h"
#include "util/json_number_text.h"

namespace velmo {
namespace {

// JScript's reserved words, which may not stand as unquoted member names.
bool is_reserved_word(std::u16string_view name) {
  static constexpr std::array<std::u16string_view, 36> reserved = {
      u"break",    u"case",    u"catch",  u"class",      u"const", u"continue",
      u"debugger", u"default", u"delete", u"do",         u"else",  u"enum",
      u"export",   u"extends", u"false",  u"finally",    u"for",   u"function",
      u"if",       u"import",  u"in",     u"instanceof", u"new",   u"null",
      u"return",   u"super",   u"switch", u"this",       u"throw", u"true",
      u"try",      u"typeof",  u"var",    u"void",       u"while", u"with"};
  for (std::u16string_view word : reserved) {
    if (word == name) return true;
  }
  return false;
}

std::u16string widen_ascii(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

class LiteralReader {
 public:
  LiteralReader(std::u16string_view text, bool line_comment_may_end_text)
      : lexer_(text), line_comment_may_end_text_(line_comment_may_end_text) {}

  bool skip_blanks() { return lexer_.skip_blanks(line_comment_may_end_text_); }
  bool at_end() const { return lexer_.at_end(); }
  bool accept(char16_t unit) { return lexer_.accept(unit); }
  char16_t peek() const { return lexer_.peek(); }
  std::optional<JsonValue> read_value();

 private:
  std::optional<JsonValue> read_object();
  std::optional<JsonValue> read_array();
  std::optional<JsonValue> read_parenthesised();
  std::optional<JsonValue> read_signed_number();
  std::optional<JsonValue> read_named_value(bool after_sign);
  std::optional<std::u16string> read_member_name();
  bool enter();
  void leave() { --depth_; }

  JsonLexer lexer_;
  bool line_comment_may_end_text_;
  size_t depth_ = 0;
};

bool LiteralReader::enter() { return ++depth_ <= max_literal_nesting; }

std::optional<JsonValue> LiteralReader::read_value() {
  const char16_t unit = peek();
  if (lexer_.at_end()) return std::nullopt;
  if (unit == u'{') return read_object();
  if (unit == u'[') return read_array();
  if (unit == u'(') return read_parenthesised();
  if (unit == u'-' || unit == u'+') return read_signed_number();
  if (unit == u'"' || unit == u'\'') {
    std::optional<std::u16string> text = lexer_.read_string();
    if (!text) return std::nullopt;
    return JsonValue::string(std::move(*text));
  }
  if (JsonLexer::is_digit(unit) || unit == u'.') {
    const std::optional<double> number = lexer_.read_number();
    if (!number) return std::nullopt;
    return JsonValue::number(*number);
  }
  if (JsonLexer::is_identifier_start(unit) || unit == u'\\') return read_named_value(false);
  return std::nullopt;
}

// The literal names, and the global names whose values nothing here changes.
std::optional<JsonValue> LiteralReader::read_named_value(bool after_sign) {
  // No name longer than "undefined" can be one of these.
  const std::optional<JsonLexer::Identifier> identifier = lexer_.read_identifier(9);
  if (!identifier || identifier->escaped) return std::nullopt;
  const std::u16string& name = identifier->name;
  if (name == u"NaN") return JsonValue::number(std::numeric_limits<double>::quiet_NaN());
  if (name == u"Infinity") return JsonValue::number(std::numeric_limits<double>::infinity());
  if (after_sign) return std::nullopt;
  if (name == u"true") return JsonValue::boolean(true);
  if (name == u"false") return JsonValue::boolean(false);
  if (name == u"null") return JsonValue::null();
  if (name == u"undefined") return JsonValue();
  return std::nullopt;
}

std::optional<JsonValue> LiteralReader::read_signed_number() {
  const bool negative = peek() == u'-';
  lexer_.advance();
  if (!skip_blanks()) return std::nullopt;
  std::optional<JsonValue> value;
  const char16_t unit = peek();
  if (JsonLexer::is_digit(unit) || unit == u'.') {
    const std::optional<double> number = lexer_.read_number();
    if (number) value = JsonValue::number(*number);
  } else if (JsonLexer::is_identifier_start(unit)) {
    value = read_named_value(true);
  }
  if (!value) return std::nullopt;
  return negative ? JsonValue::number(-value->as_number()) : std::move(value);
}

std::optional<JsonValue> LiteralReader::read_parenthesised() {
  if (!enter()) return std::nullopt;
  lexer_.advance();
  if (!skip_blanks()) return std::nullopt;
  std::optional<JsonValue> value = read_value();
  if (!value || !skip_blanks() || !accept(u')')) return std::nullopt;
  leave();
  return value;
}

std::optional<std::u16string> LiteralReader::read_member_name() {
  const char16_t unit = peek();
  if (unit == u'"' || unit == u'\'') return lexer_.read_string();
  if (JsonLexer::is_digit(unit) || unit == u'.') {
    const std::optional<double> number = lexer_.read_number();
    if (!number) return std::nullopt;
    return widen_ascii(number_to_js_text(*number));
  }
  if (!JsonLexer::is_identifier_start(unit) && unit != u'\\') return std::nullopt;
  std::optional<JsonLexer::Identifier> identifier = lexer_.read_identifier();
  if (!identifier || is_reserved_word(identifier->name)) return std::nullopt;
  return std::move(identifier->name);
}

// A trailing comma is an error in an object, as in JScript.
std::optional<JsonValue> LiteralReader::read_object() {
  if (!enter()) return std::nullopt;
  lexer_.advance();
  JsonValue object = JsonValue::object();
  if (!skip_blanks()) return std::nullopt;
  if (!accept(u'}')) {
    for (;;) {
      std::optional<std::u16string> name = read_member_name();
      if (!name || !skip_blanks() || !accept(u':') || !skip_blanks()) return std::nullopt;
      std::optional<JsonValue> value = read_value();
      if (!value || !skip_blanks()) return std::nullopt;
      object.as_object().set(*name, std::move(*value));
      if (accept(u'}')) break;
      if (!accept(u',') || !skip_blanks()) return std::nullopt;
    }
  }
  leave();
  return object;
}

// Every comma separates two slots, as in JScript: [1,2,] has three, the last
// a hole, and an empty slot is a hole.
std::optional<JsonValue> LiteralReader::read_array() {
  if (!enter()) return std::nullopt;
  lexer_.advance();
  JsonValue array = JsonValue::array();
  std::vector<JsonValue>& elements = array.as_array().elements;
  if (!skip_blanks()) return std::nullopt;
  if (!accept(u']')) {
    for (;;) {
      if (!skip_blanks()) return std::nullopt;
      if (peek() == u',' || peek() == u']') {
        elements.push_back(JsonValue::hole());
      } else {
        std::optional<JsonValue> value = read_value();
        if (!value || !skip_blanks()) return std::nullopt;
        elements.push_back(std::move(*value));
      }
      if (accept(u']')) break;
      if (!accept(u',')) return std::nullopt;
    }
  }
  leave();
  return array;
}

}  // namespace

std::optional<ArgumentLiteral> read_argument_literal(std::u16string_view argument) {
  // The text is followed by a closing parenthesis: a line comment at its
  // end would swallow that.
  LiteralReader reader(argument, false);
  if (!reader.skip_blanks()) return std::nullopt;
  ArgumentLiteral literal;
  if (reader.at_end()) {
    literal.empty = true;
    return literal;
  }
  std::optional<JsonValue> value = reader.read_value();
  if (!value || !reader.skip_blanks() || !reader.at_end()) return std::nullopt;
  literal.value = std::move(*value);
  return literal;
}

std::optional<JsonValue> evaluate_eval_call(std::u16string_view argument) {
  std::optional<ArgumentLiteral> literal = read_argument_literal(argument);
  if (!literal) return std::nullopt;
  if (literal->empty) return JsonValue();
  if (literal->value.type() == JsonValue::Type::string) {
    return evaluate_program(literal->value.as_string());
  }
  return std::move(literal->value);
}

std::optional<JsonValue> evaluate_program(std::u16string_view program) {
  LiteralReader reader(program, true);
  JsonValue completion;
  bool has_expression = false;
  for (;;) {
    if (!reader.skip_blanks()) return std::nullopt;
    if (reader.at_end()) return completion;
    if (reader.accept(u';')) continue;
    if (reader.accept(u'{')) {  // a block, not an object, where a statement starts
      if (!reader.skip_blanks() || !reader.accept(u'}')) return std::nullopt;
      continue;
    }
    if (has_expression) return std::nullopt;
    std::optional<JsonValue> value = reader.read_value();
    if (!value || !reader.skip_blanks()) return std::nullopt;
    if (!reader.at_end() && !reader.accept(u';')) return std::nullopt;
    completion = std::move(*value);
    has_expression = true;
  }
}

std::optional<std::u16string> read_quoted_text(std::u16string_view body, char16_t quote) {
  std::u16string literal;
  literal.reserve(body.size() + 2);
  literal.push_back(quote);
  literal.append(body);
  literal.push_back(quote);
  JsonLexer lexer(literal);
  std::optional<std::u16string> value = lexer.read_string();
  if (!value || !lexer.at_end()) return std::nullopt;
  return value;
}

}  // namespace velmo
