#include "server/name_patterns.h"

#include <fnmatch.h>

namespace velmo::server {

std::vector<std::string> default_excluded_patterns() {
  return {"UpDate.exe", "launcher.exe", "Config.ini"};
}

bool NamePatterns::matches(std::string_view release_path) const {
  const std::string path(release_path);
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (const std::string& pattern : patterns_) {
    const bool whole_path = pattern.find('/') != std::string::npos;
    const std::string& subject = whole_path ? path : name;
    if (fnmatch(pattern.c_str(), subject.c_str(), FNM_PATHNAME | FNM_CASEFOLD) == 0) return true;
  }
  return false;
}

}  // namespace velmo::server
