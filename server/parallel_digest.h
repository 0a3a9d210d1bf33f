#pragma once
// Digests many files at once on several threads, each file streamed.
#include <optional>
#include <string>
#include <vector>

namespace velmo::server {

// One result per path, in the same order; nullopt for a file that could not be read.
std::vector<std::optional<std::string>> md5_of_files(const std::vector<std::string>& paths,
                                                     unsigned threads);

}  // namespace velmo::server
