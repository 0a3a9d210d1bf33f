// Construction, request preparation, header queries and closing of the
// WinHttp client; the transfers are in winhttp_transfer_win32.cpp.
#include "net/winhttp_client_win32.h"

#include "net/header_block.h"
#include "net/raw_header_queries.h"
#include "net/url_parts.h"
#include "net/winhttp_wide_win32.h"

namespace velmo {
namespace {

std::string ascii_upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

WinHttpClient::WinHttpClient()
    : api_(winhttp_api()), platform_ok_(api_ && api_->check_platform()) {}

bool WinHttpClient::set_option(std::uint32_t option, std::uint32_t value) {
  // Without a request WinHttpSetOption would set a process-wide option.
  if (!request_) return false;
  DWORD data = value;
  return api_->set_option(request_.get(), option, &data, sizeof data);
}

bool WinHttpClient::set_proxy(std::string_view proxy, std::string_view proxy_user,
                              std::string_view proxy_password) {
  proxy_ = to_wide(proxy);
  proxy_user_ = to_wide(proxy_user);
  proxy_password_ = to_wide(proxy_password);
  return platform_ok_;
}

bool WinHttpClient::set_timeouts(std::int32_t milliseconds) {
  timeout_ms_ = milliseconds;
  apply_timeouts_to_request();
  if (!session_) return false;
  const int ms = milliseconds;
  return api_->set_timeouts(session_.get(), ms, ms, ms, ms);
}

// WinHttpSetTimeouts alone does not bound the wait for the response under
// Wine; the receive-response time-out does, on Windows as well.
void WinHttpClient::apply_timeouts_to_request() {
  if (!request_ || !timeout_ms_) return;
  const int ms = *timeout_ms_;
  api_->set_timeouts(request_.get(), ms, ms, ms, ms);
  DWORD value = static_cast<DWORD>(ms);
  api_->set_option(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &value, sizeof value);
}

bool WinHttpClient::set_credentials(std::string_view user, std::string_view password) {
  user_ = to_wide(user);
  password_ = to_wide(password);
  return platform_ok_;
}

bool WinHttpClient::open(std::string_view method, std::string_view url,
                         std::optional<std::int32_t> timeout_ms) {
  if (!api_) return false;
  if (!session_) {
    const DWORD access =
        proxy_.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    session_.reset(api_->open(nullptr, access, wide_or_null(proxy_), WINHTTP_NO_PROXY_BYPASS, 0));
  }
  if (!session_) return false;
  if (timeout_ms) set_timeouts(*timeout_ms);
  request_.reset();
  connection_.reset();
  const int port = url_port(url);
  if (port == 0) return fail_open();
  const std::wstring host = to_wide(url_host(url));
  connection_.reset(
      api_->connect(session_.get(), wide_or_null(host), static_cast<INTERNET_PORT>(port), 0));
  if (!connection_) return fail_open();
  const std::wstring verb = to_wide(ascii_upper(method));
  const std::wstring path = to_wide(url_path(url));
  const DWORD flags = url_is_secure(url) ? WINHTTP_FLAG_SECURE : 0;
  request_.reset(api_->open_request(connection_.get(), wide_or_null(verb), wide_or_null(path),
                                    nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                    flags));
  if (!request_) return fail_open();
  apply_timeouts_to_request();
  return platform_ok_;
}

bool WinHttpClient::fail_open() {
  request_.reset();
  connection_.reset();
  session_.reset();
  return false;
}

// Replace-or-add: WinHttp documents REPLACE together with ADD for that (with
// ADD_IF_NEW instead, Wine adds nothing at all).
bool WinHttpClient::add_header(std::string_view name, std::string_view value) {
  if (!request_) return false;
  const std::wstring line = to_wide(std::string(name) + ":" + std::string(value));
  return api_->add_request_headers(request_.get(), line.c_str(), static_cast<DWORD>(-1),
                                   WINHTTP_ADDREQ_FLAG_REPLACE | WINHTTP_ADDREQ_FLAG_ADD);
}

void WinHttpClient::add_headers(std::string_view block) {
  for (const HeaderField& field : header_block_fields(block)) add_header(field.name, field.value);
}

std::string WinHttpClient::response_header_text() const { return wstring_to_gbk(raw_headers_); }

std::string WinHttpClient::get_header(std::string_view name) {
  return raw_header_value(response_header_text(), name);
}

std::string WinHttpClient::get_location() { return raw_header_location(response_header_text()); }

std::string WinHttpClient::get_cookie(std::string_view name, bool value_only, int cut) {
  return raw_header_cookie(response_header_text(), name, value_only, cut);
}

bool WinHttpClient::close() {
  request_.reset();
  connection_.reset();
  session_.reset();
  for (std::wstring* slot :
       {&proxy_, &proxy_user_, &proxy_password_, &user_, &password_, &raw_headers_}) {
    slot->clear();
  }
  body_.clear();
  timeout_ms_.reset();
  return platform_ok_;
}

}  // namespace velmo
