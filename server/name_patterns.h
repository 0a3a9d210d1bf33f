#pragma once
// Files of a release that the updater must never be told to replace, named by
// shell patterns. A pattern without "/" is matched against the file's own
// name at any depth; a pattern with "/" against the whole path relative to the
// release directory. Matching ignores ASCII case, as Windows does.
#include <string>
#include <string_view>
#include <vector>

namespace velmo::server {

// The updater itself, its launcher and the launcher's settings file.
std::vector<std::string> default_excluded_patterns();

class NamePatterns {
 public:
  explicit NamePatterns(std::vector<std::string> patterns) : patterns_(std::move(patterns)) {}

  bool matches(std::string_view release_path) const;
  const std::vector<std::string>& patterns() const { return patterns_; }

 private:
  std::vector<std::string> patterns_;
};

}  // namespace velmo::server
