// The WinHttp client against a loopback server that records every request:
// request preparation, uploads in pieces, streamed downloads with progress,
// the header queries, and broken or hostile replies.
#include "net/winhttp_client_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/support/loopback_server_win32.h"

namespace velmo {
namespace {

using test::answer_and_close;
using test::answer_endlessly;
using test::answer_nothing;
using test::answer_with;
using test::LoopbackConnection;
using test::LoopbackServer;
using test::RecordedRequest;
using test::reply_until_close;
using test::reply_with_length;

// A fresh directory under the temporary directory, removed with its files.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    path_ = std::string(temp, length) + "velmo-net-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchDirectory() {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA(file(found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

bool file_exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool write_file(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary);
  out << contents;
  return static_cast<bool>(out);
}

struct Report {
  std::int64_t total;
  std::int64_t done;
  DWORD thread_id;
};

// The progress reports of every transfer, by user data.
class ProgressLog {
 public:
  void add(std::int32_t user_data, const Report& report) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (user_data >= 0 && user_data < slots) reports_[user_data].push_back(report);
  }
  std::vector<Report> of(std::int32_t user_data) {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_[user_data];
  }
  // Waits within a generous bound for the last report (done equal to total).
  std::vector<Report> wait_for_end(std::int32_t user_data) {
    for (int i = 0; i < 500; ++i) {
      const std::vector<Report> seen = of(user_data);
      if (!seen.empty() && seen.back().done == seen.back().total) return seen;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return of(user_data);
  }

  static constexpr std::int32_t slots = 64;

 private:
  std::mutex mutex_;
  std::vector<Report> reports_[slots];
};
ProgressLog progress_log;
std::int32_t next_user_data = 0;

void record_progress(std::int32_t user_data, std::int64_t total, std::int64_t done, std::int64_t) {
  progress_log.add(user_data, {total, done, GetCurrentThreadId()});
}

std::int32_t fresh_user_data() { return next_user_data++; }

std::string patterned(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251) & 0xFF);
  return bytes;
}

TEST(WinHttpClient, ReportsThatThePlatformIsUsable) {
  WinHttpClient client;
  EXPECT_TRUE(client.platform_ok());
}

TEST(WinHttpClient, OpenPreparesTheRequestForTheUrl) {
  struct Case {
    std::string url_tail;
    std::string method;
    std::string expected_line;
  } cases[] = {
      {"/Path/File.bin?x=1", "get", "GET /Path/File.bin?x=1 HTTP/1.1"},
      {"", "GET", "GET / HTTP/1.1"},
      {"/a", "post", "POST /a HTTP/1.1"},
  };
  LoopbackServer server(answer_with(reply_with_length("ok")));
  for (const Case& c : cases) {
    WinHttpClient client;
    // No scheme and the host in capitals: plain HTTP to the named port.
    ASSERT_TRUE(client.open(c.method, "LOCALHOST:" + std::to_string(server.port()) + c.url_tail))
        << c.url_tail;
    ASSERT_TRUE(client.send()) << c.url_tail;
    ASSERT_FALSE(server.requests().empty());
    const RecordedRequest sent = server.requests().back();
    EXPECT_EQ(sent.request_line, c.expected_line);
    EXPECT_FALSE(sent.has_header("User-Agent")) << "the client sets no agent of its own";
  }
}

TEST(WinHttpClient, OpenRefusesUrlsItCannotConnectTo) {
  for (const char* url : {"http://127.0.0.1:99999/x", "http://127.0.0.1:abc/x", "http:///x"}) {
    WinHttpClient client;
    EXPECT_FALSE(client.open("GET", url)) << url;
    EXPECT_FALSE(client.send()) << url;
    EXPECT_EQ(client.get_header(""), "") << url;
  }
}

TEST(WinHttpClient, HeadersAreAddedReplacedAndSkipped) {
  LoopbackServer server(answer_with(reply_with_length("ok")));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/h")));
  EXPECT_TRUE(client.add_header("Accept", "text/html"));
  EXPECT_TRUE(client.add_header("Accept", "*/*"));  // replaces the first
  client.add_headers("A: 1\r\nB:2\r\n:x\r\n");
  ASSERT_TRUE(client.send());
  ASSERT_EQ(server.request_count(), 1u);
  const RecordedRequest sent = server.requests()[0];
  EXPECT_EQ(sent.header("Accept"), "*/*") << sent.raw;
  EXPECT_EQ(sent.header("A"), "1");
  EXPECT_EQ(sent.header("B"), "2");
  size_t accept_lines = 0;
  for (const std::string& name : sent.header_names()) accept_lines += name == "Accept";
  EXPECT_EQ(accept_lines, 1u) << sent.raw;
}

