// The replies as the updater reads them: raw for state and msg, after its
// whole-reply decoding for the list.
#include <gtest/gtest.h>
#include <simdjson.h>

#include "server/json_text.h"
#include "server/release_notes.h"
#include "server/replies.h"
#include "tests/server/client_model.h"
#include "util/text_codecs.h"

namespace velmo::server {
namespace {

using testing::to_gbk;
using testing::updater_decode_reply;

struct ListedFile {
  std::string path;
  std::string url;
};

// Reads list[0] of a reply text as JSON, with the strings as UTF-8.
ListedFile first_listed(const std::string& json) {
  simdjson::dom::parser parser;
  simdjson::dom::element root;
  EXPECT_EQ(parser.parse(json).get(root), simdjson::SUCCESS) << json;
  std::string_view path, url;
  EXPECT_EQ(root["list"].at(0)["pathName"].get_string().get(path), simdjson::SUCCESS) << json;
  EXPECT_EQ(root["list"].at(0)["url"].get_string().get(url), simdjson::SUCCESS) << json;
  return {std::string(path), std::string(url)};
}

TEST(ListReplyTest, PathsAndUrlsSurviveTheUpdatersWholeReplyDecoding) {
  struct Case {
    const char* published_utf8;
    const char* expected_gbk;  // what the updater's list row must hold
    const char* url;
  };
  const Case cases[] = {
      {u8"中文/数据 1.dat", "中文/数据 1.dat", "http://h/files/app/%E4%B8%AD/x%20y?md5=1"},
      {"a b/c+d&e=f.dll", "a b/c+d&e=f.dll", "http://h/files/app/a%20b/c%2Bd%26e%3Df.dll"},
      {"100%/%41.txt", "100%/%41.txt", "http://h/files/app/100%25/%2541.txt"},
      {"../x.dll", "../x.dll", "http://h/files/app/_parent/x.dll"},
      {u8"../../lib/日志.dll", "../../lib/日志.dll", "http://h/f/_parent/_parent/lib/%E6%97%A5"},
      {"it's {ok}, [yes]", "it's {ok}, [yes]", "http://h/f/it%27s"},
  };
  for (const Case& c : cases) {
    ListReply list;
    list.add(list_item(c.published_utf8, "0123456789abcdef0123456789abcdef", c.url));
    const std::string reply = list.finish();

    simdjson::dom::parser raw_parser;
    int64_t state = 0;
    ASSERT_EQ(raw_parser.parse(reply)["state"].get_int64().get(state), simdjson::SUCCESS) << reply;
    EXPECT_EQ(state, 1);
    for (char ch : reply) EXPECT_LT(static_cast<unsigned char>(ch), 0x80) << reply;

    const ListedFile listed = first_listed(updater_decode_reply(reply));
    EXPECT_EQ(to_gbk(listed.path), c.expected_gbk) << c.published_utf8;
    EXPECT_EQ(listed.url, c.url) << c.published_utf8;
  }
}

TEST(RefusalReplyTest, MessagesAreUnicodeEscapesThatJsonReadersResolve) {
  struct Case {
    std::string_view msg;
    const char* expected_json;
  };
  const Case cases[] = {
      {msg_bad_parameter, R"({"state":0,"msg":"\u53c2\u6570\u5f02\u5e38"})"},
      {msg_bad_data, R"({"state":0,"msg":"\u6570\u636e\u5f02\u5e38"})"},
      {msg_switched_off,
       R"({"state":0,"msg":"\u8f6f\u4ef6\u5173\u95ed,\u65e0\u987b\u66f4\u65b0"})"},
      {msg_up_to_date, R"({"state":0,"msg":"\u6587\u4ef6\u4e00\u81f4,\u65e0\u987b\u66f4\u65b0"})"},
  };
  for (const Case& c : cases) EXPECT_EQ(refusal_reply(c.msg), c.expected_json) << c.msg;
}

TEST(AsciiJsonStringTest, EscapesEverythingOutsidePrintableAscii) {
  struct Case {
    std::string utf8;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", R"("plain")"},
      {"quote \" backslash \\ tab \t", R"("quote \" backslash \\ tab \u0009")"},
      {u8"中", R"("\u4e2d")"},
      {u8"😀", R"("\ud83d\ude00")"},
      {"bad \xC3 byte", R"("bad \ufffd byte")"},
      {"overlong \xC0\xAF", R"("overlong \ufffd\ufffd")"},
  };
  for (const Case& c : cases) {
    std::string out;
    append_ascii_json_string(out, c.utf8);
    EXPECT_EQ(out, c.expected) << c.utf8;
  }
}

TEST(ReleaseNotesTest, PreparedForAWindowsEditBox) {
  struct Case {
    std::string file_text;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"one\ntwo\n", "one\r\ntwo\r\n"},
      {"one\r\ntwo", "one\r\ntwo"},
      {"\xEF\xBB\xBFwith mark", "with mark"},
      {"\n\n", std::nullopt},
      {"  \t\r\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(prepare_notes(c.file_text), c.expected) << c.file_text;
}

TEST(ReleaseNotesTest, ReplyReadAsGbkBytesHoldsOnlyAscii) {
  EXPECT_EQ(notes_reply(std::string(u8"新版本\r\n")),
            R"({"state":1,"msg":"\u65b0\u7248\u672c\u000d\u000a"})");
  EXPECT_EQ(notes_reply(std::nullopt), R"({"state":0,"msg":""})");
}

}  // namespace
}  // namespace velmo::server

namespace velmo::server {
namespace {

// The model of the updater used by these tests agrees with the updater's own codecs.
TEST(UpdaterModelTest, AgreesWithTheUpdatersCodecs) {
  ListReply list;
  list.add(list_item(u8"中文 目录/100%/a+b&c.dat", "0123456789abcdef0123456789abcdef",
                     "http://h/files/app/%E4%B8%AD%20x?md5=1"));
  const std::string reply = list.finish();
  EXPECT_EQ(url_decode(reply, true), to_gbk(updater_decode_reply(reply)));
  for (const char* gbk_path : {"\\中文 目录\\数据 1.dat", "\\100%\\a+b&c_d~e.txt", "\\Velmo.exe"}) {
    EXPECT_EQ(url_encode(gbk_path, true, true), testing::updater_encode_path(gbk_path)) << gbk_path;
  }
}

}  // namespace
}  // namespace velmo::server
