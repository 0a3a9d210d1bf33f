// Certificates are validated on every request: against a TLS server whose
// certificate nobody trusts, both HTTP clients fail, while WinHttp told to
// ignore certificate errors (the control, made here and nowhere in the
// program) reaches the same server. Run by tls_server_run.sh, which starts
// the server and passes its port in VELMO_TLS_PORT.
#include <windows.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "net/web_request_win32.h"
#include "net/winhttp_client_win32.h"

namespace velmo {
namespace {

int tls_port() {
  const char* port = std::getenv("VELMO_TLS_PORT");
  return port ? std::atoi(port) : 0;
}

std::string tls_url() { return "https://127.0.0.1:" + std::to_string(tls_port()) + "/"; }

// A GET through WinHttp with every certificate error ignored: the status.
DWORD status_ignoring_certificate_errors() {
  const WinHttpApi& api = *winhttp_api();
  UniqueInternet session(
      api.open(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, WINHTTP_NO_PROXY_BYPASS, 0));
  UniqueInternet connection(
      api.connect(session.get(), L"127.0.0.1", static_cast<INTERNET_PORT>(tls_port()), 0));
  UniqueInternet request(api.open_request(connection.get(), L"GET", L"/", nullptr,
                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          WINHTTP_FLAG_SECURE));
  if (!request) return 0;
  DWORD ignore = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE |
                 SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;
  api.set_option(request.get(), WINHTTP_OPTION_SECURITY_FLAGS, &ignore, sizeof ignore);
  if (!api.send_request(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                        0, 0) ||
      !api.receive_response(request.get(), nullptr)) {
    return 0;
  }
  DWORD status = 0;
  DWORD size = sizeof status;
  api.query_headers(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                    WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
  return status;
}

TEST(TlsValidation, ServerAnswersWhenCertificateErrorsAreIgnored) {
  ASSERT_GT(tls_port(), 0) << "run through tls_server_run.sh";
  ASSERT_NE(winhttp_api(), nullptr);
  EXPECT_EQ(status_ignoring_certificate_errors(), 200u);
}

TEST(TlsValidation, WebRequestRefusesAnUntrustedCertificate) {
  ASSERT_GT(tls_port(), 0) << "run through tls_server_run.sh";
  WebRequest request;
  request.timeout_seconds = 5;
  EXPECT_EQ(web_request(tls_url(), request), "");
  EXPECT_EQ(request.status, 0);
}

TEST(TlsValidation, WinHttpClientRefusesAnUntrustedCertificate) {
  ASSERT_GT(tls_port(), 0) << "run through tls_server_run.sh";
  WinHttpClient client;
  ASSERT_TRUE(client.open("GET", tls_url(), 5000));
  EXPECT_FALSE(client.send());
  EXPECT_EQ(client.get_header(""), "");
  EXPECT_EQ(client.response_bytes(), "");
}

}  // namespace
}  // namespace velmo
