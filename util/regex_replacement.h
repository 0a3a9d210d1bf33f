#pragma once
// The subject with its matches replaced, as ECMAScript's String.replace
// expands the replacement: $$ a dollar, $& the match, $` the text before it,
// $' the text after it, $n and $nn a group (empty when it took part in no
// match); a "$" that starts none of these stays.
#include <string>
#include <string_view>
#include <vector>

#include "util/regex_program.h"

namespace velmo::regex {

std::u16string replace_matches(std::u16string_view subject, const std::vector<Captures>& matches,
                               std::u16string_view replacement);

}  // namespace velmo::regex
