#pragma once
// The request side of the one-call web request: method, time-outs and the
// header text with its browser-like default lines.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

struct HeaderField {
  std::string name;
  std::string value;
  bool operator==(const HeaderField& other) const {
    return name == other.name && value == other.value;
  }
};

// The method names by index; an index outside 0 to 7 counts as 0 ("GET").
inline constexpr int method_post = 1;
int request_method_index(int method);
std::string_view request_method_name(int method);

// Milliseconds for each of the four time-outs (resolve, connect, send,
// receive): none for -1 (the platform's defaults stay), 15000 for 0 or less,
// otherwise the seconds times 1000.
std::optional<int> request_timeout_ms(int timeout_seconds);

// Completes the caller's header text with the default lines whose keys
// ("Accept:", "Referer:", "Accept-Language:", "User-Agent:" and, for POST,
// "Content-Type:") do not occur in it, case-sensitively, in that order.
std::string complete_request_headers(std::string_view headers, std::string_view url, int method);

// The part of a header line before / after its first ":", trimmed; empty
// when the line has no ":".
std::string header_line_name(std::string_view line);
std::string header_line_value(std::string_view line);

// The fields of a header text, one per non-empty "\r\n"-separated line, in
// order. A line without a name (no ":", or nothing before it) is left out.
std::vector<HeaderField> request_header_fields(std::string_view headers);

}  // namespace velmo
