// The update check and the release notes against the running server.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <thread>

#include "server/file_digest.h"
#include "server/replies.h"
#include "tests/server/server_fixture.h"

namespace velmo::server::testing {
namespace {

const std::string parent_gbk_path = "../x.dll";

class CheckTest : public ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    start();
  }

  std::vector<std::string> listed_paths(const CheckReply& reply) {
    std::vector<std::string> paths;
    for (const ListedRow& row : reply.list) paths.push_back(row.gbk_path);
    return paths;
  }

  void expect_still_serving() {
    const CheckReply reply =
        check(port(), updater_check_body(access_key, inventory_of(sample_release())));
    EXPECT_EQ(reply.state, 1) << reply.raw;
    EXPECT_EQ(listed_paths(reply), std::vector<std::string>{parent_gbk_path});
  }
};

TEST_F(CheckTest, ListsWhatTheUpdaterLacksOrHoldsWithAnotherDigest) {
  const std::vector<InventoryFile> everything = inventory_of(sample_release());
  std::vector<InventoryFile> stale = everything;
  stale[1].md5 = md5_of_bytes("an older plug-in");
  std::vector<InventoryFile> shouting = everything;
  shouting[0].gbk_path = "\\VELMO.EXE";  // Windows names ignore case
  std::vector<InventoryFile> extra = everything;
  extra.push_back({"\\UpDate.exe", md5_of_bytes("an old updater")});
  extra.push_back({"\\user-data.db", md5_of_bytes("the user's own file")});

  struct Case {
    const char* what;
    std::vector<InventoryFile> inventory;
    std::vector<std::string> expected;  // GBK paths in the reply's order
  };
  const std::vector<Case> cases = {
      {"nothing installed",
       {},
       {parent_gbk_path, "100%/a+b&c.txt", "Velmo.exe", "plugins/b.dll", "中文 目录/数据 1.dat"}},
      {"all current", everything, {parent_gbk_path}},
      {"a stale plug-in", stale, {parent_gbk_path, "plugins/b.dll"}},
      {"another letter case", shouting, {parent_gbk_path}},
      {"files the release does not hold", extra, {parent_gbk_path}},
  };
  for (const Case& c : cases) {
    const CheckReply reply = check(port(), updater_check_body(access_key, c.inventory));
    EXPECT_EQ(reply.http_status, 200) << c.what;
    EXPECT_EQ(reply.state, 1) << c.what << ": " << reply.raw;
    EXPECT_EQ(listed_paths(reply), c.expected) << c.what;
  }
}

TEST_F(CheckTest, ListedRowsCarryDigestAndADownloadThatMatchesIt) {
  const CheckReply reply = check(port(), updater_check_body(access_key, {}));
  ASSERT_EQ(reply.list.size(), 5u) << reply.raw;
  for (const ListedRow& row : reply.list) {
    const std::string target = local_target(row.url);
    ASSERT_FALSE(target.empty()) << row.url;
    const HttpReply download = get(port(), target);
    EXPECT_EQ(download.status, 200) << row.url;
    EXPECT_GT(std::stoull(download.headers.at("content-length")), 0u) << row.url;
    EXPECT_EQ(md5_of_bytes(download.body), row.md5) << row.url;
  }
}

