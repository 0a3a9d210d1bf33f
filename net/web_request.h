#pragma once
// The arguments of the one-call web request and the steps of it that need
// no platform: what goes out besides the headers, and how the response's
// headers, status and cookies reach the caller. The request itself is made
// by `web_request` (net/web_request_win32.h).
#include <optional>
#include <string>
#include <string_view>

namespace velmo {

class WebSession;

// Every argument after the URL, in the order of the one-call interface, each
// with the value that leaving it out gives. Out members are filled by the
// call; headers and cookies are updated in place.
struct WebRequest {
  int method = 0;                      // index of GET POST HEAD PUT OPTIONS DELETE TRACE CONNECT
  std::string body_text;               // sent when body_bytes is empty
  std::optional<std::string> cookies;  // sent as "Cookie" when not empty; nullopt: left out
  std::string response_cookies;        // out: cookies the response set, or the merged text
  std::string headers;                 // in and out: lines separated by "\r\n"
  std::string response_headers;        // out: all response headers
  int status = 0;                      // out: the HTTP status, 0 when the transfer failed
  bool no_redirect = false;
  std::string body_bytes;   // sent instead of body_text when not empty
  std::string proxy;        // named proxy; empty: the system's proxy setting
  int timeout_seconds = 0;  // -1: platform defaults; 0 or less: 15 s; else seconds
  std::string proxy_user;
  std::string proxy_password;
  int proxy_auth = 1;                    // 1: Basic credentials go to the proxy
  WebSession* request_object = nullptr;  // a session to use instead of a new one
  bool auto_merge = true;                // merge response cookies into `cookies`
};

// The body that goes out: body_bytes when not empty, otherwise body_text.
std::string_view request_body(const WebRequest& request);

// "user:password" when Basic credentials go to the proxy, otherwise empty.
std::string proxy_credentials(const WebRequest& request);

// How long a whole reply may take once the request is under way: the four
// time-outs together. None when the platform's defaults apply.
std::optional<int> reply_deadline_ms(const WebRequest& request);

// Fills the out members from the raw response headers (status line first)
// and the status; a failed transfer passes empty headers and 0. Set-Cookie
// is spelled canonically, the response's cookies are extracted and, when
// the caller gave cookies and auto_merge holds, merged into them.
void store_response(WebRequest& request, std::string_view raw_headers, int status);

}  // namespace velmo
