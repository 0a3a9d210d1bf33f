#include "server/check_answer.h"

#include "server/check_request.h"
#include "server/replies.h"

namespace velmo::server {
namespace {

std::string list_out_of_date(const Manifest& manifest, const Inventory& inventory) {
  ListReply list;
  for (const ManifestEntry& entry : manifest.entries) {
    const auto held = inventory.find(entry.key);
    if (held == inventory.end() || held->second != entry.md5) {
      list.add(entry.list_item);
    }
  }
  if (list.empty()) return refusal_reply(msg_up_to_date);
  return list.finish();
}

}  // namespace

CheckAnswer answer_check(const Catalog& catalog, std::string_view body) {
  const CheckBody parts = split_check_body(body);
  CheckAnswer answer;
  if (parts.key) answer.key_seen = std::string(*parts.key);
  const ProductRelease* product = parts.key ? catalog.find_by_key(*parts.key) : nullptr;
  if (product == nullptr) {
    answer.reply = refusal_reply(msg_bad_parameter);
  } else if (!product->settings.updates_enabled) {
    answer.reply = refusal_reply(msg_switched_off);
  } else if (const auto inventory = parts.list ? read_inventory(*parts.list) : std::nullopt) {
    answer.reply = list_out_of_date(*product->manifest, *inventory);
  } else {
    answer.reply = refusal_reply(msg_bad_data);
  }
  return answer;
}

}  // namespace velmo::server
