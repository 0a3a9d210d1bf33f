#pragma once
// One complete, synchronous HTTP request in one call, over the WinHttp flat
// API. Safe to call from several threads at once: each call has its own
// handles (or uses the session that its caller passes and owns).
#include <string>
#include <string_view>

#include "net/web_request.h"
#include "net/winhttp_api_win32.h"

namespace velmo {

// A WinHttp session kept by a caller across web requests (the request_object
// argument): connections and the cookies that WinHttp keeps by itself last as
// long as it does. It uses the system's proxy setting; a request that names a
// proxy goes through a session of its own instead. Made and used on one
// thread at a time.
class WebSession {
 public:
  WebSession();
  bool valid() const { return static_cast<bool>(session_); }
  HINTERNET handle() const { return session_.get(); }

 private:
  UniqueInternet session_;
};

// Requests `url` (http or https) with the method, body and headers of
// `request`, which also receives the response headers, status and cookies.
// The caller's header text is completed with the default lines and keeps
// them. Redirects are followed unless no_redirect; TLS certificates are
// always validated. Returns the response body; empty when WinHttp cannot be
// used (then `request` is left as it was), when the transfer fails or times
// out, when the body is cut short or exceeds the in-memory limit, or when
// the response has no body.
std::string web_request(std::string_view url, WebRequest& request);

}  // namespace velmo
