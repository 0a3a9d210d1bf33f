#include "updater/startup/process_name_match.h"

#include "util/text_search.h"

namespace velmo {

bool process_name_matches(std::string_view entry_name, std::string_view name, bool exact) {
  if (name.empty()) return false;
  if (exact) return entry_name == name;
  return ascii_lower(entry_name) == ascii_lower(name);
}

}  // namespace velmo
