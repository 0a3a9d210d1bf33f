#pragma once
// Lists the files of a release directory with what tells a changed file from
// an unchanged one, without reading them.
#include <cstdint>
#include <string>
#include <vector>

namespace velmo::server {

struct FoundFile {
  std::string release_path;  // relative, "/"-separated, as the file system spells it
  uint64_t size = 0;
  int64_t modified_ns = 0;
  int64_t changed_ns = 0;  // inode change time: moves with every write, even a restored mtime
  uint64_t inode = 0;

  bool operator==(const FoundFile& other) const {
    return release_path == other.release_path && size == other.size &&
           modified_ns == other.modified_ns && changed_ns == other.changed_ns &&
           inode == other.inode;
  }
};

struct ReleaseListing {
  std::string error;                 // set when the release directory itself cannot be read
  std::string real_root;             // the directory after resolving symbolic links
  std::vector<FoundFile> files;      // sorted by release_path
  std::vector<std::string> skipped;  // symbolic links, devices, unreadable folders

  bool same_contents(const ReleaseListing& other) const {
    return error == other.error && real_root == other.real_root && files == other.files;
  }
};

// Walks `root` recursively. Symbolic links inside the release are not followed
// (the root itself may be one, so that a release can be switched atomically).
ReleaseListing list_release(const std::string& root);

}  // namespace velmo::server
