#include "server/release_notes.h"

#include <fstream>
#include <sstream>

#include "server/json_text.h"
#include "server/utf8.h"

namespace velmo::server {

std::optional<std::string> prepare_notes(std::string_view utf8) {
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  if (utf8.find_first_not_of(" \t\r\n") == std::string_view::npos) return std::nullopt;
  std::string notes;
  notes.reserve(utf8.size() + utf8.size() / 16);
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) notes.push_back('\r');
    notes.push_back(utf8[i]);
  }
  return notes;
}

std::string notes_reply(const std::optional<std::string>& notes) {
  if (!notes) return "{\"state\":0,\"msg\":\"\"}";
  std::string reply = "{\"state\":1,\"msg\":";
  append_ascii_json_string(reply, *notes);
  reply += "}";
  return reply;
}

std::optional<std::string> read_notes_file(const std::string& path, std::string& error) {
  error.clear();
  if (path.empty()) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": the release notes cannot be read";
    return std::nullopt;
  }
  std::ostringstream contents;
  contents << file.rdbuf();
  const std::string text = contents.str();
  if (!is_valid_utf8(text)) error = path + ": not UTF-8; bad bytes are shown as U+FFFD";
  return prepare_notes(text);
}

}  // namespace velmo::server
