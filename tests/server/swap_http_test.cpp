// Releases change under the running server: by a signal, or seen by its rescans.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <thread>

#include "server/file_digest.h"
#include "server/replies.h"
#include "tests/server/server_fixture.h"

namespace velmo::server::testing {
namespace {

constexpr int changed_files = 200;

class SwapTest : public ServerTest {
 protected:
  // Two complete releases; "release" is a symbolic link to the current one.
  void SetUp() override {
    ServerTest::SetUp();
    std::filesystem::rename(tree_.path("release"), tree_.path("release-a"));
    std::filesystem::copy(tree_.path("release-a"), tree_.path("release-b"),
                          std::filesystem::copy_options::recursive);
    for (int i = 0; i < changed_files; ++i) {
      const std::string name = "many/file" + std::to_string(i) + ".dll";
      tree_.write("release-a/" + name, "old " + std::to_string(i));
      tree_.write("release-b/" + name, "new " + std::to_string(i));
      inventory_.push_back(
          {"\\many\\file" + std::to_string(i) + ".dll", md5_of_bytes("old " + std::to_string(i))});
    }
    for (const InventoryFile& file : inventory_of(sample_release())) inventory_.push_back(file);
    std::filesystem::create_symlink("release-a", tree_.path("release"));
  }

  void switch_release() {
    std::filesystem::create_symlink("release-b", tree_.path("release.next"));
    std::filesystem::rename(tree_.path("release.next"), tree_.path("release"));
  }

  std::string body() const { return updater_check_body(access_key, inventory_); }

  std::vector<InventoryFile> inventory_;
};

TEST_F(SwapTest, ChecksDuringAReleaseChangeSeeTheOldOrTheNewReleaseWhole) {
  start({"--rescan-interval", "0"});
  const std::string old_reply = post(port(), "/api/update/check", body()).body;
  ASSERT_NE(old_reply.find("x.dll"), std::string::npos) << old_reply;

  std::atomic<bool> done{false};
  std::vector<std::vector<std::string>> seen(4);
  std::vector<std::thread> checkers;
  for (auto& replies : seen) {
    checkers.emplace_back([&, &mine = replies] {
      for (int i = 0; i < 2000 && !done; ++i)
        mine.push_back(post(port(), "/api/update/check", body()).body);
    });
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  switch_release();
  server_->signal(SIGHUP);
  std::string new_reply = old_reply;
  for (int i = 0; i < 200 && new_reply == old_reply; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    new_reply = post(port(), "/api/update/check", body()).body;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  done = true;
  for (std::thread& checker : checkers) checker.join();

  ASSERT_NE(new_reply, old_reply);
  EXPECT_EQ(read_check_reply({200, {}, new_reply}).list.size(), changed_files + 1u);
  std::set<std::string> distinct;
  size_t total = 0;
  for (const auto& replies : seen) {
    total += replies.size();
    for (const std::string& reply : replies) {
      EXPECT_TRUE(reply == old_reply || reply == new_reply) << reply.substr(0, 300);
      distinct.insert(reply);
    }
  }
  EXPECT_GT(total, 0u);
  EXPECT_EQ(get(port(), "/healthz").status, 200);
}

TEST_F(SwapTest, ARescanPicksUpAChangedFileOnceItStandsStill) {
  start({"--rescan-interval", "1"});
  tree_.write("release-a/plugins/b.dll", "a newer plug-in");
  CheckReply reply;
  for (int i = 0; i < 200; ++i) {
    reply = check(port(), body());
    if (reply.list.size() == 2) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(reply.list.size(), 2u) << reply.raw;
  EXPECT_EQ(reply.list[1].gbk_path, "plugins/b.dll");
  EXPECT_EQ(reply.list[1].md5, md5_of_bytes("a newer plug-in"));
  EXPECT_NE(get(port(), "/healthz").body.find("\"generation\":2"), std::string::npos);
}

}  // namespace
}  // namespace velmo::server::testing
