#include "net/transfer_progress.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace velmo {
namespace {

constexpr std::chrono::milliseconds poll_interval{10};
// The end report's elapsed value runs this far past the last one seen.
constexpr std::int64_t end_report_allowance_ms = 50;

// A monotonic clock: the elapsed time never runs backwards when the system
// time is set back during a transfer.
std::int64_t now_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void poll_until_over(const std::shared_ptr<ProgressBlock>& block,
                     const TransferEndedProbe& transfer_ended) {
  ProgressPoller poller(*block);
  while (poller.poll(transfer_ended)) std::this_thread::sleep_for(poll_interval);
}

}  // namespace

bool ProgressPoller::poll(const TransferEndedProbe& transfer_ended) {
  const std::int64_t previous = current_;
  current_ = block_.done.load();
  if (current_ > 0 && current_ > previous) {
    const std::int64_t elapsed = block_.elapsed.load();
    block_.callback(block_.user_data, block_.total, current_, elapsed);
    last_elapsed_ = elapsed + end_report_allowance_ms;
    return true;
  }
  if (current_ == end_marker) {
    block_.callback(block_.user_data, block_.total, block_.total, last_elapsed_);
    return false;
  }
  return !(transfer_ended && transfer_ended());
}

bool start_progress_thread(std::shared_ptr<ProgressBlock> block,
                           TransferEndedProbe transfer_ended) {
  try {
    std::thread(poll_until_over, std::move(block), std::move(transfer_ended)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

TransferProgress::TransferProgress(ProgressCallback callback, std::int32_t user_data,
                                   std::int64_t total, TransferEndedProbe transfer_ended) {
  if (!callback) return;
  auto block = std::make_shared<ProgressBlock>();
  block->callback = callback;
  block->user_data = user_data;
  block->total = total;
  start_ms_ = now_ms();
  if (start_progress_thread(block, std::move(transfer_ended))) block_ = std::move(block);
}

void TransferProgress::store_done(std::int64_t done) {
  done_ = done;
  if (!block_) return;
  block_->done.store(done);
  block_->elapsed.store(now_ms() - start_ms_);
}

void TransferProgress::finish() {
  if (!block_) return;
  block_->done.store(end_marker);
  block_.reset();
}

}  // namespace velmo
