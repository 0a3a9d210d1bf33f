#include "net/web_request_win32.h"

#include <windows.h>
#include <wincrypt.h>

#include <chrono>
#include <optional>

#include "net/reply_length.h"
#include "net/request_headers.h"
#include "net/transfer_pieces.h"
#include "net/winhttp_reading_win32.h"
#include "net/winhttp_wide_win32.h"

namespace velmo {
namespace {

struct UrlTarget {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path;
  bool secure = false;
};

struct Reply {
  std::string body;
  std::string raw_headers;
  int status = 0;
};

// A session with the named proxy, or with the system's proxy setting as a
// request object would use it.
UniqueInternet open_session(std::string_view proxy = {}) {
  const WinHttpApi* api = winhttp_api();
  if (!api) return {};
  const std::wstring proxy_name = to_wide(proxy);
  const DWORD access =
      proxy.empty() ? WINHTTP_ACCESS_TYPE_DEFAULT_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY;
  return UniqueInternet(
      api->open(nullptr, access, wide_or_null(proxy_name), WINHTTP_NO_PROXY_BYPASS, 0));
}

std::optional<UrlTarget> crack_url(const WinHttpApi& api, std::string_view url) {
  const std::wstring wide = to_wide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (wide.empty() || !api.crack_url(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts)) {
    return std::nullopt;
  }
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    return std::nullopt;
  }
  UrlTarget target;
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.port = parts.nPort;
  target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  target.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.path.empty()) target.path = L"/";
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  if (target.host.empty()) return std::nullopt;
  return target;
}

std::string base64(std::string_view bytes) {
  const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
  const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
  DWORD size = 0;
  if (!CryptBinaryToStringA(data, static_cast<DWORD>(bytes.size()), flags, nullptr, &size)) {
    return {};
  }
  std::string text(size, '\0');
  if (!CryptBinaryToStringA(data, static_cast<DWORD>(bytes.size()), flags, text.data(), &size)) {
    return {};
  }
  text.resize(size);
  return text;
}

void add_header(const WinHttpApi& api, HINTERNET request, std::string_view name,
                std::string_view value) {
  const std::wstring line = to_wide(std::string(name) + ": " + std::string(value));
  api.add_request_headers(request, line.c_str(), static_cast<DWORD>(-1),
                          WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
}

void set_dword_option(const WinHttpApi& api, HINTERNET request, DWORD option, DWORD value) {
  api.set_option(request, option, &value, sizeof value);
}

void apply_settings(const WinHttpApi& api, HINTERNET request, const WebRequest& args) {
  if (const std::optional<int> ms = request_timeout_ms(args.timeout_seconds)) {
    api.set_timeouts(request, *ms, *ms, *ms, *ms);
    // Under Wine only this option bounds the wait for the response.
    set_dword_option(api, request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, *ms);
  }
  if (const std::string credentials = proxy_credentials(args); !credentials.empty()) {
    add_header(api, request, "Proxy-Authorization", "Basic " + base64(credentials));
  }
  if (args.no_redirect) {
    set_dword_option(api, request, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS);
  }
  if (args.cookies && !args.cookies->empty()) add_header(api, request, "Cookie", *args.cookies);
  for (const HeaderField& field : request_header_fields(args.headers)) {
    add_header(api, request, field.name, field.value);
  }
}

int query_status(const WinHttpApi& api, HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  api.query_headers(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                    WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
  return static_cast<int>(status);
}

// The body within the deadline, when there is one.
std::optional<std::string> read_reply_body(const WinHttpApi& api, HINTERNET request,
                                           std::optional<int> deadline_ms) {
  const auto started = std::chrono::steady_clock::now();
  const auto in_time = [&] {
    return !deadline_ms ||
           std::chrono::steady_clock::now() - started < std::chrono::milliseconds(*deadline_ms);
  };
  return read_memory_body(body_reader(api, request), in_time);
}

std::optional<Reply> transfer(const WinHttpApi& api, HINTERNET session, std::string_view url,
                              const WebRequest& args) {
  const std::optional<UrlTarget> target = crack_url(api, url);
  if (!target) return std::nullopt;
  UniqueInternet connection(api.connect(session, target->host.c_str(), target->port, 0));
  if (!connection) return std::nullopt;
  const std::wstring verb = to_wide(request_method_name(args.method));
  UniqueInternet request(api.open_request(connection.get(), verb.c_str(), target->path.c_str(),
                                          nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          target->secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return std::nullopt;
  apply_settings(api, request.get(), args);
  const std::string_view body = request_body(args);
  if (body.size() > MAXDWORD) return std::nullopt;
  const auto length = static_cast<DWORD>(body.size());
  void* data = length ? const_cast<char*>(body.data()) : WINHTTP_NO_REQUEST_DATA;
  if (!api.send_request(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, data, length, length, 0) ||
      !api.receive_response(request.get(), nullptr)) {
    return std::nullopt;
  }
  std::optional<std::string> reply_body =
      read_reply_body(api, request.get(), reply_deadline_ms(args));
  if (!reply_body) return std::nullopt;
  Reply reply{std::move(*reply_body), wstring_to_gbk(query_raw_headers(api, request.get())),
              query_status(api, request.get())};
  const bool head_request = request_method_name(args.method) == "HEAD";
  if (!reply_body_complete(reply.raw_headers, head_request, reply.status,
                           static_cast<std::int64_t>(reply.body.size()))) {
    return std::nullopt;
  }
  return reply;
}

}  // namespace

WebSession::WebSession() : session_(open_session()) {}

std::string web_request(std::string_view url, WebRequest& request) {
  const WinHttpApi* api = winhttp_api();
  // A named proxy gets a session of its own: WinHttp under Wine takes a proxy
  // neither per request nor for a session that exists already.
  UniqueInternet own_session;
  HINTERNET session = nullptr;
  if (request.request_object && request.proxy.empty()) {
    session = request.request_object->handle();
  } else {
    own_session = open_session(request.proxy);
    session = own_session.get();
  }
  if (!api || !session) return {};
  request.headers = complete_request_headers(request.headers, url, request.method);
  std::optional<Reply> reply = transfer(*api, session, url, request);
  if (!reply) {
    store_response(request, {}, 0);
    return {};
  }
  store_response(request, reply->raw_headers, reply->status);
  return std::move(reply->body);
}

}  // namespace velmo
