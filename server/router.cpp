#include "server/router.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>

#include "server/check_answer.h"
#include "server/replies.h"
#include "server/url_codec.h"

namespace velmo::server {
namespace {

constexpr const char* json_type = "application/json; charset=utf-8";

struct Target {
  std::string_view path;
  std::string_view query;
};

Target split_target(std::string_view target) {
  const size_t question = target.find('?');
  if (question == std::string_view::npos) return {target, {}};
  return {target.substr(0, question), target.substr(question + 1)};
}

// The first value of a query parameter, percent-decoded; nullopt when absent or malformed.
std::optional<std::string> query_value(std::string_view query, std::string_view name) {
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const size_t equals = pair.find('=');
    if (pair.substr(0, equals) == name && equals != std::string_view::npos) {
      return percent_decode(pair.substr(equals + 1));
    }
    if (amp == std::string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return std::nullopt;
}

HttpResponse text_response(const HttpRequest& request, http::status status, std::string body,
                           const char* content_type) {
  HttpResponse response{status, request.version()};
  response.set(http::field::server, "update-server");
  response.set(http::field::content_type, content_type);
  response.set(http::field::cache_control, "no-store");
  response.keep_alive(request.keep_alive());
  response.body() = std::move(body);
  response.prepare_payload();
  // A HEAD reply tells the length of what GET would send, and sends nothing.
  if (request.method() == http::verb::head) response.body().clear();
  return response;
}

Reply reply_of(HttpResponse response, std::string key_seen = {}) {
  Reply reply;
  reply.head = std::move(response);
  reply.key_seen = std::move(key_seen);
  return reply;
}

Reply method_not_allowed(const HttpRequest& request, const char* allowed) {
  HttpResponse response = text_response(request, http::status::method_not_allowed,
                                        "method not allowed\n", "text/plain");
  response.set(http::field::allow, allowed);
  return reply_of(std::move(response));
}

bool is_get_or_head(const HttpRequest& request) {
  return request.method() == http::verb::get || request.method() == http::verb::head;
}

Reply check(const HttpRequest& request, const Catalog& catalog) {
  if (request.method() != http::verb::post) return method_not_allowed(request, "POST");
  CheckAnswer answer = answer_check(catalog, request.body());
  return reply_of(text_response(request, http::status::ok, std::move(answer.reply), json_type),
                  std::move(answer.key_seen));
}

Reply notes(const HttpRequest& request, const Catalog& catalog, std::string_view query) {
  if (!is_get_or_head(request)) return method_not_allowed(request, "GET, HEAD");
  const std::optional<std::string> key = query_value(query, "key");
  const ProductRelease* product = key ? catalog.find_by_key(*key) : nullptr;
  std::string body = product ? product->notes_reply : refusal_reply(msg_bad_parameter);
  return reply_of(text_response(request, http::status::ok, std::move(body), json_type),
                  key.value_or(std::string()));
}

Reply health(const HttpRequest& request, const Catalog& catalog) {
  if (!is_get_or_head(request)) return method_not_allowed(request, "GET, HEAD");
  std::string body = "{\"status\":\"ok\",\"products\":[";
  for (size_t i = 0; i < catalog.products().size(); ++i) {
    const ProductRelease& product = *catalog.products()[i];
    if (i > 0) body += ",";
    body += "{\"id\":\"" + product.settings.id +
            "\",\"files\":" + std::to_string(product.manifest->entries.size()) +
            ",\"generation\":" + std::to_string(product.generation) + "}";
  }
  body += "]}\n";
  return reply_of(text_response(request, http::status::ok, std::move(body), json_type));
}

Reply not_found(const HttpRequest& request) {
  return reply_of(text_response(request, http::status::not_found, "not found\n", "text/plain"));
}

// Only files of the manifest are served, looked up by their exact release
// path, so no spelling of a path can reach anything else.
Reply file(const HttpRequest& request, const Catalog& catalog, std::string_view raw_path) {
  if (!is_get_or_head(request)) return method_not_allowed(request, "GET, HEAD");
  const std::optional<std::string> path =
      percent_decode(raw_path.substr(std::string_view(files_route).size()));
  if (!path || path->find('\0') != std::string::npos) {
    return reply_of(text_response(request, http::status::bad_request, "bad path\n", "text/plain"));
  }
  const size_t slash = path->find('/');
  const ProductRelease* product =
      slash == std::string::npos ? nullptr : catalog.find_by_id(path->substr(0, slash));
  const ManifestEntry* entry =
      product ? product->manifest->find_release_path(path->substr(slash + 1)) : nullptr;
  if (entry == nullptr) return not_found(request);

  const std::string disk_path =
      product->manifest->listing.real_root + "/" + entry->source.release_path;
  UniqueFd fd(::open(disk_path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info {};
  if (!fd.is_open() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size <= 0) {
    return not_found(request);
  }
  Reply reply;
  reply.head = HttpResponse{http::status::ok, request.version()};
  reply.head.set(http::field::server, "update-server");
  reply.head.set(http::field::content_type, "application/octet-stream");
  reply.head.keep_alive(request.keep_alive());
  reply.head.content_length(static_cast<uint64_t>(info.st_size));
  reply.file_size = static_cast<uint64_t>(info.st_size);
  if (request.method() == http::verb::get) reply.file = std::move(fd);
  return reply;
}

}  // namespace

Reply Router::route(const HttpRequest& request) const {
  const std::shared_ptr<const Catalog> catalog = catalogs_.get();
  const std::string_view target(request.target().data(), request.target().size());
  const Target parts = split_target(target);
  if (parts.path == check_route) return check(request, *catalog);
  if (parts.path == notes_route) return notes(request, *catalog, parts.query);
  if (parts.path == health_route) return health(request, *catalog);
  if (parts.path.substr(0, std::string_view(files_route).size()) == files_route) {
    return file(request, *catalog, parts.path);
  }
  return not_found(request);
}

HttpResponse error_response(http::status status, unsigned version, bool keep_alive) {
  HttpResponse response{status, version};
  response.set(http::field::server, "update-server");
  response.set(http::field::content_type, "text/plain");
  response.keep_alive(keep_alive);
  response.body() = std::string(http::obsolete_reason(status)) + "\n";
  response.prepare_payload();
  return response;
}

}  // namespace velmo::server
