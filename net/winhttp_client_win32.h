#pragma once
// A small HTTP client over the WinHttp flat API: one session, one connection
// and one request at a time, plus the settings and the response data that
// belong to them. Texts in and out are GBK; WinHttp gets them as UTF-16
// converted from code page 936. Used on one thread at a time.
//
// Calling order for one request: optionally set_proxy and set_credentials;
// open; optionally set_option, set_timeouts, add_header, add_headers; send;
// then download_to_file or response_bytes / response_text for the body (it
// can be read once), and the header queries at any time after send. open
// may be called again for a further request: the session (and the proxy it
// was made with) stays, connection and request are replaced.
//
// Methods that succeed return platform_ok(), so where WinHttpCheckPlatform
// said no even a successful call reports false; methods that wrap one
// WinHttp call return that call's result.
//
// A client cannot be copied: a copy would share the handles of one request,
// whose response can be read only once, and the two objects would close
// them twice. It can be moved.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/transfer_progress.h"
#include "net/winhttp_api_win32.h"

namespace velmo {

class WinHttpClient {
 public:
  WinHttpClient();
  ~WinHttpClient() { close(); }
  WinHttpClient(const WinHttpClient&) = delete;
  WinHttpClient& operator=(const WinHttpClient&) = delete;
  WinHttpClient(WinHttpClient&&) = default;
  WinHttpClient& operator=(WinHttpClient&&) = default;

  bool platform_ok() const { return platform_ok_; }

  // A 32-bit option of the current request (after open).
  bool set_option(std::uint32_t option, std::uint32_t value);
  // Takes effect when stored before the first open; the credentials at send.
  bool set_proxy(std::string_view proxy, std::string_view proxy_user = {},
                 std::string_view proxy_password = {});
  // The one value for the resolve, connect, send and receive time-outs, and
  // for waiting on the response, of the session and of its requests.
  bool set_timeouts(std::int32_t milliseconds);
  // Basic credentials for the server, used at send.
  bool set_credentials(std::string_view user, std::string_view password);
  // Prepares a request: the method (upper-cased) and the URL's host, port,
  // path and TLS flag; with a timeout, set_timeouts is called on the session.
  // False when the session, connection or request cannot be made.
  bool open(std::string_view method, std::string_view url,
            std::optional<std::int32_t> timeout_ms = std::nullopt);
  // Hands "name:value" to the request, replacing a header of that name.
  bool add_header(std::string_view name, std::string_view value);
  // add_header for each "\r\n"-separated line of the block that has a name.
  void add_headers(std::string_view block);

  // Sends the request with the body (its remainder modulo 2048 along with
  // the request, then 2048-byte writes), receives the response and keeps its
  // status line and headers. False when the request could not be sent.
  bool send(std::string_view body = {}, ProgressCallback callback = nullptr,
            std::int32_t user_data = 0);
  // Streams the body into directory\file_name when the response has a
  // positive Content-Length, reporting progress from a thread of its own.
  // False, with no file made, for a missing directory, a name that is not a
  // plain file name or no length; false too when the file cannot be made or
  // written or the body arrives short (the short file stays).
  bool download_to_file(std::string_view directory, std::string_view file_name,
                        ProgressCallback callback = nullptr, std::int32_t user_data = 0);
  // The whole body, read once and kept; empty when a read failed or the body
  // exceeds the in-memory limit.
  std::string response_bytes();
  // The body as UTF-8 text up to its first zero byte, converted to GBK.
  std::string response_text();
  std::string get_cookie(std::string_view name, bool value_only = false, int cut = 0);
  std::string get_location();
  std::string get_header(std::string_view name);
  // Closes request, connection and session and empties every data slot.
  bool close();

 private:
  std::string response_header_text() const;
  void apply_timeouts_to_request();
  bool fail_open();

  const WinHttpApi* api_ = nullptr;
  bool platform_ok_ = false;
  // The data slots, in UTF-16 where WinHttp takes them so.
  std::wstring proxy_;
  std::wstring proxy_user_;
  std::wstring proxy_password_;
  std::wstring user_;
  std::wstring password_;
  std::wstring raw_headers_;
  std::string body_;
  std::optional<std::int32_t> timeout_ms_;
  UniqueInternet session_;
  UniqueInternet connection_;
  UniqueInternet request_;
};

}  // namespace velmo
