#include "net/plain_file_name.h"

#include "util/text_search.h"

namespace velmo {

bool is_plain_file_name(std::string_view name) {
  if (name.find_first_not_of(". ") == std::string_view::npos) return false;
  if (name.find_first_of("/:") != std::string_view::npos) return false;
  return last_path_separator(name) == std::string_view::npos;
}

}  // namespace velmo
