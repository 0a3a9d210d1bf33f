#pragma once
// What the server is told by its configuration file and its flags.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "server/name_patterns.h"

namespace velmo::server {

inline constexpr const char* default_listen_address = "127.0.0.1";
inline constexpr uint16_t default_port = 47613;

struct ServerSettings {
  std::string listen_address = default_listen_address;
  uint16_t port = default_port;  // 0 picks a free port (tests)
  std::string public_url;        // empty: http://<listen>:<port>
  unsigned threads = 0;          // 0: one per core
  size_t max_body_bytes = 16 * 1024 * 1024;
  unsigned request_timeout_seconds = 20;  // for a whole request to arrive
  unsigned send_timeout_seconds = 30;     // without progress while sending
  unsigned rescan_interval_seconds = 2;   // 0: rescan on SIGHUP only
  std::string access_log = "-";           // "-" standard error, "off", or a file
};

// One product or channel: what one access key is served.
struct ProductSettings {
  std::string id;   // names the product in file URLs and logs
  std::string key;  // the access key the updater sends
  std::string release_dir;
  std::string notes_file;  // UTF-8 text; empty: no release notes
  bool updates_enabled = true;
  std::string download_base;  // empty: <public_url>/files/<id>
  std::vector<std::string> excluded = default_excluded_patterns();
  bool excluded_given = false;  // the first exclude replaces the defaults
};

struct Settings {
  ServerSettings server;
  std::vector<ProductSettings> products;
};

// Each applies one "name = value" setting; the result is an error text, empty on success.
std::string apply_server_setting(ServerSettings& server, const std::string& name,
                                 const std::string& value, const std::string& base_dir);
std::string apply_product_setting(ProductSettings& product, const std::string& name,
                                  const std::string& value, const std::string& base_dir);

// Checks the whole and fills in the thread count; an error text or empty.
std::string complete_settings(Settings& settings);

// Download addresses default to the server's own file route, which is known
// once the listening port is.
void fill_public_urls(Settings& settings, uint16_t bound_port);

}  // namespace velmo::server
