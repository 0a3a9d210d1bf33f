#pragma once
#include <string_view>

namespace velmo {

// Whether a process snapshot's executable file name names the main program:
// byte for byte when `exact`, otherwise with ASCII letters A-Z lowered on both
// sides. An empty name matches nothing.
bool process_name_matches(std::string_view entry_name, std::string_view name, bool exact);

}  // namespace velmo
