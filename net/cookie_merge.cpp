#include "net/cookie_merge.h"

#include <algorithm>
#include <set>
#include <vector>

#include "net/text_pieces.h"

namespace velmo {
namespace {

constexpr std::string_view deleted_suffix = "=deleted";
constexpr std::string_view item_separator = "; ";

bool is_deleted(std::string_view item) {
  return item.size() >= deleted_suffix.size() &&
         item.substr(item.size() - deleted_suffix.size()) == deleted_suffix;
}

// The items of `new_cookies`, then each older item whose name is not yet taken.
std::vector<std::string> newest_first(std::string_view cookies, std::string_view new_cookies) {
  std::vector<std::string> items = split_text(remove_spaces(new_cookies), ";");
  for (std::string& old_item : split_text(remove_spaces(cookies), ";")) {
    const std::string name = cookie_name(old_item);
    const bool taken = std::any_of(items.begin(), items.end(), [&](const std::string& item) {
      return cookie_name(item) == name;
    });
    if (!taken) items.push_back(std::move(old_item));
  }
  return items;
}

std::string join_live_items(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    if (!is_deleted(item)) text.append(item).append(item_separator);
  }
  if (!text.empty()) text.resize(text.size() - item_separator.size());
  return text;
}

std::string without_repeats(std::string_view text) {
  std::set<std::string> seen;
  std::string kept;
  for (std::string& item : split_text(text, item_separator)) {
    if (!seen.insert(item).second) continue;
    if (seen.size() > 1) kept.append(item_separator);
    kept.append(item);
  }
  return kept;
}

}  // namespace

std::string cookie_name(std::string_view item) {
  return trim_spaces(item.substr(0, item.find('=')));
}

std::string merge_cookies(std::string& cookies, std::string_view new_cookies) {
  cookies = without_repeats(join_live_items(newest_first(cookies, new_cookies)));
  return cookies;
}

}  // namespace velmo
