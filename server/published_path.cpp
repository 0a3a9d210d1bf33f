#include "server/published_path.h"

#include <array>
#include <vector>

#include "server/gbk_text.h"
#include "server/utf8.h"

namespace velmo::server {
namespace {

std::vector<std::string_view> split_segments(std::string_view path) {
  std::vector<std::string_view> segments;
  size_t start = 0;
  while (true) {
    const size_t slash = path.find('/', start);
    segments.push_back(path.substr(start, slash - start));
    if (slash == std::string_view::npos) return segments;
    start = slash + 1;
  }
}

bool is_refused_character(unsigned char c) {
  static const std::string_view refused = "\\:*?\"<>|";
  return c < 0x20 || c == 0x7F || refused.find(static_cast<char>(c)) != std::string_view::npos;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, with any extension.
bool is_device_name(std::string_view segment) {
  const std::string stem = ascii_lower_utf8(segment.substr(0, segment.find('.')));
  static const std::array<std::string_view, 4> plain = {"con", "prn", "aux", "nul"};
  for (std::string_view name : plain) {
    if (stem == name) return true;
  }
  const bool numbered =
      stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0);
  return numbered && stem[3] >= '1' && stem[3] <= '9';
}

std::string segment_problem(std::string_view segment) {
  if (segment.empty()) return "a name is empty";
  if (segment == "." || segment == "..") return "a name is . or ..";
  for (char c : segment) {
    if (is_refused_character(static_cast<unsigned char>(c))) {
      return "a name holds a character that Windows refuses";
    }
  }
  if (segment.back() == '.' || segment.back() == ' ') return "a name ends with a dot or a blank";
  if (is_device_name(segment)) return "a name is a Windows device name";
  return {};
}

// The updater sees the path in GBK; it must come back unchanged, and no GBK
// trail byte may look like a backslash or "|" to byte-wise checks.
std::string gbk_problem(std::string_view utf8_path) {
  if (!is_valid_utf8(utf8_path)) return "the path is not UTF-8";
  const std::optional<std::string> gbk = utf8_to_gbk(utf8_path);
  if (!gbk || gbk_to_utf8(*gbk) != utf8_path) return "the path holds a character that GBK lacks";
  if (gbk->find_first_of("\\|") != std::string::npos) {
    return "the path holds a GBK character with a backslash or | byte";
  }
  return {};
}

}  // namespace

PublishedPath publish_release_path(std::string_view release_path) {
  const std::vector<std::string_view> segments = split_segments(release_path);
  size_t climbs = 0;
  while (climbs + 1 < segments.size() && segments[climbs] == parent_directory_name) ++climbs;

  std::string rest;
  for (size_t i = climbs; i < segments.size(); ++i) {
    std::string problem = segment_problem(segments[i]);
    if (!problem.empty()) return {{}, std::move(problem)};
    if (i > climbs) rest.push_back('/');
    rest.append(segments[i]);
  }
  if (std::string problem = gbk_problem(rest); !problem.empty()) return {{}, std::move(problem)};

  std::string published;
  for (size_t i = 0; i < climbs; ++i) published += "../";
  return {published + rest, {}};
}

std::string path_key(std::string_view path) {
  std::string key = ascii_lower_utf8(path);
  for (char& c : key) {
    if (c == '\\') c = '/';
  }
  if (!key.empty() && key.front() == '/') key.erase(0, 1);
  return key;
}

}  // namespace velmo::server
