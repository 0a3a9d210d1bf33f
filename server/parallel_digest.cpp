#include "server/parallel_digest.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "server/file_digest.h"

namespace velmo::server {

std::vector<std::optional<std::string>> md5_of_files(const std::vector<std::string>& paths,
                                                     unsigned threads) {
  std::vector<std::optional<std::string>> digests(paths.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < paths.size(); i = next++) digests[i] = md5_of_file(paths[i]);
  };
  const size_t helpers = std::min<size_t>(std::max(threads, 1u), paths.size());
  std::vector<std::thread> pool;
  for (size_t i = 1; i < helpers; ++i) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
  return digests;
}

}  // namespace velmo::server
