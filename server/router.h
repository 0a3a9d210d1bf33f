#pragma once
// Turns one HTTP request into its reply:
//   POST /api/update/check                 the update check
//   GET  /api/update/notes?key=KEY         the release notes
//   GET  /files/<product>/<release path>   a file of the release (HEAD too)
//   GET  /healthz                          liveness and what is published
#include <boost/beast/http.hpp>
#include <string>

#include "server/catalog.h"
#include "server/unique_fd.h"

namespace velmo::server {

namespace http = boost::beast::http;
using HttpRequest = http::request<http::string_body>;
using HttpResponse = http::response<http::string_body>;

struct Reply {
  HttpResponse head;  // complete, or with the file's Content-Length and no body
  UniqueFd file;      // streamed after the head when open (GET of a file)
  uint64_t file_size = 0;
  std::string key_seen;  // for the access log
};

inline constexpr const char* check_route = "/api/update/check";
inline constexpr const char* notes_route = "/api/update/notes";
inline constexpr const char* files_route = "/files/";
inline constexpr const char* health_route = "/healthz";

class Router {
 public:
  explicit Router(const CatalogHolder& catalogs) : catalogs_(catalogs) {}
  Reply route(const HttpRequest& request) const;

 private:
  const CatalogHolder& catalogs_;
};

// A plain-text reply for an error status, such as the 413 of a body that is too large.
HttpResponse error_response(http::status status, unsigned version, bool keep_alive);

}  // namespace velmo::server