// The download task's request: its header lines, each added as name ":" value.
TEST(WinHttpClient, DownloadTaskHeaderLinesGoOutInOrder) {
  LoopbackServer server(answer_with(reply_with_length("ok")));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/file.bin")));
  client.add_header("Referer=/", "");  // refused by WinHttp: not a header line
  client.add_header("Accept", "*/*");
  client.add_header("Content-Type", "application/x-www-form-urlencoded");
  client.add_header("User-Agent",
                    "Mozilla/5.0 (Windows NT 6.1; WOW64; rv:23.0) Gecko/20100101 Firefox/23.0");
  ASSERT_TRUE(client.send());
  ASSERT_EQ(server.request_count(), 1u);
  const RecordedRequest sent = server.requests()[0];
  const std::vector<std::string> names = sent.header_names();
  ASSERT_GE(names.size(), 3u) << sent.raw;
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
            (std::vector<std::string>{"Accept", "Content-Type", "User-Agent"}))
      << sent.raw;
  EXPECT_EQ(sent.header("User-Agent"),
            "Mozilla/5.0 (Windows NT 6.1; WOW64; rv:23.0) Gecko/20100101 Firefox/23.0");
}

TEST(WinHttpClient, BodiesArriveWholeWithProgressEndingAtTheTotal) {
  struct Case {
    size_t length;
    std::vector<std::int64_t> possible_done;  // what a report before the end may show
  } cases[] = {
      {5000, {904, 2952}},
      {4096, {2048}},  // done 0 before the first write is not reported
      {904, {}},
  };
  LoopbackServer server(answer_with(reply_with_length("ok")));
  for (const Case& c : cases) {
    const std::string body = patterned(c.length);
    const std::int32_t user_data = fresh_user_data();
    WinHttpClient client;
    ASSERT_TRUE(client.open("POST", server.url("/up")));
    ASSERT_TRUE(client.send(body, record_progress, user_data));
    ASSERT_FALSE(server.requests().empty());
    EXPECT_EQ(server.requests().back().body, body) << c.length;
    EXPECT_EQ(server.requests().back().header("Content-Length"), std::to_string(c.length));
    const std::vector<Report> reports = progress_log.wait_for_end(user_data);
    ASSERT_FALSE(reports.empty()) << c.length;
    EXPECT_EQ(reports.back().done, static_cast<std::int64_t>(c.length));
    for (const Report& report : reports) {
      EXPECT_EQ(report.total, static_cast<std::int64_t>(c.length));
      EXPECT_NE(report.thread_id, GetCurrentThreadId())
          << "reports come from a thread of their own";
      if (&report == &reports.back()) continue;
      EXPECT_NE(std::find(c.possible_done.begin(), c.possible_done.end(), report.done),
                c.possible_done.end())
          << c.length << ": reported " << report.done;
    }
  }
}

TEST(WinHttpClient, SendWithoutBodyOrCallbackReportsNothing) {
  LoopbackServer server(answer_with(reply_with_length("ok")));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/")));
  ASSERT_TRUE(client.send());
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.requests()[0].body, "");
  EXPECT_FALSE(server.requests()[0].has_header("Content-Length"));
}

TEST(WinHttpClient, DownloadStreamsTheBodyIntoTheFile) {
  const std::string body = patterned(1234);
  LoopbackServer server(answer_with(reply_with_length(body)));
  ScratchDirectory directory;
  const std::int32_t user_data = fresh_user_data();
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/file.bin")));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.get_header("Content-Length"), "1234");
  EXPECT_TRUE(client.download_to_file(directory.path(), "file.bin", record_progress, user_data));
  EXPECT_EQ(read_file(directory.file("file.bin")), body);
  const std::vector<Report> reports = progress_log.wait_for_end(user_data);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back().done, 1234);
  EXPECT_EQ(reports.back().total, 1234);
  for (const Report& report : reports) EXPECT_LE(report.done, 1234);
}

TEST(WinHttpClient, DownloadReplacesAnExistingFileAndTakesATrailingBackslash) {
  LoopbackServer server(answer_with(reply_with_length("new")));
  ScratchDirectory directory;
  ASSERT_TRUE(write_file(directory.file("f.txt"), "older and longer"));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/f.txt")));
  ASSERT_TRUE(client.send());
  EXPECT_TRUE(client.download_to_file(directory.path() + "\\", "f.txt"));
  EXPECT_EQ(read_file(directory.file("f.txt")), "new");
}

