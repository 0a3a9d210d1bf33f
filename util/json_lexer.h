#pragma once
// The tokens of JScript source that literals are made of: blanks and
// comments, string literals, numeric literals and identifier names, read
// from UTF-16 text by the lexical rules of ECMAScript 3 as JScript applies
// them (legacy octal literals and escapes, "\v" standing for "v").
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmo {

class JsonLexer {
 public:
  explicit JsonLexer(std::u16string_view text) : text_(text) {}

  bool at_end() const { return position_ >= text_.size(); }
  char16_t peek() const { return at_end() ? u'\0' : text_[position_]; }
  void advance() { ++position_; }
  // Skips one expected unit; false when another one is there.
  bool accept(char16_t unit);

  // Skips white space, line breaks and comments. Fails on an unterminated
  // comment, on a conditional-compilation comment (it would run code), and,
  // when line_comment_may_end_text is false, on a "//" comment that runs to
  // the end of the text (it would swallow the code that follows the text).
  bool skip_blanks(bool line_comment_may_end_text);

  // At a quote: the string literal's value.
  std::optional<std::u16string> read_string();
  // At a digit or ".": the numeric literal's value.
  std::optional<double> read_number();
  // At an identifier start: the name with its \u escapes resolved.
  struct Identifier {
    std::u16string name;
    bool escaped = false;
  };
  // A name longer than max_length is refused without being read to its end.
  std::optional<Identifier> read_identifier(size_t max_length = std::u16string::npos);

  static bool is_identifier_start(char16_t unit);
  static bool is_digit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

 private:
  bool skip_comment(bool line_comment_may_end_text);
  bool read_escape(std::u16string& out);
  std::optional<char16_t> read_hex_units(size_t count);
  std::optional<double> read_legacy_octal_or_decimal();
  std::optional<double> read_decimal();
  bool skip_digits();
  bool number_end_is_clean() const;
  bool read_identifier_run(std::u16string& name, size_t max_length);

  std::u16string_view text_;
  size_t position_ = 0;
};

bool is_js_blank(char16_t unit);
bool is_js_line_terminator(char16_t unit);

}  // namespace velmo
