#pragma once
// How a value that the document evaluates reaches the program, modelled on
// the COM layer between a script engine and its host: read as text, a
// string gives itself and any other value the empty text; read as a number
// or a truth value, the conversions of VARIANT coercion apply (true is -1, a
// string is read as a number, a failed conversion gives 0 or false).
#include <string>

#include "util/json_value.h"

namespace velmo {

std::u16string host_text(const JsonValue& value);
double host_number(const JsonValue& value);
bool host_truth(const JsonValue& value);

}  // namespace velmo
