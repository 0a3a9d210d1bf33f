#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/transfer_pieces.h"
#include "net/transfer_progress.h"

namespace velmo {
namespace {

struct Report {
  std::int64_t total, done, elapsed;
  bool operator==(const Report& other) const {
    return total == other.total && done == other.done && elapsed == other.elapsed;
  }
};

// Reports of the progress callback, one list per user data value.
struct Reports {
  std::mutex mutex;
  std::vector<Report> by_user[4];
};
Reports reports;

void record(std::int32_t user_data, std::int64_t total, std::int64_t done, std::int64_t elapsed) {
  std::lock_guard<std::mutex> lock(reports.mutex);
  reports.by_user[user_data].push_back({total, done, elapsed});
}

std::vector<Report> reports_of(std::int32_t user_data) {
  std::lock_guard<std::mutex> lock(reports.mutex);
  return reports.by_user[user_data];
}

// Waits, within a generous bound, for a report with done equal to total.
bool wait_for_last_report(std::int32_t user_data) {
  for (int i = 0; i < 500; ++i) {
    const std::vector<Report> seen = reports_of(user_data);
    if (!seen.empty() && seen.back().done == seen.back().total) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

struct Write {
  size_t size;
  std::int64_t done_before;
  bool operator==(const Write& other) const {
    return size == other.size && done_before == other.done_before;
  }
};

TEST(UploadPieces, SendsTheRemainderFirstThen2048ByteWrites) {
  struct Case {
    size_t length;
    size_t lead;
    std::vector<Write> writes;
  } cases[] = {
      {5000, 904, {{2048, 904}, {2048, 2952}}},
      {4096, 0, {{2048, 0}, {2048, 2048}}},
      {0, 0, {}},
      {100, 100, {}},
  };
  for (const Case& c : cases) {
    const std::string body(c.length, 'b');
    EXPECT_EQ(upload_lead_bytes(body.size()), c.lead) << c.length;
    TransferProgress progress(record, 3, static_cast<std::int64_t>(c.length), nullptr);
    std::vector<Write> writes;
    write_upload_pieces(body, progress, [&](std::string_view piece) {
      writes.push_back({piece.size(), progress.stored_done()});
    });
    EXPECT_EQ(writes, c.writes) << c.length;
  }
}

TEST(UploadPieces, LastReportHasDoneEqualToTotal) {
  {
    TransferProgress progress(record, 1, 5000, nullptr);
    write_upload_pieces(std::string(5000, 'b'), progress, [](std::string_view) {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    });
  }
  ASSERT_TRUE(wait_for_last_report(1));
  const std::vector<Report> seen = reports_of(1);
  for (size_t i = 0; i + 1 < seen.size(); ++i) {
    EXPECT_TRUE(seen[i].done == 904 || seen[i].done == 2952) << seen[i].done;
    EXPECT_EQ(seen[i].total, 5000);
  }
  EXPECT_EQ(seen.back().done, 5000);
}

TEST(DownloadPieces, ReadsAtMost5120BytesAtATimeUntilNothingComes) {
  std::string body(12345, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
  size_t offset = 0;
  std::vector<size_t> asked;
  std::string written;
  TransferProgress progress(nullptr, 0, 0, nullptr);
  const StreamedBody streamed = stream_download_pieces(
      [&](char* buffer, size_t size) -> std::optional<size_t> {
        asked.push_back(size);
        const size_t count = std::min(size, body.size() - offset);
        std::copy_n(body.data() + offset, count, buffer);
        offset += count;
        return count;
      },
      [&](const char* data, size_t size) {
        written.append(data, size);
        return true;
      },
      progress);
  EXPECT_EQ(written, body);
  EXPECT_EQ(streamed.received, 12345);
  EXPECT_FALSE(streamed.write_failed);
  EXPECT_FALSE(streamed.read_failed);
  EXPECT_EQ(asked, std::vector<size_t>(4, download_piece_bytes));
}

TEST(DownloadPieces, StopsReadingWhenAWriteFails) {
  int reads = 0;
  TransferProgress progress(nullptr, 0, 0, nullptr);
  const StreamedBody streamed = stream_download_pieces(
      [&](char*, size_t size) -> std::optional<size_t> {
        ++reads;
        return size;  // an endless body
      },
      [](const char*, size_t) { return false; }, progress);
  EXPECT_TRUE(streamed.write_failed);
  EXPECT_EQ(reads, 1);
}

TEST(DownloadPieces, AFailedReadEndsTheBodyAndIsTold) {
  int reads = 0;
  std::string written;
  TransferProgress progress(nullptr, 0, 0, nullptr);
  const StreamedBody streamed = stream_download_pieces(
      [&](char* buffer, size_t) -> std::optional<size_t> {
        if (++reads > 1) return std::nullopt;
        buffer[0] = 'x';
        return 1;
      },
      [&](const char* data, size_t size) {
        written.append(data, size);
        return true;
      },
      progress);
  EXPECT_TRUE(streamed.read_failed);
  EXPECT_EQ(streamed.received, 1);
  EXPECT_EQ(written, "x");
}

constexpr size_t endless = static_cast<size_t>(-1);

// Serves `total` bytes (or an endless body) in the pieces asked for, and
// fails at the read numbered `fail_at`.
PieceReader scripted_body(size_t total, int fail_at = 0) {
  auto served = std::make_shared<size_t>(0);
  auto reads = std::make_shared<int>(0);
  return [=](char* buffer, size_t size) -> std::optional<size_t> {
    if (++*reads == fail_at) return std::nullopt;
    const size_t count = std::min(size, total - *served);
    std::fill_n(buffer, count, 'm');
    *served += count;
    return count;
  };
}

TEST(MemoryBody, ReadsTheWholeBodyOrNothing) {
  struct Case {
    const char* name;
    size_t total;
    int fail_at;
    std::optional<size_t> expected_size;
  } cases[] = {
      {"small body", 25000, 0, 25000},
      {"empty body", 0, 0, 0},
      {"a read fails midway", 25000, 2, std::nullopt},
      {"exactly the limit", max_memory_body_bytes, 0, max_memory_body_bytes},
      {"one byte past the limit", max_memory_body_bytes + 1, 0, std::nullopt},
      {"endless body", endless, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> body = read_memory_body(scripted_body(c.total, c.fail_at));
    ASSERT_EQ(body.has_value(), c.expected_size.has_value()) << c.name;
    if (body) {
      EXPECT_EQ(body->size(), *c.expected_size) << c.name;
    }
  }
}

TEST(MemoryBody, StopsWhenTheTimeIsUp) {
  int asked = 0;
  const auto in_time = [&] { return ++asked < 3; };
  EXPECT_FALSE(read_memory_body(scripted_body(endless), in_time).has_value());
  EXPECT_EQ(asked, 3);
}

// A block driven by hand through the poller, one poll at a time.
struct PollScript {
  std::int64_t done;     // stored before the poll
  bool transfer_ended;   // what the probe says
  bool keeps_polling;    // the poll's result
  size_t reports_after;  // reports so far
};

TEST(ProgressPoller, ReportsGrowthAndTheEnd) {
  struct Case {
    const char* name;
    std::vector<PollScript> script;
    std::vector<std::int64_t> reported_done;
  } cases[] = {
      {"growth then end",
       {{904, false, true, 1},
        {904, false, true, 1},
        {2952, false, true, 2},
        {end_marker, false, false, 3}},
       {904, 2952, 5000}},
      {"nothing before the end", {{0, false, true, 0}, {end_marker, false, false, 1}}, {5000}},
      {"transfer gone without an end", {{904, false, true, 1}, {904, true, false, 1}}, {904}},
      {"growth is reported even after the transfer is gone", {{904, true, true, 1}}, {904}},
  };
  for (const Case& c : cases) {
    ProgressBlock block;
    block.callback = record;
    block.user_data = 2;
    block.total = 5000;
    {
      std::lock_guard<std::mutex> lock(reports.mutex);
      reports.by_user[2].clear();
    }
    ProgressPoller poller(block);
    for (const PollScript& step : c.script) {
      block.done = step.done;
      block.elapsed = 7;
      EXPECT_EQ(poller.poll([&] { return step.transfer_ended; }), step.keeps_polling) << c.name;
      EXPECT_EQ(reports_of(2).size(), step.reports_after) << c.name;
    }
    std::vector<std::int64_t> reported;
    for (const Report& report : reports_of(2)) reported.push_back(report.done);
    EXPECT_EQ(reported, c.reported_done) << c.name;
  }
}

TEST(ProgressPoller, EndReportRunsFiftyMillisecondsPastTheLastElapsed) {
  ProgressBlock block;
  block.callback = record;
  block.user_data = 0;
  block.total = 10;
  ProgressPoller poller(block);
  block.done = 4;
  block.elapsed = 120;
  poller.poll(nullptr);
  block.done = end_marker;
  poller.poll(nullptr);
  const std::vector<Report> seen = reports_of(0);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (Report{10, 4, 120}));
  EXPECT_EQ(seen[1], (Report{10, 10, 170}));
}

}  // namespace
}  // namespace velmo
