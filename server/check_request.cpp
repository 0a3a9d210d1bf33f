#include "server/check_request.h"

#include <simdjson.h>

#include "server/published_path.h"
#include "server/url_codec.h"

namespace velmo::server {
namespace {

constexpr std::string_view key_prefix = "key=";
constexpr std::string_view list_prefix = "&list=";
constexpr size_t reused_parser_limit = 2 * 1024 * 1024;

std::optional<std::string> lower_digest(std::string_view text) {
  if (text.size() != 32) return std::nullopt;
  std::string digest(text);
  for (char& c : digest) {
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    if (!hex) return std::nullopt;
  }
  return digest;
}

bool add_entry(simdjson::dom::element item, Inventory& inventory) {
  simdjson::dom::object entry;
  std::string_view encoded_path;
  std::string_view digest_text;
  if (item.get_object().get(entry) != simdjson::SUCCESS ||
      entry["pathName"].get_string().get(encoded_path) != simdjson::SUCCESS ||
      entry["md5"].get_string().get(digest_text) != simdjson::SUCCESS) {
    return false;
  }
  const std::optional<std::string> path = percent_decode(encoded_path);
  const std::optional<std::string> digest = lower_digest(digest_text);
  if (!path || !digest || path->find('\0') != std::string::npos) return false;
  inventory.emplace(path_key(*path), *digest);
  return true;
}

}  // namespace

CheckBody split_check_body(std::string_view body) {
  CheckBody parts;
  if (body.substr(0, key_prefix.size()) != key_prefix) return parts;
  const std::string_view rest = body.substr(key_prefix.size());
  const size_t key_end = rest.find('&');
  parts.key = rest.substr(0, key_end);
  if (key_end != std::string_view::npos &&
      rest.substr(key_end, list_prefix.size()) == list_prefix) {
    parts.list = rest.substr(key_end + list_prefix.size());
  }
  return parts;
}

std::optional<Inventory> read_inventory(std::string_view list_json) {
  // A parser keeps buffers sized to the largest text it has read. One per
  // thread serves ordinary lists; a rare large one gets its own, freed after.
  thread_local simdjson::dom::parser reused_parser;
  simdjson::dom::parser large_parser;
  simdjson::dom::parser& parser =
      list_json.size() <= reused_parser_limit ? reused_parser : large_parser;
  const simdjson::padded_string padded(list_json);
  simdjson::dom::array items;
  if (parser.parse(padded).get_array().get(items) != simdjson::SUCCESS) return std::nullopt;
  Inventory inventory;
  inventory.reserve(items.size());
  for (simdjson::dom::element item : items) {
    if (!add_entry(item, inventory)) return std::nullopt;
  }
  return inventory;
}

}  // namespace velmo::server
