#pragma once
// Answers an update check from one catalog snapshot.
#include <string>
#include <string_view>

#include "server/catalog.h"

namespace velmo::server {

struct CheckAnswer {
  std::string reply;     // the JSON text
  std::string key_seen;  // the key the body named, for the access log
};

// Lists every file of the release that the updater lacks or holds with
// another digest; refusals carry the texts the updater knows.
CheckAnswer answer_check(const Catalog& catalog, std::string_view body);

}  // namespace velmo::server