TEST(WinHttpClient, DownloadWritesNothingWithoutALengthOrAPlace) {
  struct Case {
    const char* name;
    std::string reply;
    std::string directory_suffix;  // appended to the test directory
    std::string file_name;
  } cases[] = {
      {"no Content-Length", reply_until_close("body"), "", "f.bin"},
      {"Content-Length 0", reply_with_length(""), "", "f.bin"},
      {"negative Content-Length", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n", "", "f.bin"},
      {"missing directory", reply_with_length("body"), "\\missing", "f.bin"},
      {"name climbing out", reply_with_length("body"), "", "..\\f.bin"},
      {"name with a drive", reply_with_length("body"), "", "C:f.bin"},
      {"empty name", reply_with_length("body"), "", ""},
  };
  for (const Case& c : cases) {
    LoopbackServer server(answer_and_close(c.reply));
    ScratchDirectory directory;
    const std::int32_t user_data = fresh_user_data();
    WinHttpClient client;
    ASSERT_TRUE(client.open("GET", server.url("/f.bin")));
    ASSERT_TRUE(client.send());
    EXPECT_FALSE(client.download_to_file(directory.path() + c.directory_suffix, c.file_name,
                                         record_progress, user_data))
        << c.name;
    EXPECT_FALSE(file_exists(directory.file("f.bin"))) << c.name;
    EXPECT_FALSE(file_exists(directory.path() + "\\..\\f.bin")) << c.name;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(progress_log.of(user_data).empty()) << c.name << ": no progress thread";
  }
}

TEST(WinHttpClient, WithoutContentLengthGetHeaderGivesAllHeaders) {
  LoopbackServer server(answer_and_close(reply_until_close("body", "X-Tag: t\r\n")));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/")));
  ASSERT_TRUE(client.send());
  const std::string all = client.get_header("Content-Length");
  EXPECT_EQ(all.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << all;
  EXPECT_NE(all.find("X-Tag: t\r\n"), std::string::npos) << all;
  EXPECT_EQ(client.get_header(""), all);
}

TEST(WinHttpClient, BrokenDownloadsEndFalseWithTheLastReportAtTheTotal) {
  struct Case {
    const char* name;
    test::Responder responder;
  } cases[] = {
      {"closes mid-body",
       [](const RecordedRequest&, LoopbackConnection& connection) {
         connection.send("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" +
                         std::string(3000, 'x'));
         connection.close();
       }},
      {"goes silent mid-body",
       [](const RecordedRequest&, LoopbackConnection& connection) {
         connection.send("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" +
                         std::string(3000, 'x'));
         connection.hold(20000);
         connection.close();
       }},
  };
  for (const Case& c : cases) {
    LoopbackServer server(c.responder);
    ScratchDirectory directory;
    const std::int32_t user_data = fresh_user_data();
    WinHttpClient client;
    ASSERT_TRUE(client.open("GET", server.url("/f.bin"), 1000));
    ASSERT_TRUE(client.send());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.download_to_file(directory.path(), "f.bin", record_progress, user_data))
        << c.name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8)) << c.name;
    EXPECT_EQ(read_file(directory.file("f.bin")).size(), 3000u) << c.name;
    const std::vector<Report> reports = progress_log.wait_for_end(user_data);
    ASSERT_FALSE(reports.empty()) << c.name;
    EXPECT_EQ(reports.back().done, 10000) << c.name;
  }
}

TEST(WinHttpClient, HostileRepliesEndInTimeWithNothingToRead) {
  struct Case {
    const char* name;
    test::Responder responder;
  } cases[] = {
      {"garbage instead of HTTP", answer_and_close("garbage garbage\r\n\r\nmore")},
      {"silent", answer_nothing(20000)},
      {"endless body", answer_endlessly("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")},
  };
  for (const Case& c : cases) {
    LoopbackServer server(c.responder);
    ScratchDirectory directory;
    WinHttpClient client;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.open("GET", server.url("/f.bin"), 1000));
    client.send();
    EXPECT_FALSE(client.download_to_file(directory.path(), "f.bin")) << c.name;
    EXPECT_EQ(client.response_bytes(), "") << c.name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.name;
    EXPECT_FALSE(file_exists(directory.file("f.bin"))) << c.name;
  }
}

TEST(WinHttpClient, HeaderQueriesReadTheRawHeaders) {
  LoopbackServer server(answer_with(
      reply_with_length("x",
                        "Content-Location: /mirror/a.bin\r\nLocation: /elsewhere\r\n"
                        "Set-Cookie: a=1; path=/\r\nSet-Cookie: sid=xyz; HttpOnly\r\n")));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/")));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.get_location(), "/mirror/a.bin");
  EXPECT_EQ(client.get_cookie("sid"), "sid=xyz; ");
  EXPECT_EQ(client.get_cookie("sid", true), "xyz");
  EXPECT_EQ(client.get_cookie("none", false, 2), "a=1; sid=xyz");
  EXPECT_EQ(client.get_header("Content-Length"), "1");
  EXPECT_TRUE(client.close());
  EXPECT_EQ(client.get_header("Content-Length"), "");
  EXPECT_EQ(client.get_header(""), "");
  EXPECT_EQ(client.get_location(), "");
}