TEST_F(CheckTest, RefusalsCarryTheTextsTheUpdaterKnows) {
  // A release whose every file the updater holds: only the parent file stays,
  // which the updater cannot report; a product without it is up to date.
  std::filesystem::remove(tree_.path("release/_parent/x.dll"));
  server_->signal(SIGHUP);
  const std::string all = updater_check_body(access_key, inventory_of(sample_release()));
  for (int i = 0; i < 100 && check(port(), all).state != 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  struct Case {
    std::string body;
    std::string_view msg;
  };
  const Case cases[] = {
      {all, msg_up_to_date},
      {updater_check_body(switched_off_key, {}), msg_switched_off},
      {updater_check_body("unknown", {}), msg_bad_parameter},
      {"list=[]", msg_bad_parameter},
      {"", msg_bad_parameter},
      {"key=" + access_key.substr(0, 31) + "&list=[]", msg_bad_parameter},
      {"key=\"" + access_key + "\"&list=[]", msg_bad_parameter},
      {"key='); drop table keys; --&list=[]", msg_bad_parameter},
  };
  for (const Case& c : cases) {
    const CheckReply reply = check(port(), c.body);
    EXPECT_EQ(reply.state, 0) << c.body << ": " << reply.raw;
    EXPECT_EQ(reply.msg, c.msg) << c.body;
  }
}

TEST_F(CheckTest, HostileBodiesGetTheirAnswerAndTheServerGoesOn) {
  const std::string digest = md5_of_bytes("");
  const std::string key = "key=" + access_key;
  struct Case {
    std::string body;
    std::string_view msg;  // empty: an ordinary list reply
  };
  const Case cases[] = {
      {key, msg_bad_data},
      {key + "&list=", msg_bad_data},
      {key + "&list=[{\"pathName\": \"%5Ca\",", msg_bad_data},
      {key + "&list={}", msg_bad_data},
      {key + "&list=[{\"pathName\": \"%5Ca%00b\",\"md5\": \"" + digest + "\"}]", msg_bad_data},
      {key + "&list=[{\"pathName\": \"%5Ca\\u0000b\",\"md5\": \"" + digest + "\"}]", msg_bad_data},
      {key + "&list=[{\"pathName\": \"%zz\",\"md5\": \"" + digest + "\"}]", msg_bad_data},
      {key + "&list=[{\"pathName\": \"%5Ca\",\"md5\": \"not a digest\"}]", msg_bad_data},
      {key + "&list=" + std::string(20000, '['), msg_bad_data},
      {key + "&list=[\"" + std::string(100000, 'x') + "\"]", msg_bad_data},
      {key + "&list=[{\"pathName\": \"%5C..%5C..%5CWindows%5Cwin.ini\",\"md5\": \"" + digest +
           "\"}]",
       {}},
      {key + "&list=[{\"pathName\": \"..%2F..%2Fetc%2Fpasswd\",\"md5\": \"" + digest + "\"}]", {}},
      {key + "&list=[{\"pathName\": \"%5CVelmo.exe\",\"md5\": \"" + digest +
           "\",\"extra\": [1,{}]}]",
       {}},
      {key + "&list=[]&list=[1]", msg_bad_data},
      {std::string("key=\0&list=[]", 13), msg_bad_parameter},
  };
  for (const Case& c : cases) {
    const CheckReply reply = check(port(), c.body);
    EXPECT_EQ(reply.http_status, 200) << c.body.substr(0, 120);
    if (c.msg.empty()) {
      EXPECT_EQ(reply.state, 1) << c.body.substr(0, 120) << ": " << reply.raw.substr(0, 200);
      EXPECT_EQ(reply.list.size(), 5u) << c.body.substr(0, 120);
    } else {
      EXPECT_EQ(reply.state, 0) << c.body.substr(0, 120);
      EXPECT_EQ(reply.msg, c.msg) << c.body.substr(0, 120);
    }
  }
  expect_still_serving();
}

TEST_F(CheckTest, ReleaseNotesByKey) {
  struct Case {
    std::string target;
    int64_t state;
    std::string msg;
  };
  const Case cases[] = {
      {"/api/update/notes?key=" + access_key, 1, u8"新版本：修复了问题\r\n第二行\r\n"},
      {"/api/update/notes?key=" + silent_key, 0, ""},
      {"/api/update/notes?key=" + switched_off_key, 0, ""},
      {"/api/update/notes?key=unknown", 0, std::string(msg_bad_parameter)},
      {"/api/update/notes", 0, std::string(msg_bad_parameter)},
      {"/api/update/notes?key=%22%27%00", 0, std::string(msg_bad_parameter)},
      {"/api/update/notes?key=%zz", 0, std::string(msg_bad_parameter)},
  };
  for (const Case& c : cases) {
    const HttpReply http = get(port(), c.target);
    EXPECT_EQ(http.status, 200) << c.target;
    for (char ch : http.body) EXPECT_LT(static_cast<unsigned char>(ch), 0x80) << c.target;
    const CheckReply reply = read_check_reply(http);
    EXPECT_EQ(reply.state, c.state) << c.target << ": " << http.body;
    EXPECT_EQ(reply.msg, c.msg) << c.target;
  }
}

}  // namespace
}  // namespace velmo::server::testing
