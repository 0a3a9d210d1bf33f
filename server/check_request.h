#pragma once
// The update-check request body as the updater builds it:
//   key=<access key>&list=[{"pathName": "<percent-encoded UTF-8 path>","md5": "<digest>"},...]
// It is not form-encoded: only the paths are percent-encoded, the key is sent as it is.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmo::server {

struct CheckBody {
  std::optional<std::string_view> key;   // absent when the body does not start with "key="
  std::optional<std::string_view> list;  // the text after "&list=", which must follow the key
};

CheckBody split_check_body(std::string_view body);

// What the updater has: path_key of each listed path -> its lower-case digest.
using Inventory = std::unordered_map<std::string, std::string>;

// Reads the JSON list. nullopt when it cannot be read: not a JSON array of
// objects with string members pathName and md5, a path that is not cleanly
// percent-encoded or holds a NUL byte, or a digest that is not 32 hex digits.
// A path listed twice keeps its first digest.
std::optional<Inventory> read_inventory(std::string_view list_json);

}  // namespace velmo::server
