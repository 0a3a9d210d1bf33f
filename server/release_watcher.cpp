#include "server/release_watcher.h"

#include "server/logging.h"

namespace velmo::server {

void log_build(const ProductSettings& product, const ReleaseBuild& build) {
  for (const std::string& warning : build.warnings) log_event(product.id + ": " + warning);
  if (!build.error.empty()) {
    log_event(product.id + ": " + build.error);
    return;
  }
  log_event(product.id + ": release " + std::to_string(build.release->generation) + " published, " +
            std::to_string(build.release->manifest->entries.size()) + " files from " +
            build.release->manifest->listing.real_root);
}

ReleaseWatcher::ReleaseWatcher(CatalogHolder& catalogs, unsigned interval_seconds, unsigned threads)
    : catalogs_(catalogs), interval_seconds_(interval_seconds), threads_(threads) {}

ReleaseWatcher::~ReleaseWatcher() { stop(); }

void ReleaseWatcher::start() {
  thread_ = std::thread([this] { run(); });
}

void ReleaseWatcher::rebuild_all() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    rebuild_requested_ = true;
  }
  wake_.notify_one();
}

void ReleaseWatcher::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void ReleaseWatcher::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    auto woken = [this] { return stopping_ || rebuild_requested_; };
    if (interval_seconds_ == 0) {
      wake_.wait(lock, woken);
    } else {
      wake_.wait_for(lock, std::chrono::seconds(interval_seconds_), woken);
    }
    if (stopping_) break;
    const bool everything = rebuild_requested_;
    rebuild_requested_ = false;
    lock.unlock();
    look(everything);
    lock.lock();
  }
}

void ReleaseWatcher::look(bool rebuild_everything) {
  const std::shared_ptr<const Catalog> catalog = catalogs_.get();
  for (const auto& product : catalog->products()) look_at(*product, rebuild_everything);
}

void ReleaseWatcher::look_at(const ProductRelease& current, bool rebuild_everything) {
  const std::string& id = current.settings.id;
  if (rebuild_everything) {
    pending_.erase(id);
    return rebuild(current, true);
  }
  SourceState seen = observe_sources(current.settings);
  const SourceState built{current.manifest->listing, current.notes_source};
  if (seen.same_as(built)) {
    pending_.erase(id);
    return;
  }
  // A directory still being copied into looks different each time: wait
  // until two looks in a row agree.
  const auto earlier = pending_.find(id);
  if (earlier == pending_.end() || !earlier->second.same_as(seen)) {
    pending_[id] = std::move(seen);
    return;
  }
  pending_.erase(id);
  rebuild(current, false);
}

void ReleaseWatcher::rebuild(const ProductRelease& current, bool digest_anew) {
  ReleaseBuild build = build_release(current.settings, digest_anew ? nullptr : &current,
                                     current.generation + 1, threads_);
  if (build.release) catalogs_.publish(catalogs_.get()->with(build.release));
  log_build(current.settings, build);
}

}  // namespace velmo::server
