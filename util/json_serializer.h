#pragma once
// JSON text of a value, written by the rules of the widely used json2
// JSON.stringify that a JScript engine without native JSON runs: no blanks,
// members in their order, members whose value is undefined left out, holes
// and undefined array elements written as null, numbers that are not finite
// written as null, strings quoted with json2's escapes.
#include <optional>
#include <string>

#include "util/json_value.h"

namespace velmo {

// nullopt where JSON.stringify gives undefined (an undefined value).
std::optional<std::u16string> stringify_json(const JsonValue& value);

}  // namespace velmo
