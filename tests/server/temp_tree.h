#pragma once
// A scratch directory removed at the end of the test, and files written in it.
#include <filesystem>
#include <string>

namespace velmo::server::testing {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& root() const { return root_; }
  std::string path(const std::string& relative) const { return root_ + "/" + relative; }
  // Writes `contents` to `relative`, making its directories.
  void write(const std::string& relative, const std::string& contents) const;

 private:
  std::string root_;
};

std::string read_file(const std::string& path);

}  // namespace velmo::server::testing
