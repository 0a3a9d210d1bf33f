#pragma once
// Reads the texts that a JSON document is given (a server's reply, a
// caller's value) as a JScript engine would read them where the document's
// code puts them, as long as the text is a literal: JSON, and the literal
// forms that JScript also accepts (single-quoted strings, unquoted member
// names, legacy octal numbers, comments, elided array slots, NaN, Infinity,
// undefined, parentheses). Nothing is ever run: a text that is anything but
// a literal (a call, an assignment, an operator, a function, an unknown
// name) gives nullopt, where the engine would have run it or failed.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "util/json_value.h"

namespace velmo {

// Objects, arrays and parentheses nested deeper than this are refused like a
// script error, so that nothing here or in the document's walks can run out
// of stack.
inline constexpr size_t max_literal_nesting = 512;

// The value of "eval(" argument ")": the literal's value; for a string
// literal, the value of its content read as a program (eval runs a string).
// An empty argument gives undefined.
std::optional<JsonValue> evaluate_eval_call(std::u16string_view argument);

// A literal that stands as the whole argument list of a call that does not
// evaluate it; `empty` when the list holds nothing.
struct ArgumentLiteral {
  bool empty = false;
  JsonValue value;
};
std::optional<ArgumentLiteral> read_argument_literal(std::u16string_view argument);

// The value of eval of program text: nothing, empty statements and empty
// blocks give undefined; one expression statement that is a literal gives
// that literal's value (a string stays a string).
std::optional<JsonValue> evaluate_program(std::u16string_view program);

// The value of the string literal made of quote, body and quote; nullopt
// when that is not exactly one string literal.
std::optional<std::u16string> read_quoted_text(std::u16string_view body, char16_t quote);

}  // namespace velmo
