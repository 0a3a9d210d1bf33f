#include "tests/server/temp_tree.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velmo::server::testing {

TempTree::TempTree() {
  std::string pattern =
      std::filesystem::temp_directory_path().string() + "/update-server-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void TempTree::write(const std::string& relative, const std::string& contents) const {
  const std::filesystem::path target = path(relative);
  std::filesystem::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary | std::ios::trunc) << contents;
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

}  // namespace velmo::server::testing
