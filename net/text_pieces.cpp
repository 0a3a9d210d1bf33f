#include "net/text_pieces.h"

#include "util/text_search.h"

namespace velmo {
namespace {

constexpr char full_width_space[] = "\xA1\xA1";  // "　"

bool is_lead_byte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value >= 0x81 && value <= 0xFE;
}

// Length in bytes of the character at `i`: 2 for a GBK double-byte
// character, 1 otherwise (a lone lead byte at the end counts as one).
size_t character_length(std::string_view text, size_t i) {
  return is_lead_byte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

bool is_space_at(std::string_view text, size_t i, size_t length) {
  if (length == 1) return text[i] == ' ';
  return text.substr(i, 2) == full_width_space;
}

// "#引号" in GBK: the marker that stands for a double quotation mark.
constexpr std::string_view quote_marker = "#\xD2\xFD\xBA\xC5";

std::string with_quotes(std::string_view marker) { return replace_all(marker, quote_marker, "\""); }

size_t start_index(int start) { return start > 1 ? static_cast<size_t>(start) - 1 : 0; }

}  // namespace

std::string trim_spaces(std::string_view text) {
  size_t first = text.size();
  size_t end = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t length = character_length(text, i);
    if (!is_space_at(text, i, length)) {
      if (first == text.size()) first = i;
      end = i + length;
    }
    i += length;
  }
  return first < end ? std::string(text.substr(first, end - first)) : std::string();
}

std::string remove_spaces(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = character_length(text, i);
    if (!is_space_at(text, i, length)) kept.append(text.substr(i, length));
    i += length;
  }
  return kept;
}

size_t find_text(std::string_view text, std::string_view needle, size_t from, bool ignore_case) {
  if (from > text.size()) return std::string_view::npos;
  if (!ignore_case) return text.find(needle, from);
  return ascii_lower(text).find(ascii_lower(needle), from);
}

std::string text_before(std::string_view text, std::string_view marker, int start,
                        bool ignore_case) {
  const size_t found = find_text(text, marker, start_index(start), ignore_case);
  return found == std::string_view::npos ? std::string() : std::string(text.substr(0, found));
}

std::string text_between(std::string_view text, std::string_view left, std::string_view right,
                         int start, bool ignore_case) {
  const std::string left_marker = with_quotes(left);
  const std::string right_marker = with_quotes(right);
  const size_t found_left = find_text(text, left_marker, start_index(start), ignore_case);
  if (found_left == std::string_view::npos) return {};
  const size_t from = found_left + left_marker.size();
  const size_t found_right = find_text(text, right_marker, from, ignore_case);
  if (found_right == std::string_view::npos) return {};
  return std::string(text.substr(from, found_right - from));
}

std::vector<std::string> split_text(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {std::string(text)};
  size_t from = 0;
  while (from < text.size()) {
    const size_t found = text.find(separator, from);
    if (found == std::string_view::npos) {
      pieces.emplace_back(text.substr(from));
      break;
    }
    pieces.emplace_back(text.substr(from, found - from));
    from = found + separator.size();
  }
  return pieces;
}

std::string replace_all(std::string_view text, std::string_view from, std::string_view to,
                        bool ignore_case) {
  if (from.empty()) return std::string(text);
  const std::string haystack = ignore_case ? ascii_lower(text) : std::string(text);
  const std::string needle = ignore_case ? ascii_lower(from) : std::string(from);
  std::string result;
  size_t copied = 0;
  for (size_t found = haystack.find(needle); found != std::string::npos;
       found = haystack.find(needle, copied)) {
    result.append(text.substr(copied, found - copied)).append(to);
    copied = found + needle.size();
  }
  result.append(text.substr(copied));
  return result;
}

}  // namespace velmo
