#include "net/raw_header_queries.h"

#include <algorithm>

namespace velmo {
namespace {

constexpr std::string_view line_end = "\r\n";

// From `start` (clamped to the text) up to the next line end.
std::string rest_of_line(std::string_view headers, size_t start) {
  if (start >= headers.size()) return {};
  const size_t end = headers.find(line_end, start);
  return std::string(headers.substr(start, end == std::string_view::npos ? end : end - start));
}

// The cookie piece that starts at `start`: up to and including the first ";"
// of its line and the character after it, or to the line end.
std::string cookie_piece(std::string_view headers, size_t start) {
  if (start >= headers.size()) return {};
  const size_t end = std::min(headers.find(line_end, start), headers.size());
  const size_t semicolon = headers.find(';', start);
  if (semicolon >= end) return std::string(headers.substr(start, end - start));
  return std::string(headers.substr(start, std::min(semicolon + 2, headers.size()) - start));
}

std::string cookie_value(std::string_view piece) {
  const size_t equals = piece.find('=');
  if (equals == std::string_view::npos) return {};
  const size_t semicolon = piece.find(';', equals);
  const size_t end = semicolon == std::string_view::npos ? piece.size() : semicolon;
  return std::string(piece.substr(equals + 1, end - equals - 1));
}

std::string cut_end(std::string text, int cut) {
  if (cut > 0) text.resize(text.size() - std::min(text.size(), static_cast<size_t>(cut)));
  return text;
}

}  // namespace

std::string raw_header_value(std::string_view headers, std::string_view name) {
  if (name.empty()) return std::string(headers);
  const std::string key = std::string(name) + ":";
  const size_t found = headers.find(key);
  if (found == std::string_view::npos) return std::string(headers);
  return rest_of_line(headers, found + key.size() + 1);
}

std::string raw_header_location(std::string_view headers) {
  constexpr std::string_view key = "Location";
  const size_t found = headers.find(key);
  if (found == std::string_view::npos) return {};
  return rest_of_line(headers, found + key.size() + 2);
}

std::string raw_header_cookie(std::string_view headers, std::string_view name, bool value_only,
                              int cut) {
  constexpr std::string_view key = "Set-Cookie";
  std::string all_pieces;
  for (size_t found = headers.find(key); found != std::string_view::npos;
       found = headers.find(key, found + key.size())) {
    const std::string piece = cookie_piece(headers, found + key.size() + 2);
    if (std::string_view(piece).substr(0, piece.find('=')) == name) {
      return cut_end(value_only ? cookie_value(piece) : piece, cut);
    }
    all_pieces += piece;
  }
  return cut_end(all_pieces, cut);
}

double header_number(std::string_view value) {
  size_t i = value.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  const bool negative = value[i] == '-';
  if (value[i] == '-' || value[i] == '+') ++i;
  double number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    number = number * 10 + (value[i] - '0');
  }
  if (i < value.size() && value[i] == '.') {
    double scale = 0.1;
    for (++i; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i, scale /= 10) {
      number += (value[i] - '0') * scale;
    }
  }
  return negative ? -number : number;
}

std::int64_t byte_count(double number) {
  constexpr double largest = 9.2e18;  // below 2^63, exactly representable
  if (!(number > 0)) return 0;
  if (number >= largest) return static_cast<std::int64_t>(largest);
  return static_cast<std::int64_t>(number);
}

}  // namespace velmo
