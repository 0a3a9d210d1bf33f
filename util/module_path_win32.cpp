#include "util/module_path_win32.h"

#include <windows.h>

#include <vector>

#include "util/text_search.h"

namespace velmo {

std::string executable_path() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // truncated: ask again with more room
  }
}

std::string run_directory() {
  const std::string path = executable_path();
  const size_t slash = last_path_separator(path);
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string executable_file_name() {
  const std::string path = executable_path();
  const size_t slash = last_path_separator(path);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace velmo
