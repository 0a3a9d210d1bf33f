#include "server/settings.h"

#include <limits>
#include <set>
#include <thread>

namespace velmo::server {
namespace {

bool parse_unsigned(const std::string& text, unsigned long long maximum,
                    unsigned long long& value) {
  if (text.empty() || text.size() > 19) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned long long>(c - '0');
  }
  return value <= maximum;
}

template <typename Number>
std::string set_number(Number& target, const std::string& name, const std::string& value,
                       unsigned long long minimum, unsigned long long maximum) {
  unsigned long long parsed = 0;
  if (!parse_unsigned(value, maximum, parsed) || parsed < minimum) {
    return name + " must be a whole number from " + std::to_string(minimum) + " to " +
           std::to_string(maximum);
  }
  target = static_cast<Number>(parsed);
  return {};
}

// A byte count with an optional K, M or G (powers of 1024).
std::string set_size(size_t& target, const std::string& name, const std::string& value) {
  std::string digits = value;
  unsigned long long unit = 1;
  if (!digits.empty()) {
    const char suffix = digits.back();
    const unsigned long long units[] = {1ULL << 10, 1ULL << 20, 1ULL << 30};
    const std::string suffixes = "KMG";
    const size_t which = suffixes.find(static_cast<char>(suffix & ~0x20));
    if (which != std::string::npos) {
      unit = units[which];
      digits.pop_back();
    }
  }
  unsigned long long parsed = 0;
  if (!parse_unsigned(digits, (1ULL << 40) / unit, parsed) || parsed * unit < 1024) {
    return name + " must be a size of at least 1024 bytes, such as 16M";
  }
  target = static_cast<size_t>(parsed * unit);
  return {};
}

std::string set_switch(bool& target, const std::string& name, const std::string& value) {
  static const std::set<std::string> on = {"on", "yes", "true", "1"};
  static const std::set<std::string> off = {"off", "no", "false", "0"};
  if (on.count(value)) {
    target = true;
  } else if (off.count(value)) {
    target = false;
  } else {
    return name + " must be on or off";
  }
  return {};
}

std::string resolve_path(const std::string& path, const std::string& base_dir) {
  if (path.empty() || path.front() == '/' || base_dir.empty()) return path;
  return base_dir + "/" + path;
}

std::string without_trailing_slash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

bool is_http_url(const std::string& url) {
  return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

bool is_plain_token(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && c != '-' && c != '_' && c != '.' && c != '~') return false;
  }
  return text != "." && text != "..";
}

std::string set_url(std::string& target, const std::string& name, const std::string& value) {
  if (!is_http_url(value)) return name + " must start with http:// or https://";
  target = without_trailing_slash(value);
  return {};
}

std::string check_product(const ProductSettings& product) {
  const std::string where = "product " + product.id + ": ";
  if (!is_plain_token(product.id)) {
    return "product name \"" + product.id + "\" may hold only letters, digits and -_.~";
  }
  if (!is_plain_token(product.key)) {
    return where + "key is missing or holds characters other than letters, digits and -_.~";
  }
  if (product.release_dir.empty()) return where + "release is missing";
  return {};
}

}  // namespace

std::string apply_server_setting(ServerSettings& server, const std::string& name,
                                 const std::string& value, const std::string& base_dir) {
  if (name == "listen") {
    if (value.empty()) return "listen must name an address";
    server.listen_address = value;
    return {};
  }
  if (name == "port") return set_number(server.port, name, value, 0, 65535);
  if (name == "public_url") return set_url(server.public_url, name, value);
  if (name == "threads") return set_number(server.threads, name, value, 1, 256);
  if (name == "max_body") return set_size(server.max_body_bytes, name, value);
  if (name == "request_timeout") {
    return set_number(server.request_timeout_seconds, name, value, 1, 3600);
  }
  if (name == "send_timeout") return set_number(server.send_timeout_seconds, name, value, 1, 3600);
  if (name == "rescan_interval") {
    return set_number(server.rescan_interval_seconds, name, value, 0, 86400);
  }
  if (name == "access_log") {
    server.access_log = (value == "-" || value == "off") ? value : resolve_path(value, base_dir);
    return value.empty() ? "access_log must be -, off or a file" : "";
  }
  return "unknown server setting " + name;
}

std::string apply_product_setting(ProductSettings& product, const std::string& name,
                                  const std::string& value, const std::string& base_dir) {
  if (name == "key") {
    product.key = value;
  } else if (name == "release") {
    product.release_dir = resolve_path(value, base_dir);
  } else if (name == "notes") {
    product.notes_file = resolve_path(value, base_dir);
  } else if (name == "updates") {
    return set_switch(product.updates_enabled, name, value);
  } else if (name == "download_base") {
    return set_url(product.download_base, name, value);
  } else if (name == "exclude") {
    if (!product.excluded_given) product.excluded.clear();
    product.excluded_given = true;
    if (!value.empty()) product.excluded.push_back(value);
  } else {
    return "unknown product setting " + name;
  }
  return {};
}

std::string complete_settings(Settings& settings) {
  ServerSettings& server = settings.server;
  if (server.threads == 0) server.threads = std::max(1u, std::thread::hardware_concurrency());
  if (settings.products.empty()) {
    return "no product is configured: give --key and --release, or --config FILE";
  }
  std::set<std::string> ids;
  std::set<std::string> keys;
  for (ProductSettings& product : settings.products) {
    if (std::string error = check_product(product); !error.empty()) return error;
    if (!ids.insert(product.id).second) return "product " + product.id + " is configured twice";
    if (!keys.insert(product.key).second) {
      return "product " + product.id + ": its key is already another product's";
    }
  }
  return {};
}

void fill_public_urls(Settings& settings, uint16_t bound_port) {
  ServerSettings& server = settings.server;
  if (server.public_url.empty()) {
    server.public_url = "http://" + server.listen_address + ":" + std::to_string(bound_port);
  }
  for (ProductSettings& product : settings.products) {
    if (product.download_base.empty()) {
      product.download_base = server.public_url + "/files/" + product.id;
    }
  }
}

}  // namespace velmo::server
