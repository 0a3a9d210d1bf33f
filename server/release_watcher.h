#pragma once
// Keeps each product's release current: looks for changes at an interval and
// rebuilds a release once its directory has stood still for one more look, or
// at once on request (SIGHUP). A new release replaces the old one whole.
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "server/catalog.h"
#include "server/release_builder.h"

namespace velmo::server {

class ReleaseWatcher {
 public:
  ReleaseWatcher(CatalogHolder& catalogs, unsigned interval_seconds, unsigned threads);
  ~ReleaseWatcher();
  ReleaseWatcher(const ReleaseWatcher&) = delete;
  ReleaseWatcher& operator=(const ReleaseWatcher&) = delete;

  void start();
  void rebuild_all();  // digests every file anew, from any thread
  void stop();

 private:
  void run();
  void look(bool rebuild_everything);
  void look_at(const ProductRelease& current, bool rebuild_everything);
  void rebuild(const ProductRelease& current, bool digest_anew);

  CatalogHolder& catalogs_;
  unsigned interval_seconds_;
  unsigned threads_;
  std::map<std::string, SourceState> pending_;  // product id -> a change seen once
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool rebuild_requested_ = false;
  std::thread thread_;
};

// Logs a build's warnings and error under the product's name.
void log_build(const ProductSettings& product, const ReleaseBuild& build);

}  // namespace velmo::server
