#pragma once
// Member access inside a document's values with JScript's rules: reading a
// member of undefined or null is an error, a missing member reads as
// undefined, arrays and strings have a length, members of numbers and truth
// values read as undefined; assignment extends arrays and adds members.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "util/json_value.h"

namespace velmo {

// What evaluating a member access gives: a script error, or a value (one
// inside the document, or a length made up on the way).
class JsonLookup {
 public:
  static JsonLookup error();
  static JsonLookup of(const JsonValue& value);
  static JsonLookup of_number(double number);

  bool failed() const { return failed_; }
  // Undefined after an error.
  const JsonValue& value() const { return reference_ ? *reference_ : made_; }

 private:
  bool failed_ = false;
  const JsonValue* reference_ = nullptr;
  JsonValue made_;
};

JsonLookup look_up(const JsonValue& root, const std::vector<std::u16string>& names, size_t count);
inline JsonLookup look_up(const JsonValue& root, const std::vector<std::u16string>& names) {
  return look_up(root, names, names.size());
}

// Assigns the value at the names (the root itself for none). False, with
// the root unchanged, where the engine would raise an error, and where the
// result would nest deeper than a literal may, or would grow an array by
// more than max_array_growth empty slots at once.
inline constexpr size_t max_array_growth = size_t{1} << 20;
bool assign(JsonValue& root, const std::vector<std::u16string>& names, JsonValue value);

// The names that a for-in loop visits over the value: its own members (an
// array's elements first), then "toJSONString" and "parseJSON", which the
// engine's prelude adds to every object, unless an own member hides them.
// nullopt over undefined and null, where the loop is an error.
std::optional<std::vector<std::u16string>> for_in_names(const JsonValue& value);
// How many names the loop visits; nullopt where it is an error.
std::optional<size_t> for_in_count(const JsonValue& value);

}  // namespace velmo
