#pragma once
// Cookie texts ("name=value" items joined by "; ") carried from request to
// request: the cookies that a response set are folded into the ones sent.
#include <string>
#include <string_view>

namespace velmo {

// The part of a cookie item before its first "=", trimmed; the whole item,
// trimmed, when it holds no "=".
std::string cookie_name(std::string_view item);

// Merges the cookies that a response set (`new_cookies`) into the cookies
// that went out (`cookies`): newer values replace older ones of the same
// name, items ending in "=deleted" disappear together with their older
// values, and repeated items are dropped. Every space is removed first.
// `cookies` is replaced by the merged text, which is also the result.
std::string merge_cookies(std::string& cookies, std::string_view new_cookies);

}  // namespace velmo
