// The one-call web request against a loopback server that records every
// request: what goes on the wire for the two calls of the updater, the
// default headers, cookies, redirects, and the replies of a hostile or
// broken server, each of which must end in a defined result.
#include "net/web_request_win32.h"

#include <gtest/gtest.h>

#include <chrono>
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
using test::reply_chunked;
using test::reply_until_close;
using test::reply_with_length;

constexpr char chrome_agent[] =
    "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/45.0.2454.101 Safari/537.36";
constexpr char check_body[] = "key=c47e0f9a2d51b6e8f03a7c95d2e4b1f6&list=[{\"p\":\"a.dll\"}]";

// The update-check call: POST of the request body with the User-Agent line
// and 10-second time-outs, everything else left out.
WebRequest update_check_call(std::string body) {
  WebRequest request;
  request.method = 1;
  request.body_text = std::move(body);
  request.headers = std::string("User-Agent: ") + chrome_agent;
  request.timeout_seconds = 10;
  return request;
}

// The release-notes call: GET with the same User-Agent line and time-outs.
WebRequest release_notes_call() {
  WebRequest request;
  request.headers = std::string("User-Agent: ") + chrome_agent;
  request.timeout_seconds = 10;
  return request;
}

// The headers after the caller's own ones: WinHttp's connection headers.
std::vector<std::string> without_connection_headers(std::vector<std::string> names) {
  std::vector<std::string> kept;
  for (std::string& name : names) {
    if (name != "Host" && name != "Content-Length" && name != "Connection" &&
        name != "Cache-Control") {
      kept.push_back(std::move(name));
    }
  }
  return kept;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(WebRequest, UpdateCheckCallSendsTheListedHeadersInOrderAndTheBody) {
  LoopbackServer server(answer_with(reply_with_length("{\"state\":1}")));
  const std::string url = server.url("/check");
  WebRequest request = update_check_call(check_body);
  EXPECT_EQ(web_request(url, request), "{\"state\":1}");
  ASSERT_EQ(server.request_count(), 1u);
  const RecordedRequest sent = server.requests()[0];
  EXPECT_EQ(sent.request_line, "POST /check HTTP/1.1");
  const std::vector<std::string> expected_lines = {
      std::string("User-Agent: ") + chrome_agent, "Accept: */*", "Referer: " + url,
      "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded"};
  EXPECT_EQ(std::vector<std::string>(sent.header_lines.begin(),
                                     sent.header_lines.begin() + expected_lines.size()),
            expected_lines)
      << sent.raw;
  EXPECT_EQ(without_connection_headers(sent.header_names()),
            (std::vector<std::string>{"User-Agent", "Accept", "Referer", "Accept-Language",
                                      "Content-Type"}))
      << sent.raw;
  EXPECT_EQ(sent.body, check_body);
  EXPECT_EQ(sent.header("Content-Length"), std::to_string(sizeof check_body - 1));
  EXPECT_EQ(request.status, 200);
}

TEST(WebRequest, ReleaseNotesCallSendsTheListedHeadersWithoutBody) {
  LoopbackServer server(answer_with(reply_with_length("{\"state\":0}")));
  const std::string url = server.url("/notes?key=c47e0f9a2d51b6e8f03a7c95d2e4b1f6");
  WebRequest request = release_notes_call();
  EXPECT_EQ(web_request(url, request), "{\"state\":0}");
  ASSERT_EQ(server.request_count(), 1u);
  const RecordedRequest sent = server.requests()[0];
  EXPECT_EQ(sent.request_line, "GET /notes?key=c47e0f9a2d51b6e8f03a7c95d2e4b1f6 HTTP/1.1");
  const std::vector<std::string> expected_lines = {std::string("User-Agent: ") + chrome_agent,
                                                   "Accept: */*", "Referer: " + url,
                                                   "Accept-Language: zh-cn"};
  EXPECT_EQ(std::vector<std::string>(sent.header_lines.begin(),
                                     sent.header_lines.begin() + expected_lines.size()),
            expected_lines)
      << sent.raw;
  EXPECT_EQ(without_connection_headers(sent.header_names()),
            (std::vector<std::string>{"User-Agent", "Accept", "Referer", "Accept-Language"}))
      << sent.raw;
  EXPECT_TRUE(sent.body.empty());
  EXPECT_FALSE(sent.has_header("Cookie"));
}

TEST(WebRequest, MethodIndexesChooseTheMethodAndOutOfRangeOnesSendGet) {
  struct Case {
    int method;
    std::string expected_line;
  } cases[] = {{0, "GET / HTTP/1.1"},    {1, "POST / HTTP/1.1"}, {3, "PUT / HTTP/1.1"},
               {5, "DELETE / HTTP/1.1"}, {8, "GET / HTTP/1.1"},  {-1, "GET / HTTP/1.1"}};
  LoopbackServer server(answer_with(reply_with_length("ok")));
  for (const Case& c : cases) {
    WebRequest request;
    request.method = c.method;
    web_request(server.url("/"), request);
    ASSERT_FALSE(server.requests().empty()) << c.method;
    EXPECT_EQ(server.requests().back().request_line, c.expected_line) << c.method;
  }
}

TEST(WebRequest, HeadersGetTheDefaultsAndKeepThemOnReturn) {
  struct Case {
    std::string headers;
    int method;
    std::vector<std::string> expected_names;
    std::string expected_accept;
  } cases[] = {
      {"", 0, {"Accept", "Referer", "Accept-Language", "User-Agent"}, "*/*"},
      {"", 1, {"Accept", "Referer", "Accept-Language", "User-Agent", "Content-Type"}, "*/*"},
      // A caller's own Accept line goes out unchanged and alone.
      {"Accept: text/html", 0, {"Accept", "Referer", "Accept-Language", "User-Agent"}, "text/html"},
  };
  LoopbackServer server(answer_with(reply_with_length("ok")));
  for (const Case& c : cases) {
    WebRequest request;
    request.headers = c.headers;
    request.method = c.method;
    const std::string url = server.url("/h");
    web_request(url, request);
    ASSERT_FALSE(server.requests().empty()) << c.headers;
    const RecordedRequest sent = server.requests().back();
    EXPECT_EQ(without_connection_headers(sent.header_names()), c.expected_names) << sent.raw;
    EXPECT_EQ(sent.header("Accept"), c.expected_accept) << sent.raw;
    EXPECT_EQ(sent.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
    EXPECT_EQ(sent.header("Referer"), url);
    EXPECT_NE(request.headers.find("Referer: " + url), std::string::npos) << request.headers;
  }
}

TEST(WebRequest, ResponseCookiesComeBackUnderTheCanonicalName) {
  struct Case {
    std::string set_cookie_lines;
    std::string expected_cookies;
  } cases[] = {
      {"set-cookie: a=1; path=/\r\n", "a=1"},
      {"SET-COOKIE: a=1; path=/\r\nSet-Cookie: b=2\r\n", "a=1; b=2"},
      {"", ""},
  };
  for (const Case& c : cases) {
    LoopbackServer server(answer_with(reply_with_length("body", c.set_cookie_lines)));
    WebRequest request;
    EXPECT_EQ(web_request(server.url("/"), request), "body");
    EXPECT_EQ(request.response_cookies, c.expected_cookies) << c.set_cookie_lines;
    EXPECT_EQ(request.response_headers.find("set-cookie"), std::string::npos);
    EXPECT_EQ(request.response_headers.find("SET-COOKIE"), std::string::npos);
    EXPECT_EQ(request.response_headers.rfind("HTTP/", 0), std::string::npos)
        << "no status line: " << request.response_headers;
    EXPECT_EQ(request.status, 200);
    EXPECT_FALSE(request.cookies.has_value()) << "cookies left out are not merged into";
  }
}

TEST(WebRequest, CookiesGivenGoOutAndAreMergedWithTheResponseCookies) {
  LoopbackServer server(answer_with(reply_with_length("ok", "Set-Cookie: b=3; path=/\r\n")));
  WebRequest request;
  request.cookies = "a=1; b=2";
  web_request(server.url("/"), request);
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.requests()[0].header("Cookie"), "a=1; b=2");
  EXPECT_EQ(request.response_cookies, "b=3; a=1");
  EXPECT_EQ(*request.cookies, "b=3; a=1");
}

TEST(WebRequest, PresentButEmptyCookiesAreMergedWithoutACookieHeader) {
  LoopbackServer server(answer_with(reply_with_length("ok", "Set-Cookie: s=1\r\n")));
  WebRequest request;
  request.cookies = "";
  web_request(server.url("/"), request);
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_FALSE(server.requests()[0].has_header("Cookie"));
  EXPECT_EQ(*request.cookies, "s=1");
}

TEST(WebRequest, WithoutAutoMergeTheCookiesStayAsTheyWere) {
  LoopbackServer server(answer_with(reply_with_length("ok", "Set-Cookie: b=3\r\n")));
  WebRequest request;
  request.cookies = "a=1";
  request.auto_merge = false;
  web_request(server.url("/"), request);
  EXPECT_EQ(*request.cookies, "a=1");
  EXPECT_EQ(request.response_cookies, "b=3");
}

// Answers /start with a redirect to /final, which answers "final".
void redirect_once(const RecordedRequest& request, LoopbackConnection& connection) {
  if (request.target == "/start") {
    connection.send(reply_with_length("moved", "Location: /final\r\n", "302 Found"));
  } else {
    connection.send(reply_with_length("final"));
  }
}

TEST(WebRequest, RedirectsAreFollowedUnlessTurnedOff) {
  {
    LoopbackServer server(redirect_once);
    WebRequest request;
    EXPECT_EQ(web_request(server.url("/start"), request), "final");
    EXPECT_EQ(request.status, 200);
    EXPECT_EQ(server.request_count(), 2u);
  }
  {
    LoopbackServer server(redirect_once);
    WebRequest request;
    request.no_redirect = true;
    EXPECT_EQ(web_request(server.url("/start"), request), "moved");
    EXPECT_EQ(request.status, 302);
    EXPECT_EQ(server.request_count(), 1u);
  }
}

TEST(WebRequest, BodyBytesGoOutInsteadOfTheBodyText) {
  LoopbackServer server(answer_with(reply_with_length("ok")));
  WebRequest request;
  request.method = 3;
  request.body_text = "text";
  request.body_bytes = std::string("b\0y\xFFtes", 7);
  web_request(server.url("/"), request);
  ASSERT_EQ(server.request_count(), 1u);
  EXPECT_EQ(server.requests()[0].body, request.body_bytes);
}

// A request for host/path as a proxy gets it: with the absolute URL, as
// Windows sends it, or with the path and the Host header, as Wine does.
bool proxied_to(const RecordedRequest& sent, const std::string& host, const std::string& path) {
  return sent.header("Host") == host &&
         (sent.target == "http://" + host + path || sent.target == path);
}

TEST(WebRequest, ProxyGetsTheRequestWithBasicCredentials) {
  LoopbackServer proxy(answer_with(reply_with_length("via proxy")));
  WebRequest request;
  request.proxy = "127.0.0.1:" + std::to_string(proxy.port());
  request.proxy_user = "user";
  request.proxy_password = "pw";
  // Nothing listens on port 1: only the proxy can answer.
  EXPECT_EQ(web_request("http://127.0.0.1:1/check", request), "via proxy");
  ASSERT_EQ(proxy.request_count(), 1u);
  const RecordedRequest sent = proxy.requests()[0];
  EXPECT_TRUE(proxied_to(sent, "127.0.0.1:1", "/check")) << sent.raw;
  EXPECT_EQ(sent.header("Proxy-Authorization"), "Basic dXNlcjpwdw==");  // "user:pw"
}

TEST(WebRequest, ProxyCredentialsStayHomeUnlessBasicIsChosen) {
  LoopbackServer proxy(answer_with(reply_with_length("via proxy")));
  WebRequest request;
  request.proxy = "127.0.0.1:" + std::to_string(proxy.port());
  request.proxy_user = "user";
  request.proxy_auth = 0;
  web_request("http://127.0.0.1:1/check", request);
  ASSERT_EQ(proxy.request_count(), 1u);
  EXPECT_FALSE(proxy.requests()[0].has_header("Proxy-Authorization"));
}

TEST(WebRequest, ProxyIsUsedEvenWithASharedSession) {
  LoopbackServer proxy(answer_with(reply_with_length("via proxy")));
  WebSession session;
  WebRequest request;
  request.request_object = &session;
  request.proxy = "127.0.0.1:" + std::to_string(proxy.port());
  EXPECT_EQ(web_request("http://127.0.0.1:1/shared", request), "via proxy");
  ASSERT_EQ(proxy.request_count(), 1u);
  EXPECT_TRUE(proxied_to(proxy.requests()[0], "127.0.0.1:1", "/shared")) << proxy.requests()[0].raw;
}

TEST(WebRequest, SharedSessionServesSeveralRequests) {
  LoopbackServer server(answer_with(reply_with_length("again")));
  WebSession session;
  ASSERT_TRUE(session.valid());
  for (int i = 0; i < 2; ++i) {
    WebRequest request;
    request.request_object = &session;
    EXPECT_EQ(web_request(server.url("/"), request), "again");
  }
  EXPECT_EQ(server.request_count(), 2u);
}

TEST(WebRequest, RepliesInAnyProperFramingArriveWhole) {
  const std::string large(3 << 20, 'L');
  struct Case {
    const char* name;
    test::Responder responder;
    std::string expected;
  } cases[] = {
      {"content length", answer_with(reply_with_length("abc")), "abc"},
      {"chunked", answer_with(reply_chunked({"ab", "c"})), "abc"},
      {"no length, ended by closing", answer_and_close(reply_until_close("abc")), "abc"},
      {"slow, in pieces",
       [](const RecordedRequest&, LoopbackConnection& connection) {
         connection.send_slowly(reply_with_length("slow body"), 7, 150);
       },
       "slow body"},
      {"large", answer_with(reply_with_length(large)), large},
      {"error page", answer_with(reply_with_length("missing", "", "404 Not Found")), "missing"},
  };
  for (const Case& c : cases) {
    LoopbackServer server(c.responder);
    WebRequest request;
    request.timeout_seconds = 5;
    EXPECT_EQ(web_request(server.url("/"), request), c.expected) << c.name;
  }
}

TEST(WebRequest, BrokenOrHostileRepliesGiveAnEmptyResultInTime) {
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
      {"garbage instead of HTTP", answer_and_close("garbage garbage\r\n\r\nmore")},
      {"binary garbage", answer_and_close(std::string("\x01\x02\x00\xFF hello", 10))},
      {"closes without a word", answer_and_close("")},
      {"endless body", answer_endlessly("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n")},
      {"endless chunk", answer_endlessly("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                         "7fffffff\r\n")},
      {"redirect loop", answer_with(reply_with_length("", "Location: /\r\n", "302 Found"))},
      {"silent", answer_nothing()},
      {"trickle",
       [](const RecordedRequest&, LoopbackConnection& connection) {
         connection.send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
         for (int i = 0; i < 200 && connection.send("x"); ++i) connection.pause(250);
         connection.close();
       }},
  };
  for (const Case& c : cases) {
    LoopbackServer server(c.responder);
    WebRequest request;
    request.timeout_seconds = 1;
    request.cookies = "a=1";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(web_request(server.url("/"), request), "") << c.name;
    EXPECT_LT(seconds_since(start), 8) << c.name;
    EXPECT_EQ(request.status, 0) << c.name;
    EXPECT_EQ(request.response_headers, "") << c.name;
    EXPECT_EQ(*request.cookies, "a=1") << c.name;
  }
}

TEST(WebRequest, UnreachableHostGivesAnEmptyResultAtOnce) {
  std::string url;
  {
    LoopbackServer gone(answer_with(""));
    url = gone.url("/");
  }  // the port is free again: nothing listens there
  WebRequest request = update_check_call(check_body);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(web_request(url, request), "");
  EXPECT_LT(seconds_since(start), 10);
  EXPECT_EQ(request.status, 0);
}

TEST(WebRequest, UnusableUrlsGiveAnEmptyResult) {
  for (const char* url : {"", "ftp://127.0.0.1/x", "not a url", "http://"}) {
    WebRequest request;
    EXPECT_EQ(web_request(url, request), "") << url;
    EXPECT_EQ(request.status, 0) << url;
  }
}

TEST(WebRequest, HttpsToAServerWithoutTlsFailsWithinTheTimeouts) {
  LoopbackServer server(answer_with(reply_with_length("not secure")));
  WebRequest request;
  request.timeout_seconds = 2;
  EXPECT_EQ(web_request("https://127.0.0.1:" + std::to_string(server.port()) + "/", request), "");
}

// The callers' setting: each of the four time-outs is 10 seconds, so a
// silent server is given up on after about 10 seconds, not 15 and not never.
TEST(WebRequest, SilentServerIsGivenUpOnAfterTheCallersTenSeconds) {
  LoopbackServer server(answer_nothing(30000));
  WebRequest request = release_notes_call();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(web_request(server.url("/notes?key=k"), request), "");
  const double elapsed = seconds_since(start);
  EXPECT_GT(elapsed, 9);
  EXPECT_LT(elapsed, 14);
}

TEST(WebRequest, CallsFromSeveralThreadsAtOnceEachGetTheirReply) {
  LoopbackServer server([](const RecordedRequest& request, LoopbackConnection& connection) {
    connection.pause(100);
    connection.send(reply_with_length(request.target));
  });
  std::vector<std::string> results(6);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&, i] {
      WebRequest request;
      request.timeout_seconds = 5;
      results[i] = web_request(server.url("/" + std::to_string(i)), request);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i], "/" + std::to_string(i));
}

}  // namespace
}  // namespace velmo
