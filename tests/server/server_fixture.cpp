#include "tests/server/server_fixture.h"

#include <simdjson.h>

#include "server/file_digest.h"

namespace velmo::server::testing {
namespace {

std::string string_member(simdjson::dom::element element, const char* name) {
  std::string_view text;
  if (element[name].get_string().get(text) != simdjson::SUCCESS) return "<missing>";
  return std::string(text);
}

}  // namespace

CheckReply read_check_reply(const HttpReply& reply) {
  CheckReply result;
  result.http_status = reply.status;
  result.raw = reply.body;
  simdjson::dom::parser raw_parser;
  simdjson::dom::element raw;
  if (raw_parser.parse(reply.body).get(raw) != simdjson::SUCCESS) return result;
  if (raw["state"].get_int64().get(result.state) != simdjson::SUCCESS) result.state = -1;
  result.msg = string_member(raw, "msg");
  if (result.state == 0) return result;

  simdjson::dom::parser decoded_parser;
  simdjson::dom::array list;
  if (decoded_parser.parse(updater_decode_reply(reply.body))["list"].get_array().get(list) !=
      simdjson::SUCCESS) {
    return result;
  }
  for (simdjson::dom::element row : list) {
    result.list.push_back({to_gbk(string_member(row, "pathName")), string_member(row, "md5"),
                           string_member(row, "url")});
  }
  return result;
}

CheckReply check(int port, const std::string& body) {
  return read_check_reply(post(port, "/api/update/check", body));
}

const std::vector<ReleaseFile>& sample_release() {
  static const std::vector<ReleaseFile> files = {
      {"Velmo.exe", "\\Velmo.exe", "the main program"},
      {"plugins/b.dll", "\\plugins\\b.dll", "a plug-in"},
      {u8"中文 目录/数据 1.dat", "\\中文 目录\\数据 1.dat", "data with a Chinese path"},
      {"100%/a+b&c.txt", "\\100%\\a+b&c.txt", "awkward characters"},
  };
  return files;
}

std::vector<InventoryFile> inventory_of(const std::vector<ReleaseFile>& files) {
  std::vector<InventoryFile> inventory;
  for (const ReleaseFile& file : files)
    inventory.push_back({file.gbk_path, md5_of_bytes(file.contents)});
  return inventory;
}

void ServerTest::SetUp() {
  for (const ReleaseFile& file : sample_release())
    tree_.write("release/" + file.release_path, file.contents);
  tree_.write("release/_parent/x.dll", "beside the program directory");
  tree_.write("release/UpDate.exe", "the updater: never listed");
  tree_.write("release/Config.ini", "[SoftName]\r\nName=Velmo.exe\r\n");
  tree_.write("notes.txt", u8"新版本：修复了问题\n第二行\n");
  tree_.write("server.ini",
              "[server]\nrescan_interval = 1\n"
              "[product app]\nkey = " +
                  access_key +
                  "\nrelease = release\nnotes = notes.txt\n"
                  "[product closed]\nkey = " +
                  switched_off_key +
                  "\nrelease = release\nupdates = off\n"
                  "[product silent]\nkey = " +
                  silent_key + "\nrelease = release\n");
}

void ServerTest::start(std::vector<std::string> extra_arguments) {
  std::vector<std::string> arguments = {"--config", tree_.path("server.ini")};
  arguments.insert(arguments.end(), extra_arguments.begin(), extra_arguments.end());
  server_ = std::make_unique<ServerProcess>(arguments, tree_.root());
}

std::string ServerTest::local_target(const std::string& url) const {
  const std::string prefix = "http://127.0.0.1:" + std::to_string(port());
  return url.rfind(prefix, 0) == 0 ? url.substr(prefix.size()) : std::string();
}

}  // namespace velmo::server::testing
