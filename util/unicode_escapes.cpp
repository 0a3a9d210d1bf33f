// decode_unicode_escapes: what the script text
//   function xx(){var x='<text>';return unescape(x);}
// returns, computed directly. The text can never leave the literal: every
// apostrophe in it is replaced by a typographic one first.
#include "util/ecmascript_text.h"
#include "util/gbk_text.h"
#include "util/text_codecs.h"

namespace velmo {
namespace {

constexpr std::string_view line_break_marker = "{$}";
constexpr std::string_view right_single_quote = "\xA1\xAF";  // "’" in GBK

// Steps that make the text fit between the literal's quotes.
std::string prepare_for_literal(std::string_view text) {
  std::string prepared = replace_all_characters(text, "\r\n", line_break_marker);
  if (!prepared.empty() && prepared.front() == '\r') prepared.erase(0, 1);
  prepared = replace_all_characters(prepared, "\\u", "%u");
  return replace_all_characters(prepared, "'", right_single_quote);
}

// The script's result as GBK text: empty when the literal does not compile.
std::string evaluate_literal(std::string_view prepared) {
  const std::optional<std::u16string> value =
      read_single_quoted_literal(bytes_to_wide(prepared, code_page_gbk));
  if (!value) return {};
  return wide_to_multibyte(ecmascript_unescape(*value), code_page_gbk);
}

std::string restore_marks(std::string_view result) {
  const std::string quotes = replace_all_characters(result, right_single_quote, "'");
  return replace_all_characters(quotes, line_break_marker, "\r\n");
}

}  // namespace

std::string decode_unicode_escapes(std::string_view text) {
  const std::string prepared = prepare_for_literal(text_before_nul(text));
  std::string result = evaluate_literal(prepared);
  if (result.empty()) result = unicode_bytes_to_text(prepared);
  return restore_marks(result);
}

}  // namespace velmo
