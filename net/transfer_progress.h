#pragma once
// Progress of one transfer: the transferring thread stores how far it is in
// a shared block, and a progress thread of its own polls the block every
// 10 milliseconds and calls the caller's callback when the amount has grown,
// so that the callback never runs on the transferring thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace velmo {

// Called on the progress thread with the caller's user data, the total, the
// bytes done so far and the milliseconds since the transfer began. The last
// call of a transfer has done equal to total.
using ProgressCallback = void (*)(std::int32_t user_data, std::int64_t total, std::int64_t done,
                                  std::int64_t elapsed_ms);

// Stored as done when the transfer has ended.
inline constexpr std::int64_t end_marker = -768;

// Shared by the transferring thread and its progress thread; done and
// elapsed are read and written whole, without a lock, on 32-bit builds too.
static_assert(std::atomic<std::int64_t>::is_always_lock_free);
struct ProgressBlock {
  ProgressCallback callback = nullptr;
  std::int32_t user_data = 0;
  std::int64_t total = 0;
  std::atomic<std::int64_t> done{0};
  std::atomic<std::int64_t> elapsed{0};
};

// Tells whether the transferring thread has ended; the progress thread
// stops without a last report when it has, without storing the end marker.
using TransferEndedProbe = std::function<bool()>;

// One poll of the progress thread's loop. Returns false when polling is over.
class ProgressPoller {
 public:
  explicit ProgressPoller(const ProgressBlock& block) : block_(block) {}
  bool poll(const TransferEndedProbe& transfer_ended);

 private:
  const ProgressBlock& block_;
  std::int64_t current_ = 0;
  std::int64_t last_elapsed_ = 0;
};

// Starts the progress thread on `block` and lets it go; it ends by itself.
// False when no thread could be started.
bool start_progress_thread(std::shared_ptr<ProgressBlock> block, TransferEndedProbe transfer_ended);

// The transferring side: makes the block and starts the progress thread when
// there is a callback, stores done and elapsed, and stores the end marker
// when the transfer finishes (at the latest when this object goes).
class TransferProgress {
 public:
  TransferProgress(ProgressCallback callback, std::int32_t user_data, std::int64_t total,
                   TransferEndedProbe transfer_ended);
  ~TransferProgress() { finish(); }
  TransferProgress(const TransferProgress&) = delete;
  TransferProgress& operator=(const TransferProgress&) = delete;

  bool active() const { return block_ != nullptr; }
  void store_done(std::int64_t done);
  void add_done(std::int64_t bytes) { store_done(done_ + bytes); }
  void finish();
  // What the progress thread reads as done now (0 without a callback).
  std::int64_t stored_done() const { return block_ ? block_->done.load() : 0; }

 private:
  std::shared_ptr<ProgressBlock> block_;
  std::int64_t done_ = 0;
  std::int64_t start_ms_ = 0;
};

}  // namespace velmo