TEST(WinHttpClient, ResponseBodyIsReadOnceAndKept) {
  const std::string body = patterned(25000);
  LoopbackServer server(answer_with(reply_with_length(body)));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/")));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.response_bytes(), body);
  EXPECT_EQ(client.response_bytes(), body);
}

TEST(WinHttpClient, ResponseTextIsUtf8ConvertedToGbkUpToTheFirstZero) {
  // "中文" in UTF-8, then a zero byte and more.
  LoopbackServer server(
      answer_with(reply_with_length(std::string("\xE4\xB8\xAD\xE6\x96\x87\0tail", 11))));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/")));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.response_text(), "中文");
}

TEST(WinHttpClient, ShortBodyInMemoryIsNoBody) {
  LoopbackServer server([](const RecordedRequest&, LoopbackConnection& connection) {
    connection.send("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" + std::string(3000, 'x'));
    connection.close();
  });
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/")));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.response_bytes(), "");
}

TEST(WinHttpClient, RedirectsAreFollowed) {
  LoopbackServer server([](const RecordedRequest& request, LoopbackConnection& connection) {
    if (request.target == "/old") {
      connection.send(reply_with_length("", "Location: /new\r\n", "301 Moved Permanently"));
    } else {
      connection.send(reply_with_length("moved here"));
    }
  });
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/old")));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.response_bytes(), "moved here");
}

TEST(WinHttpClient, ProxySetAfterTheFirstOpenDoesNotChangeTheSession) {
  LoopbackServer direct(answer_with(reply_with_length("direct")));
  LoopbackServer proxy(answer_with(reply_with_length("proxy")));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", direct.url("/1")));
  client.set_proxy("127.0.0.1:" + std::to_string(proxy.port()));
  ASSERT_TRUE(client.open("GET", direct.url("/2")));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.response_bytes(), "direct");
  EXPECT_EQ(proxy.request_count(), 0u);
}

TEST(WinHttpClient, ProxySetBeforeTheFirstOpenCarriesTheRequests) {
  LoopbackServer proxy(answer_with(reply_with_length("proxy")));
  WinHttpClient client;
  client.set_proxy("127.0.0.1:" + std::to_string(proxy.port()));
  ASSERT_TRUE(client.open("GET", "http://127.0.0.1:1/via"));  // nothing listens on port 1
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.response_bytes(), "proxy");
  EXPECT_EQ(proxy.request_count(), 1u);
}

TEST(WinHttpClient, SilentServerIsGivenUpOnWithinTheOpenTimeout) {
  LoopbackServer server(answer_nothing(20000));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/"), 1000));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(client.send());  // sent; nothing came back
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(client.get_header("Content-Length"), "");
}

TEST(WinHttpClient, TimeoutsSetAfterOpenBoundTheCurrentRequest) {
  LoopbackServer server(answer_nothing(20000));
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", server.url("/")));
  EXPECT_TRUE(client.set_timeouts(1000));
  const auto start = std::chrono::steady_clock::now();
  client.send();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(WinHttpClient, OptionsNeedARequest) {
  WinHttpClient client;
  EXPECT_FALSE(client.set_option(WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS));
  LoopbackServer server(answer_with(reply_with_length("", "Location: /b\r\n", "302 Found")));
  ASSERT_TRUE(client.open("GET", server.url("/a")));
  EXPECT_TRUE(client.set_option(WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS));
  ASSERT_TRUE(client.send());
  EXPECT_EQ(client.get_location(), "/b");
  EXPECT_EQ(server.request_count(), 1u);
}

TEST(WinHttpClient, ServerCredentialsAreSentAsBasicWhenAsked) {
  LoopbackServer server([](const RecordedRequest& request, LoopbackConnection& connection) {
    if (request.has_header("Authorization")) {
      connection.send(reply_with_length(request.header("Authorization")));
    } else {
      connection.send(
          reply_with_length("", "WWW-Authenticate: Basic realm=\"r\"\r\n", "401 Unauthorized"));
    }
  });
  WinHttpClient client;
  client.set_credentials("user", "pw");
  ASSERT_TRUE(client.open("GET", server.url("/")));
  ASSERT_TRUE(client.send());
  const std::string body = client.response_bytes();
  // WinHttp sends the credentials with the request or after the challenge.
  EXPECT_EQ(body, "Basic dXNlcjpwdw==");
}

}  // namespace
}  // namespace velmo
