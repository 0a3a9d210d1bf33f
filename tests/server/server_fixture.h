#pragma once
// A running update-server over a small release, and the update check as the
// updater sees it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/server/client_model.h"
#include "tests/server/server_process.h"
#include "tests/server/temp_tree.h"

namespace velmo::server::testing {

inline const std::string access_key = "c47e0f9a2d51b6e8f03a7c95d2e4b1f6";
inline const std::string switched_off_key = "0ff0ff0ff0ff0ff0ff0ff0ff0ff0ff00";
inline const std::string silent_key =
    "5115e475115e475115e475115e475100";  // a product without notes

struct ListedRow {
  std::string gbk_path;  // as the updater's list row holds it
  std::string md5;
  std::string url;
  bool operator==(const ListedRow& other) const {
    return gbk_path == other.gbk_path && md5 == other.md5 && url == other.url;
  }
};

struct CheckReply {
  int http_status = 0;
  int64_t state = -1;
  std::string msg;  // UTF-8
  std::vector<ListedRow> list;
  std::string raw;
};

// Reads a reply as the updater does: state and msg raw, list after decoding.
CheckReply read_check_reply(const HttpReply& reply);
CheckReply check(int port, const std::string& body);

// The release files and their updater-side (GBK) paths.
struct ReleaseFile {
  std::string release_path;  // UTF-8, on disk
  std::string gbk_path;      // in the updater's inventory, "\\..." form
  std::string contents;
};
const std::vector<ReleaseFile>& sample_release();
std::vector<InventoryFile> inventory_of(const std::vector<ReleaseFile>& files);

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void start(std::vector<std::string> extra_arguments = {});
  int port() const { return server_->port(); }
  // The path of a download URL on this server, or empty.
  std::string local_target(const std::string& url) const;

  TempTree tree_;
  std::unique_ptr<ServerProcess> server_;
};

}  // namespace velmo::server::testing
