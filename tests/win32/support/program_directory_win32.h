#pragma once
// A fresh program directory under the temporary directory, removed with
// everything in it when the test ends.
#include <string>

namespace velmo::test {

class ProgramDirectory {
 public:
  explicit ProgramDirectory(const std::string& name_hint = "program");
  ~ProgramDirectory();
  ProgramDirectory(const ProgramDirectory&) = delete;
  ProgramDirectory& operator=(const ProgramDirectory&) = delete;

  const std::string& path() const { return path_; }  // no trailing backslash
  std::string file(const std::string& relative) const { return path_ + "\\" + relative; }
  // Copies `source` into the directory under `name`; false on failure.
  bool add_copy(const std::string& source, const std::string& name) const;
  bool write_file(const std::string& relative, const std::string& contents) const;

 private:
  std::string path_;
};

bool file_exists(const std::string& path);
std::string read_whole_file(const std::string& path);
bool write_whole_file(const std::string& path, const std::string& contents);
// Removes a directory tree; used for clean-up only.
void remove_tree(const std::string& path);

}  // namespace velmo::test
