#include "server/release_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace velmo::server {
namespace {

int64_t nanoseconds(const timespec& time) {
  return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

class Walker {
 public:
  explicit Walker(ReleaseListing& listing) : listing_(listing) {}

  // Takes ownership of `dir_fd`.
  void walk(int dir_fd, const std::string& prefix) {
    DIR* dir = ::fdopendir(dir_fd);
    if (dir == nullptr) {
      ::close(dir_fd);
      listing_.skipped.push_back(prefix + " (cannot be listed)");
      return;
    }
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      visit(::dirfd(dir), name, prefix + name);
    }
    ::closedir(dir);
  }

 private:
  void visit(int dir_fd, const std::string& name, const std::string& path) {
    struct stat info {};
    if (::fstatat(dir_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      listing_.skipped.push_back(path + " (cannot be examined)");
      return;
    }
    if (S_ISDIR(info.st_mode)) {
      const int child =
          ::openat(dir_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child < 0) {
        listing_.skipped.push_back(path + " (cannot be opened)");
        return;
      }
      walk(child, path + "/");
    } else if (S_ISREG(info.st_mode)) {
      listing_.files.push_back({path, static_cast<uint64_t>(info.st_size),
                                nanoseconds(info.st_mtim), nanoseconds(info.st_ctim),
                                static_cast<uint64_t>(info.st_ino)});
    } else {
      listing_.skipped.push_back(path + " (not a regular file)");
    }
  }

  ReleaseListing& listing_;
};

}  // namespace

ReleaseListing list_release(const std::string& root) {
  ReleaseListing listing;
  char resolved[PATH_MAX];
  if (::realpath(root.c_str(), resolved) == nullptr) {
    listing.error = root + ": " + std::strerror(errno);
    return listing;
  }
  listing.real_root = resolved;
  const int fd = ::open(resolved, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    listing.error = root + ": " + std::strerror(errno);
    return listing;
  }
  Walker(listing).walk(fd, "");
  std::sort(listing.files.begin(), listing.files.end(),
            [](const FoundFile& a, const FoundFile& b) { return a.release_path < b.release_path; });
  return listing;
}

}  // namespace velmo::server
